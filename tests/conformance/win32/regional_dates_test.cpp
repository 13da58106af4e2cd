// Date texts with the user's regional settings on Windows: the short date
// format and date separator are set as the user's overrides (they land in
// HKCU "Control Panel\International"), and the plug-in reads and writes dates
// with them. The original values are put back afterwards.
#include <windows.h>

#include <string>

#include "support/Loaded.h"
#include "support/TwoDigitYears.h"

namespace quillet::conformance {
namespace {

std::string LocaleValue(LCTYPE item) {
  char text[128] = {};
  const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, item, text, sizeof text);
  return length > 0 ? std::string(text, static_cast<size_t>(length - 1)) : std::string();
}

std::string RegistryValue(const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\International", 0, KEY_READ, &key) != 0)
    return {};
  char text[128] = {};
  DWORD size = sizeof text - 1;
  const LONG status =
      RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(key);
  return status == 0 ? std::string(text) : std::string();
}

int CurrentYear() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return now.wYear;
}

class RegionalDates : public ::testing::Test {
 protected:
  void SetUp() override {
    savedFormat_ = LocaleValue(LOCALE_SSHORTDATE);
    savedSeparator_ = LocaleValue(LOCALE_SDATE);
    Initialize();
  }
  void TearDown() override {
    Finalize();
    Use(savedFormat_.c_str(), savedSeparator_.c_str());
  }

  static void Use(const char* format, const char* separator) {
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDATE, separator));
    ASSERT_TRUE(SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, format));
    ASSERT_EQ(RegistryValue("sShortDate"), format);
    ASSERT_EQ(RegistryValue("sDate"), separator);
  }

  static void ExpectNoDate(const std::string& text) {
    host::HostProvider context;
    host::HostProvider params({text});
    const MacroRun run = Exec("DAYOFYEAR", context, params);
    EXPECT_TRUE(run.ended) << "'" << text << "' was read as a date";
    EXPECT_EQ(run.end.kind, "EConvertError");
    EXPECT_EQ(run.end.message, "'" + text + "' is not a valid date");
  }

 private:
  std::string savedFormat_;
  std::string savedSeparator_;
};

TEST_F(RegionalDates, DayFirstWithFullStop) {
  Use("dd.MM.yyyy", ".");
  EXPECT_EQ(Result("EASTERSUNDAY", {"2025"}), "20.04.2025");
  EXPECT_EQ(Result("EASTERSUNDAY", {"0"}), "10.04.0001");
  EXPECT_EQ(Result("EASTERSUNDAY", {"10000"}), "16.04.10000");
  EXPECT_EQ(Result("EASTERSUNDAY", {"-1"}), "00.00.0000");
  EXPECT_EQ(Result("DAYOFYEAR", {"1.3.2024"}), "61");
  EXPECT_EQ(Result("DAYOFYEAR", {" 01.03.2024 "}), "61");
  EXPECT_EQ(Result("WEEKOFYEAR", {"1.1.2006"}), "0");
  EXPECT_EQ(Result("WEEKOFYEAR", {"31.12.2000"}), "53");
  EXPECT_EQ(Result("ISOWEEKOFYEAR", {"29.12.2008"}), "1");
  const bool leap =
      CurrentYear() % 4 == 0 && (CurrentYear() % 100 != 0 || CurrentYear() % 400 == 0);
  EXPECT_EQ(Result("DAYOFYEAR", {"01.03"}), leap ? "61" : "60");
  for (const char* text : {"2024-03-01", "", "3/1/2024", "30.02.2024", "1.3.2024..", "1.3.2024 x"})
    ExpectNoDate(text);
}

TEST_F(RegionalDates, MonthFirstWithSlash) {
  Use("M/d/yyyy", "/");
  EXPECT_EQ(Result("EASTERSUNDAY", {"2025"}), "4/20/2025");
  EXPECT_EQ(Result("EASTERSUNDAY", {"2024"}), "3/31/2024");
  EXPECT_EQ(Result("DAYOFYEAR", {"3/1/2024"}), "61");
  EXPECT_EQ(Result("ISOWEEKOFYEAR", {"1/1/2005"}), "53");
  for (const char* text : {"1.3.2024", "13/1/2024", "2024-03-01", "2/30/2024"}) ExpectNoDate(text);
}

TEST_F(RegionalDates, YearFirstWithDash) {
  Use("yyyy-MM-dd", "-");
  EXPECT_EQ(Result("EASTERSUNDAY", {"2038"}), "2038-04-25");
  EXPECT_EQ(Result("DAYOFYEAR", {"2024-12-31"}), "366");
  EXPECT_EQ(Result("DAYOFYEAR", {"2023-12-31"}), "365");
  EXPECT_EQ(Result("WEEKOFYEAR", {"2006-01-09"}), "2");
  for (const char* text : {"01.03.2024", "2024/03/01", "2024-13-01"}) ExpectNoDate(text);
}

TEST_F(RegionalDates, TwoDigitYearsOnBothSidesOfTheWindow) {
  Use("dd.MM.yy", ".");
  EXPECT_EQ(Result("EASTERSUNDAY", {"2025"}), "20.04.25");
  // The window is the hundred years from 50 years before the current year.
  const int oldest = CurrentYear() - 50, newest = CurrentYear() + 49;
  for (const WindowProbe& probe :
       {ProbeFor(oldest, oldest + 100), ProbeFor(newest, newest - 100)}) {
    ASSERT_NE(probe.day, 0u);
    EXPECT_EQ(Result("ISOWEEKOFYEAR", {std::to_string(probe.day) + ".1." + probe.twoDigitYear}),
              probe.week)
        << probe.day << ".1." << probe.twoDigitYear;
  }
}

}  // namespace
}  // namespace quillet::conformance
