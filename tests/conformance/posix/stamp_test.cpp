// The stamp file of the development build, the Windows path mapped under
// $QUILLET_DRIVES, its last-write time set with utimensat from a local time
// that mktime converts, in a time zone with daylight saving time.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "support/SelfDescription.h"

namespace quillet::conformance {
namespace {

namespace fs = std::filesystem;

class StampFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillet-stamp-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    stamp_ = root_ + "/drives/c/Program Files/Wrenmail/adds/wrp/Quillet.WRP";
    setenv("QUILLET_DRIVES", (root_ + "/drives").c_str(), 1);
    const char* zone = getenv("TZ");
    savedZone_ = zone != nullptr ? std::optional<std::string>(zone) : std::nullopt;
    // New York: summer time from the second Sunday in March.
    setenv("TZ", "EST5EDT,M3.2.0,M11.1.0", 1);
    tzset();
  }

  void TearDown() override {
    unsetenv("QUILLET_DRIVES");
    if (savedZone_) {
      setenv("TZ", savedZone_->c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
    fs::remove_all(root_);
  }

  void CreateStamp() const {
    fs::create_directories(fs::path(stamp_).parent_path());
    std::ofstream(stamp_) << "stamp";
  }

  // Sets the stamp file's last-write time to a local time.
  void Touch(int year, int month, int day, int hour, int minute, int second) const {
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = -1;
    const timespec times[2] = {{mktime(&parts), 0}, {mktime(&parts), 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, stamp_.c_str(), times, 0), 0);
  }

  std::string root_;
  std::string stamp_;
  std::optional<std::string> savedZone_;
};

TEST_F(StampFile, KnownTimesGiveTheirStamps) {
  CreateStamp();
  Touch(2004, 3, 15, 14, 30, 0);  // in summer time
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
  Touch(1975, 6, 1, 12, 0, 0);
  EXPECT_EQ(VersionText(), "0.3.21 /24ED1B1E0/");
  Touch(2108, 1, 1, 0, 0, 0);
  EXPECT_EQ(VersionText(), "0.3.21 /24ED1B1E0/");
  Touch(30000, 1, 1, 0, 0, 0);
  EXPECT_EQ(VersionText(), "0.3.21 /24ED1B1E0/");
}

TEST_F(StampFile, ALinkStandsForTheFileItNames) {
  CreateStamp();
  Touch(2004, 3, 15, 14, 30, 0);
  const std::string link = stamp_;
  stamp_ = root_ + "/Quillet.WRP";
  fs::rename(link, stamp_);
  fs::create_symlink(stamp_, link);
  EXPECT_EQ(VersionText(), "0.3.21 /18079A46/");
}

TEST_F(StampFile, AFolderOfThatNameGivesItsTime) {
  fs::create_directories(stamp_);
  Touch(2004, 3, 15, 14, 30, 0);
  EXPECT_EQ(VersionText(), "0.3.21 /18079A46/");
}

}  // namespace
}  // namespace quillet::conformance
