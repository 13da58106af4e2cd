// Directory entries on Windows: a directory search with the system's
// critical-error prompts switched off, so that a path on an empty drive
// answers "no such entry" instead of asking the user for a disk.
#include "platform/FileInfo.h"

#include <windows.h>

#include <algorithm>

namespace quillet::platform {
namespace {

// Searches for the entry named path, admitting every kind of entry; false
// when there is none. The caller's error mode is kept, with critical-error
// prompts added for the search only, and restored in every case.
bool FindEntry(const std::string& path, WIN32_FIND_DATAA& found) {
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
  SetErrorMode(previous | SEM_FAILCRITICALERRORS);
  const HANDLE search = FindFirstFileA(path.c_str(), &found);
  const bool exists = search != INVALID_HANDLE_VALUE;
  if (exists) FindClose(search);
  SetErrorMode(previous);
  return exists;
}

}  // namespace

bool EntryExists(const std::string& path) {
  WIN32_FIND_DATAA found;
  return FindEntry(path, found);
}

bool LastWriteLocalTime(const std::string& path, LocalTime& time) {
  WIN32_FIND_DATAA found;
  if (!FindEntry(path, found)) return false;
  // The system's own conversion, as the file-date functions use it: the
  // time zone's present bias.
  FILETIME local;
  SYSTEMTIME parts;
  if (!FileTimeToLocalFileTime(&found.ftLastWriteTime, &local) ||
      !FileTimeToSystemTime(&local, &parts))
    return false;
  time = {parts.wYear, parts.wMonth, parts.wDay, parts.wHour, parts.wMinute, parts.wSecond, 0};
  return true;
}

bool ReadFileStart(const std::string& path, size_t limit, std::string& bytes) {
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
  SetErrorMode(previous | SEM_FAILCRITICALERRORS);
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  SetErrorMode(previous);
  if (file == INVALID_HANDLE_VALUE) return false;
  bytes.assign(limit, '\0');
  size_t got = 0;
  bool ok = true;
  while (got < limit) {
    DWORD read = 0;
    const DWORD want = static_cast<DWORD>(std::min<size_t>(limit - got, 1u << 20));
    if (!ReadFile(file, bytes.data() + got, want, &read, nullptr)) {
      ok = false;
      break;
    }
    if (read == 0) break;
    got += read;
  }
  CloseHandle(file);
  bytes.resize(got);
  return ok;
}

}  // namespace quillet::platform
