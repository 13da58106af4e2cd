// Date texts with the user's LC_TIME locale on POSIX. The locale is chosen
// through the environment, as a user chooses it; the "C" locale is always
// there, the others are skipped where the system has not generated them.
#include <locale.h>
#include <stdlib.h>

#include <ctime>
#include <optional>
#include <string>

#include "support/Loaded.h"
#include "support/TwoDigitYears.h"

namespace quillet::conformance {
namespace {

int CurrentYear() {
  const std::time_t now = std::time(nullptr);
  return std::localtime(&now)->tm_year + 1900;
}

bool LocaleInstalled(const char* name) {
  const locale_t locale = newlocale(LC_TIME_MASK, name, static_cast<locale_t>(0));
  if (locale == static_cast<locale_t>(0)) return false;
  freelocale(locale);
  return true;
}

class RegionalDates : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* all = getenv("LC_ALL")) saved_ = all;
    Initialize();
  }
  void TearDown() override {
    Finalize();
    if (saved_)
      setenv("LC_ALL", saved_->c_str(), 1);
    else
      unsetenv("LC_ALL");
  }

  // Makes name the user's locale; false when the system lacks it.
  static bool Use(const char* name) {
    if (!LocaleInstalled(name)) return false;
    setenv("LC_ALL", name, 1);
    return true;
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
  std::optional<std::string> saved_;
};

TEST_F(RegionalDates, TheCLocaleIsMonthFirstWithTwoDigitYears) {
  ASSERT_TRUE(Use("C"));
  EXPECT_EQ(Result("EASTERSUNDAY", {"2025"}), "04/20/25");
  EXPECT_EQ(Result("EASTERSUNDAY", {"-1"}), "00/00/00");
  EXPECT_EQ(Result("DAYOFYEAR", {"03/01/2024"}), "61");
  EXPECT_EQ(Result("WEEKOFYEAR", {" 1/1/2006 "}), "0");
  for (const char* text : {"1.3.2024", "13/1/2024", "2024-03-01", "2/30/2024", ""})
    ExpectNoDate(text);
  // The window is the hundred years from 50 years before the current year.
  const int oldest = CurrentYear() - 50, newest = CurrentYear() + 49;
  for (const WindowProbe& probe :
       {ProbeFor(oldest, oldest + 100), ProbeFor(newest, newest - 100)}) {
    ASSERT_NE(probe.day, 0u);
    EXPECT_EQ(
        Result("ISOWEEKOFYEAR", {"1/" + std::to_string(probe.day) + "/" + probe.twoDigitYear}),
        probe.week);
  }
}

TEST_F(RegionalDates, GermanIsDayFirstWithFullStop) {
  if (!Use("de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 is not generated on this system";
  EXPECT_EQ(Result("EASTERSUNDAY", {"2025"}), "20.04.2025");
  EXPECT_EQ(Result("EASTERSUNDAY", {"10000"}), "16.04.10000");
  EXPECT_EQ(Result("DAYOFYEAR", {"1.3.2024"}), "61");
  EXPECT_EQ(Result("DAYOFYEAR", {" 01.03.2024 "}), "61");
  EXPECT_EQ(Result("ISOWEEKOFYEAR", {"29.12.2008"}), "1");
  for (const char* text : {"2024-03-01", "", "3/1/2024", "1.3.2024.."}) ExpectNoDate(text);
}

TEST_F(RegionalDates, SwedishIsYearFirstWithDash) {
  if (!Use("sv_SE.UTF-8")) GTEST_SKIP() << "sv_SE.UTF-8 is not generated on this system";
  EXPECT_EQ(Result("EASTERSUNDAY", {"2038"}), "2038-04-25");
  EXPECT_EQ(Result("DAYOFYEAR", {"2024-12-31"}), "366");
  EXPECT_EQ(Result("WEEKOFYEAR", {"2006-01-09"}), "2");
  for (const char* text : {"01.03.2024", "2024/03/01", "2024-13-01"}) ExpectNoDate(text);
}

TEST_F(RegionalDates, AmericanIsMonthFirstWithFourDigitYears) {
  if (!Use("en_US.UTF-8")) GTEST_SKIP() << "en_US.UTF-8 is not generated on this system";
  EXPECT_EQ(Result("EASTERSUNDAY", {"2024"}), "03/31/2024");
  EXPECT_EQ(Result("DAYOFYEAR", {"12/31/2023"}), "365");
}

TEST_F(RegionalDates, AnAbsentLocaleReadsAsC) {
  setenv("LC_ALL", "xx_NOWHERE.UTF-8", 1);
  EXPECT_EQ(Result("EASTERSUNDAY", {"2025"}), "04/20/25");
}

TEST_F(RegionalDates, TheProcessLocaleIsLeftAlone) {
  ASSERT_TRUE(Use("C"));
  const std::string before = setlocale(LC_ALL, nullptr);
  Result("EASTERSUNDAY", {"2025"});
  Result("DAYOFYEAR", {"1/1/2024"});
  EXPECT_EQ(setlocale(LC_ALL, nullptr), before);
}

}  // namespace
}  // namespace quillet::conformance
