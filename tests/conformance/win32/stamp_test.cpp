// The stamp file under Windows, at its fixed path, its last-write time set
// with SetFileTime from a local time that the system converts.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/SelfDescription.h"

namespace quillet::conformance {
namespace {

namespace fs = std::filesystem;

constexpr char kStampFolder[] = "c:\\Program Files\\Wrenmail\\adds\\wrp";
constexpr char kStampFile[] = "c:\\Program Files\\Wrenmail\\adds\\wrp\\Quillet.WRP";

class StampFile : public ::testing::Test {
 protected:
  void SetUp() override { fs::remove_all(kStampFile); }
  void TearDown() override { fs::remove_all(kStampFile); }

  static void CreateStamp() {
    fs::create_directories(kStampFolder);
    std::ofstream(kStampFile) << "stamp";
  }

  // Sets the stamp file's last-write time to a local time.
  static void Touch(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
    const SYSTEMTIME parts{year, month, 0, day, hour, minute, second, 0};
    FILETIME local, utc;
    ASSERT_TRUE(SystemTimeToFileTime(&parts, &local));
    ASSERT_TRUE(LocalFileTimeToFileTime(&local, &utc));
    const HANDLE file = CreateFileA(kStampFile, FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &utc));
    CloseHandle(file);
  }
};

TEST_F(StampFile, KnownTimesGiveTheirStamps) {
  CreateStamp();
  Touch(2004, 3, 15, 14, 30, 0);
  EXPECT_EQ(VersionText(), "0.3.21 /18079A46/");
  Touch(2004, 3, 15, 14, 30, 59);
  EXPECT_EQ(VersionText(), "0.3.21 /18079A46/") << "seconds are not part of the stamp";
  Touch(2004, 2, 24, 1, 58, 0);
  EXPECT_EQ(VersionText(), "0.3.21 /17F9B29E/");
  Touch(1980, 1, 1, 0, 0, 0);
  EXPECT_EQ(VersionText(), "0.3.21 /1DCE5B950/");
  Touch(2107, 12, 31, 23, 59, 58);
  EXPECT_EQ(VersionText(), "0.3.21 /2A750627/");
}

TEST_F(StampFile, EveryTextCarriesTheStamp) {
  CreateStamp();
  Touch(2004, 3, 15, 14, 30, 0);
  EXPECT_EQ(Result("QLVERSION"), "Quillet 0.3.21 /18079A46/");
  EXPECT_TRUE(Result("QLVERSION", {"vv"}).starts_with("Quillet 0.3.21 /18079A46/\r\nQLVERSION\t"));
  EXPECT_EQ(InfoPage(), ExpectedInfoPage("0.3.21 /18079A46/", ShownSettingsPath()));
}

TEST_F(StampFile, MissingOrOutsideTheFileDateYearsGivesTimeZero) {
  EXPECT_EQ(VersionText(), "0.3.21 /24ED1B1E0/");
  EXPECT_TRUE(Result("QLVERSION", {"vv"}).starts_with("Quillet 0.3.21 /24ED1B1E0/\r\nQLVERSION\t"));
  CreateStamp();
  Touch(1979, 12, 31, 23, 59, 59);
  EXPECT_EQ(VersionText(), "0.3.21 /24ED1B1E0/");
  Touch(1601, 1, 2, 0, 0, 0);
  EXPECT_EQ(VersionText(), "0.3.21 /24ED1B1E0/");
  Touch(2108, 1, 1, 0, 0, 0);
  EXPECT_EQ(VersionText(), "0.3.21 /24ED1B1E0/");
  Touch(30000, 1, 1, 0, 0, 0);
  EXPECT_EQ(VersionText(), "0.3.21 /24ED1B1E0/");
}

TEST_F(StampFile, AFolderOfThatNameGivesItsTime) {
  fs::create_directories(kStampFile);
  Touch(2004, 3, 15, 14, 30, 0);
  EXPECT_EQ(VersionText(), "0.3.21 /18079A46/");
}

}  // namespace
}  // namespace quillet::conformance
