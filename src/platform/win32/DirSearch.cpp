// Directory search through FindFirstFileA, FindNextFileA and FindClose.
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

}  // namespace quillet::platform
