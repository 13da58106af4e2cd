// The stamp file's time in the file-date form, read from files whose times
// the test sets through std::filesystem, and the texts built from it. Years
// outside the file dates and folders are left to the black-box tests, which
// set times through each system's own calls.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "frame/Settings.h"
#include "frame/Version.h"
#include "frame/VersionNumber.h"
#include "support/VersionText.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono;

class StampTime : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    folder_ = fs::temp_directory_path() / ("quillet-stamp-" + std::to_string(random()));
    fs::create_directories(folder_);
    file_ = folder_ / "Quillet.WRP";
    std::ofstream(file_) << "stamp";
  }

  void TearDown() override { fs::remove_all(folder_); }

  // Sets the file's last-write time to a moment in UTC.
  void Touch(sys_seconds moment) const { fs::last_write_time(file_, file_clock::from_sys(moment)); }

  double Stamp() const { return FileStampTime(file_.string()); }

  fs::path folder_;
  fs::path file_;
};

// Days from 30 December 1899, the date values' day 0.
int64_t DayNumber(year_month_day date) {
  return (sys_days{date} - sys_days{1899y / 12 / 30}).count();
}

TEST_F(StampTime, AMissingEntryIsTimeZero) {
  EXPECT_EQ(FileStampTime((folder_ / "missing.WRP").string()), 0.0);
  EXPECT_EQ(FileStampTime((folder_ / "missing" / "Quillet.WRP").string()), 0.0);
  EXPECT_EQ(FileStampTime(""), 0.0);
}

TEST_F(StampTime, TimesAreLocalDatesWithEvenSeconds) {
  // Whatever the time zone, the date moves by at most a day, and the
  // seconds of the minute stay (zones are whole quarters of an hour apart).
  for (int second : {58, 59}) {
    Touch(sys_days{2004y / 3 / 15} + 12h + 30min + seconds{second});
    const double value = Stamp();
    EXPECT_NEAR(value, static_cast<double>(DayNumber(2004y / 3 / 15)) + 0.5, 1.0);
    const auto milliseconds = std::llround(value * 86'400'000.0);
    EXPECT_EQ(milliseconds % 60'000, 58'000) << "second " << second;
  }
  Touch(sys_days{1990y / 6 / 1});
  EXPECT_NEAR(Stamp(), static_cast<double>(DayNumber(1990y / 6 / 1)), 1.0);
}

using testing::IsVersionText;

TEST(VersionTexts, AreBuiltFromTheStampAndTheSettingsPath) {
  EXPECT_TRUE(IsVersionText(GetVersionText())) << GetVersionText();
  // The black-box tests of the other program may touch the stamp file
  // meanwhile, so the page is checked around the version.
  const std::string saved = SettingsFileName();
  SettingsFileName() = "S:\\x y\\Quillet.ini";
  const std::string page = GetInfoPage();
  SettingsFileName() = saved;
  const size_t version = page.find("<h2>" + std::string(kVersionNumber) + " /");
  const size_t path = page.find("/ S:\\x y\\Quillet.ini</h2>");
  ASSERT_NE(version, std::string::npos) << page.substr(0, 200);
  ASSERT_NE(path, std::string::npos) << page.substr(0, 200);
  EXPECT_TRUE(IsVersionText(page.substr(version + 4, path + 1 - version - 4)));
}

}  // namespace
}  // namespace quillet
