// Directory search over POSIX directories, made to answer like the Windows
// search so that the code above it works the same on both systems, and a
// directory's identity from lstat.
//
// Paths: a backslash is a separator like the slash, so "/home/u/Mail\Inbox\*"
// searches /home/u/Mail/Inbox; a name that itself holds a backslash cannot be
// written as such a path and is left out.
// Attributes: a directory has the directory bit; a symbolic link is reported
// as a reparse point without the directory bit, so that it is never walked
// into, nor identified as a directory; a device, pipe or socket is a system
// entry; a name that begins with "." (other than "." and "..") is hidden; an
// entry without write permission for its owner is read-only; an entry with
// no such bit is "normal".
// Patterns: * and ? as on Windows, letters A to Z compared without regard to
// case, and "*.*" fits every name, one without a dot as well.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <string_view>

#include "base/Ascii.h"
#include "platform/DirSearch.h"

namespace quillet::platform {
namespace {

// Wildcard match with a single backtracking point: on a mismatch the last "*"
// takes one more character. Time is at most the product of the two lengths.
bool Fits(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0;
  size_t star = std::string_view::npos, starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      starName = n;
    } else if (p < pattern.size() &&
               (pattern[p] == '?' || AsciiUpper(pattern[p]) == AsciiUpper(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

uint32_t AttributesOf(std::string_view name, const struct stat& status) {
  uint32_t attributes = 0;
  if (S_ISDIR(status.st_mode)) {
    attributes |= kAttributeDirectory;
  } else if (S_ISLNK(status.st_mode)) {
    attributes |= kAttributeReparsePoint;
  } else if (!S_ISREG(status.st_mode)) {
    attributes |= kAttributeSystem;
  }
  if (name.starts_with('.') && name != "." && name != "..") attributes |= kAttributeHidden;
  if ((status.st_mode & S_IWUSR) == 0) attributes |= kAttributeReadOnly;
  return attributes == 0 ? kAttributeNormal : attributes;
}

// Closes the directory however the walk over it ends.
struct DirectoryHandle {
  DIR* dir;
  ~DirectoryHandle() {
    if (dir != nullptr) closedir(dir);
  }
};

// The native form of a directory of a search path: backslashes are slashes,
// and no directory is the current one.
std::string NativeDirectory(std::string directory) {
  if (directory.empty()) return "./";
  for (char& c : directory)
    if (c == '\\') c = '/';
  return directory;
}

}  // namespace

std::vector<DirEntry> SearchDirectory(const std::string& searchPath) {
  std::vector<DirEntry> entries;
  if (searchPath.find('\0') != std::string::npos) return entries;
  const size_t separator = searchPath.find_last_of("\\/");
  const size_t patternStart = separator == std::string::npos ? 0 : separator + 1;
  std::string_view pattern = std::string_view(searchPath).substr(patternStart);
  if (pattern.empty()) return entries;
  if (pattern == "*.*") pattern = "*";
  // A search path without a directory searches the current one, as on Windows.
  const std::string directory = NativeDirectory(searchPath.substr(0, patternStart));
  const DirectoryHandle search{opendir(directory.c_str())};
  if (search.dir == nullptr) return entries;
  while (const dirent* entry = readdir(search.dir)) {
    const std::string_view name = entry->d_name;
    if (name.find('\\') != std::string_view::npos || !Fits(pattern, name)) continue;
    struct stat status;
    if (fstatat(dirfd(search.dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
    entries.push_back({std::string(name), AttributesOf(name, status)});
  }
  return entries;
}

// Not following a link takes lstat and no separator at the end, which would
// make the system follow it.
bool IdentifyDirectory(const std::string& path, bool followLink, DirectoryIdentity& identity) {
  if (path.find('\0') != std::string::npos) return false;
  std::string native = NativeDirectory(path);
  while (!followLink && native.size() > 1 && native.back() == '/') native.pop_back();
  struct stat status;
  const int answer = followLink ? stat(native.c_str(), &status) : lstat(native.c_str(), &status);
  if (answer != 0 || !S_ISDIR(status.st_mode)) return false;
  identity = {static_cast<uint64_t>(status.st_dev), static_cast<uint64_t>(status.st_ino)};
  return true;
}

}  // namespace quillet::platform
