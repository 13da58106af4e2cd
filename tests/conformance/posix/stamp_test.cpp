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

#include "frame/VersionNumber.h"
#include "support/StampFile.h"

namespace quillet::conformance {

namespace fs = std::filesystem;

void StampFile::SetUp() {
  char pattern[] = "/tmp/quillet-stamp-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  root_ = pattern;
  path_ = root_ + "/drives/c/Program Files/Wrenmail/adds/wrp/Quillet.WRP";
  setenv("QUILLET_DRIVES", (root_ + "/drives").c_str(), 1);
  const char* zone = getenv("TZ");
  savedZone_ = zone != nullptr ? std::optional<std::string>(zone) : std::nullopt;
  // New York: summer time from the second Sunday in March.
  setenv("TZ", "EST5EDT,M3.2.0,M11.1.0", 1);
  tzset();
}

void StampFile::TearDown() {
  unsetenv("QUILLET_DRIVES");
  if (savedZone_) {
    setenv("TZ", savedZone_->c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
  fs::remove_all(root_);
}

void StampFile::Create() const {
  fs::create_directories(fs::path(path_).parent_path());
  std::ofstream(path_) << "stamp";
}

void StampFile::CreateFolder() const {
  fs::create_directories(path_);
}

void StampFile::Touch(int year, int month, int day, int hour, int minute, int second) const {
  std::tm parts{};
  parts.tm_year = year - 1900;
  parts.tm_mon = month - 1;
  parts.tm_mday = day;
  parts.tm_hour = hour;
  parts.tm_min = minute;
  parts.tm_sec = second;
  parts.tm_isdst = -1;
  const time_t moment = mktime(&parts);
  const timespec times[2] = {{moment, 0}, {moment, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path_.c_str(), times, 0), 0);
}

namespace {

TEST_F(StampFile, ALinkStandsForTheFileItNames) {
  Create();
  Touch(2004, 3, 15, 14, 30, 0);
  const std::string link = path_;
  path_ = root_ + "/Quillet.WRP";
  fs::rename(link, path_);
  fs::create_symlink(path_, link);
  EXPECT_EQ(VersionText(), std::string(kVersionNumber) + " /18079A46/");
}

}  // namespace
}  // namespace quillet::conformance
