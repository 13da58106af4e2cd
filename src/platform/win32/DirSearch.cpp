// Directory search through FindFirstFileA, FindNextFileA and FindClose, and
// a directory's identity from GetFileInformationByHandle.
#include "platform/DirSearch.h"

#include <windows.h>

namespace quillet::platform {
namespace {

// Closes the search however the walk over it ends.
struct SearchHandle {
  HANDLE handle;
  ~SearchHandle() {
    if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
  }
};

// Closes the directory however the reading of its identity ends.
struct FileHandle {
  HANDLE handle;
  ~FileHandle() {
    if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  }
};

}  // namespace

std::vector<DirEntry> SearchDirectory(const std::string& searchPath) {
  std::vector<DirEntry> entries;
  // The system reads the path up to a zero byte, so a path holding one would
  // search somewhere else.
  if (searchPath.find('\0') != std::string::npos) return entries;
  WIN32_FIND_DATAA found;
  const SearchHandle search{FindFirstFileA(searchPath.c_str(), &found)};
  if (search.handle == INVALID_HANDLE_VALUE) return entries;
  do {
    entries.push_back({found.cFileName, found.dwFileAttributes});
  } while (FindNextFileA(search.handle, &found));
  return entries;
}

// Links are followed: the walk tells a reparse point by its attributes and
// never enters one.
bool IdentifyDirectory(const std::string& path, bool, DirectoryIdentity& identity) {
  if (path.find('\0') != std::string::npos) return false;
  // No access is asked for: the identity is an attribute, and directories
  // open only with backup semantics.
  const FileHandle directory{CreateFileA(
      path.empty() ? "." : path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr)};
  BY_HANDLE_FILE_INFORMATION facts;
  if (directory.handle == INVALID_HANDLE_VALUE ||
      !GetFileInformationByHandle(directory.handle, &facts))
    return false;
  identity = {facts.dwVolumeSerialNumber,
              (uint64_t{facts.nFileIndexHigh} << 32) | facts.nFileIndexLow};
  return true;
}

}  // namespace quillet::platform
