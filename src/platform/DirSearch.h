// Directory search by name pattern, with the attributes of what it finds: the
// operating system's own search where it has one, and the same behaviour over
// POSIX directories otherwise; and what tells one directory from another,
// whatever path leads to it.
#pragma once

#include <compare>
#include <cstdint>
#include <string>
#include <vector>

namespace quillet::platform {

// Attribute bits with the values the Windows file system gives them.
inline constexpr uint32_t kAttributeReadOnly = 0x01;
inline constexpr uint32_t kAttributeHidden = 0x02;
inline constexpr uint32_t kAttributeSystem = 0x04;
inline constexpr uint32_t kAttributeVolumeLabel = 0x08;
inline constexpr uint32_t kAttributeDirectory = 0x10;
inline constexpr uint32_t kAttributeNormal = 0x80;
inline constexpr uint32_t kAttributeReparsePoint = 0x400;

struct DirEntry {
  std::string name;
  uint32_t attributes;
};

// The entries of a directory whose names fit a pattern, in the order the
// system gives them. searchPath is the directory, a backslash and the pattern,
// in which * stands for any run of characters and ? for any one character;
// names are compared without regard to case and "*.*" fits every name. A
// directory that cannot be searched gives no entry.
std::vector<DirEntry> SearchDirectory(const std::string& searchPath);

// The same for every path that leads to one directory (through links,
// junctions or mounts): the volume serial number and file index on Windows,
// the device and inode number on POSIX.
struct DirectoryIdentity {
  uint64_t volume;
  uint64_t file;
  auto operator<=>(const DirectoryIdentity&) const = default;
};

// The identity of the directory named path (with or without a separator at
// its end; empty for the current directory); false when it cannot be read.
// Without followLink, a path that names a symbolic link is no directory on
// POSIX: a directory found by a search and swapped for a link since.
bool IdentifyDirectory(const std::string& path, bool followLink, DirectoryIdentity& identity);

}  // namespace quillet::platform
