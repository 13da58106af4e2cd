// Temporary files on Windows: GetTempPathA once at load, GetTempFileNameA's
// names for the placeholder, MoveFileExA for the replacing rename.
#include <windows.h>

#include "platform/TempFiles.h"

namespace quillet::platform {
namespace {

std::string ReadTemporaryDirectory() {
  char path[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof path, path);
  if (length == 0 || length > MAX_PATH) return {};
  return std::string(path, length);
}

// Read while the library is being loaded: GetTempPathA only reads the
// process's environment, which is safe under the loader lock.
const std::string gTemporaryDirectory = ReadTemporaryDirectory();

HANDLE Native(FileHandle file) {
  return reinterpret_cast<HANDLE>(file);
}

// WriteFile counts in a DWORD: larger writes go in pieces of this size.
constexpr size_t kLargestPiece = size_t{1} << 30;

// The numbers GetTempFileNameA writes into a name: four hexadecimal digits,
// 0 excluded.
constexpr UINT kUniqueNumbers = 0xFFFF;

}  // namespace

const std::string& TemporaryDirectory() {
  return gTemporaryDirectory;
}

// GetTempFileNameA only forms the name when given a number; the file is then
// created with CREATE_NEW, so that the handle that made it is the one
// written through. Deleting is shared, so that the file can be renamed.
bool CreateUniqueFile(const std::string& directory, const std::string& prefix, std::string& path,
                      FileHandle& file) {
  const UINT start = GetTickCount();
  for (UINT attempt = 0; attempt < kUniqueNumbers; ++attempt) {
    const UINT unique = (start + attempt) % kUniqueNumbers + 1;
    char name[MAX_PATH + 1];
    if (GetTempFileNameA(directory.c_str(), prefix.c_str(), unique, name) == 0) return false;
    const HANDLE handle = CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE,
                                      nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) {
      path = name;
      file = reinterpret_cast<FileHandle>(handle);
      return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

bool WriteAll(FileHandle file, const void* data, size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const DWORD piece = static_cast<DWORD>(size < kLargestPiece ? size : kLargestPiece);
    DWORD written = 0;
    if (!WriteFile(Native(file), bytes, piece, &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

bool CloseFile(FileHandle file) {
  return CloseHandle(Native(file)) != 0;
}

bool MoveReplacing(const std::string& from, const std::string& to) {
  return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool RemoveFile(const std::string& path) {
  return DeleteFileA(path.c_str()) != 0;
}

}  // namespace quillet::platform
