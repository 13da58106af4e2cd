// The stamp file under Windows, at its fixed path, its last-write time set
// with SetFileTime from a local time that the system converts.
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "support/StampFile.h"

namespace quillet::conformance {

namespace fs = std::filesystem;

void StampFile::SetUp() {
  path_ = "c:\\Program Files\\Wrenmail\\adds\\wrp\\Quillet.WRP";
  fs::remove_all(path_);
}

void StampFile::TearDown() {
  fs::remove_all(path_);
}

void StampFile::Create() const {
  fs::create_directories(fs::path(path_).parent_path());
  std::ofstream(path_) << "stamp";
}

void StampFile::CreateFolder() const {
  fs::create_directories(path_);
}

void StampFile::Touch(int year, int month, int day, int hour, int minute, int second) const {
  const SYSTEMTIME parts{static_cast<WORD>(year),
                         static_cast<WORD>(month),
                         0,
                         static_cast<WORD>(day),
                         static_cast<WORD>(hour),
                         static_cast<WORD>(minute),
                         static_cast<WORD>(second),
                         0};
  FILETIME local, utc;
  ASSERT_TRUE(SystemTimeToFileTime(&parts, &local));
  ASSERT_TRUE(LocalFileTimeToFileTime(&local, &utc));
  const HANDLE file = CreateFileA(path_.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &utc));
  CloseHandle(file);
}

}  // namespace quillet::conformance
