// The five date macros' handlers with a fixed clock, time zone and regional
// settings: parameter counts, dates read and written, and the component set
// that DAYOFYEAR and WEEKOFYEAR need.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/DateMacros.h"
#include "frame/Failure.h"
#include "frame/Macros.h"
#include "frame/SetMakeUp.h"
#include "host/Provider.h"
#include "support/CalendarFakes.h"

namespace quillet {
namespace {

using testing::FakeSystem;

class DateMacros : public testing::CalendarFakes {
 protected:
  void SetUp() override {
    CalendarFakes::SetUp();
    MakeComponentSet();
  }
  void TearDown() override {
    FreeComponentSet();
    CalendarFakes::TearDown();
  }
};

std::string Answer(MacroHandler handler, std::vector<std::string> params) {
  host::HostProvider context;
  host::HostProvider parameters(std::move(params));
  std::string result;
  handler(&context, &parameters, result);
  return result;
}

// The failure a handler ends with; empty kind when it ended normally.
Failure FailureOf(MacroHandler handler, std::vector<std::string> params) {
  try {
    Answer(handler, std::move(params));
  } catch (const Failure& failure) {
    return failure;
  }
  return Failure("", "");
}

TEST_F(DateMacros, DayOfYear) {
  EXPECT_EQ(Answer(DayOfYearMacro, {"1.1.2023"}), "1");
  EXPECT_EQ(Answer(DayOfYearMacro, {"31.12.2023"}), "365");
  EXPECT_EQ(Answer(DayOfYearMacro, {"31.12.2024"}), "366");
  EXPECT_EQ(Answer(DayOfYearMacro, {"1.3.2024"}), "61");
  EXPECT_EQ(Answer(DayOfYearMacro, {" 01.03.2024 "}), "61");
  EXPECT_EQ(Answer(DayOfYearMacro, {"1.3.2023"}), "60");
  EXPECT_EQ(Answer(DayOfYearMacro, {"01.03"}), "60") << "the current year, 2026";
  EXPECT_EQ(Answer(DayOfYearMacro, {}), "342") << "now: 8 December 2026";
}

TEST_F(DateMacros, WeekOfYearCountsMondayWeeksWithASundayNewYearAsWeekZero) {
  EXPECT_EQ(Answer(WeekOfYearMacro, {"1.1.2006"}), "0");
  EXPECT_EQ(Answer(WeekOfYearMacro, {"2.1.2006"}), "1");
  EXPECT_EQ(Answer(WeekOfYearMacro, {"8.1.2006"}), "1");
  EXPECT_EQ(Answer(WeekOfYearMacro, {"9.1.2006"}), "2");
  EXPECT_EQ(Answer(WeekOfYearMacro, {"31.12.2000"}), "53");
  EXPECT_EQ(Answer(WeekOfYearMacro, {"1.1.2000"}), "1");
  FakeSystem::now = {2006, 1, 1, 23, 59, 59, 999};
  EXPECT_EQ(Answer(WeekOfYearMacro, {}), "0");
  EXPECT_EQ(Answer(DayOfYearMacro, {}), "1");
}

TEST_F(DateMacros, IsoWeekOfYear) {
  EXPECT_EQ(Answer(IsoWeekOfYearMacro, {"1.1.2005"}), "53");
  EXPECT_EQ(Answer(IsoWeekOfYearMacro, {"29.12.2008"}), "1");
  EXPECT_EQ(Answer(IsoWeekOfYearMacro, {"3.1.2010"}), "53");
  EXPECT_EQ(Answer(IsoWeekOfYearMacro, {}), "50") << "8 December 2026";
}

TEST_F(DateMacros, WrongParameterCountsGiveTheSharedText) {
  for (MacroHandler handler : {DayOfYearMacro, WeekOfYearMacro, IsoWeekOfYearMacro}) {
    EXPECT_EQ(Answer(handler, {"1.1.2024", "2.1.2024"}), kWrongParamCount);
    EXPECT_EQ(Answer(handler, {"x", "y", "z"}), kWrongParamCount) << "nothing is parsed";
  }
}

TEST_F(DateMacros, ADateThatDoesNotParseEndsTheCall) {
  for (MacroHandler handler : {DayOfYearMacro, WeekOfYearMacro, IsoWeekOfYearMacro}) {
    for (const char* text : {"", "2024-03-01", "30.02.2024", "1.3.2024 x"}) {
      const Failure failure = FailureOf(handler, {text});
      EXPECT_EQ(failure.kind(), "EConvertError");
      EXPECT_EQ(failure.message(), std::string("'").append(text).append("' is not a valid date"));
    }
  }
}

TEST_F(DateMacros, TwoDigitYearsFollowTheClock) {
  EXPECT_EQ(Answer(WeekOfYearMacro, {"1.1.06"}), "0") << "2006 from 2026";
  FakeSystem::now.year = 2060;
  EXPECT_EQ(Answer(WeekOfYearMacro, {"1.1.06"}), "1") << "2106 from 2060, a Friday";
}

TEST_F(DateMacros, EasterSundayInTheShortDateFormat) {
  EXPECT_EQ(Answer(EasterSundayMacro, {"2025"}), "20.04.2025");
  EXPECT_EQ(Answer(EasterSundayMacro, {"0"}), "10.04.0001");
  EXPECT_EQ(Answer(EasterSundayMacro, {"10000"}), "16.04.10000");
  EXPECT_EQ(Answer(EasterSundayMacro, {"-1"}), "00.00.0000");
  EXPECT_EQ(Answer(EasterSundayMacro, {}), "10.04.0001") << "the host answers 0 for a missing one";
  FakeSystem::settings = {"M/d/yyyy", '/', {}, {}, {}, {}};
  EXPECT_EQ(Answer(EasterSundayMacro, {"2024", "ignored"}), "3/31/2024");
  FakeSystem::settings = {"yyyy-MM-dd", '-', {}, {}, {}, {}};
  EXPECT_EQ(Answer(EasterSundayMacro, {"2038"}), "2038-04-25");
  EXPECT_EQ(Answer(EasterSundayMacro, {"-2147483648"}), "0000-00-00");
}

TEST_F(DateMacros, LocalTzIgnoresItsParameters) {
  FakeSystem::zone = {platform::kTimeZoneIdDaylight, -60, 0, -60};
  EXPECT_EQ(Answer(LocalTzMacro, {"x", "y"}), "+0200");
  FakeSystem::zone = {platform::kTimeZoneIdInvalid, 0, 0, 0};
  EXPECT_EQ(FailureOf(LocalTzMacro, {}).message(),
            "Failed attempting to retrieve time zone information.");
}

TEST_F(DateMacros, TheDateStampKeepsNothingFromThePreviousCall) {
  EXPECT_EQ(Answer(DayOfYearMacro, {"31.12.2024"}), "366");
  EXPECT_EQ(Answer(DayOfYearMacro, {}), "342");
  EXPECT_EQ(Answer(DayOfYearMacro, {"1.1.2024"}), "1");
}

TEST_F(DateMacros, WithoutAComponentSetOnlyTheStampMacrosFail) {
  FreeComponentSet();
  for (MacroHandler handler : {DayOfYearMacro, WeekOfYearMacro}) {
    const Failure failure = FailureOf(handler, {"1.1.2024"});
    EXPECT_NE(failure.message().find("not initialised"), std::string::npos) << failure.message();
    EXPECT_NE(FailureOf(handler, {}).message().find("not initialised"), std::string::npos);
    EXPECT_EQ(Answer(handler, {"a", "b"}), kWrongParamCount);
  }
  EXPECT_EQ(Answer(IsoWeekOfYearMacro, {"1.1.2005"}), "53");
  EXPECT_EQ(Answer(EasterSundayMacro, {"2025"}), "20.04.2025");
  EXPECT_EQ(Answer(LocalTzMacro, {}), "GMT");
  MakeComponentSet();
  EXPECT_EQ(Answer(DayOfYearMacro, {"1.3.2024"}), "61");
}

}  // namespace
}  // namespace quillet
