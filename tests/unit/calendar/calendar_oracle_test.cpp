// The calendar arithmetic against independent oracles: every day of the years
// 1 to 9999 against the standard library's <chrono> calendar, Easter of every
// such year against the Meeus/Jones/Butcher algorithm, and the extended range
// against values worked out by hand in exact arithmetic.
#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <cstdint>

#include "calendar/Calendar.h"

namespace quillet {
namespace {

using namespace std::chrono;

constexpr sys_days kDayZero = sys_days{year{1899} / December / 30};

double DayValue(sys_days day) {
  return static_cast<double>((day - kDayZero).count());
}

double DayValue(int y, unsigned m, unsigned d) {
  return DayValue(sys_days{year{y} / month{m} / day{d}});
}

// The ISO week by its definition: week 1 is the week whose Monday is the
// Monday on or before 4 January; the ISO year is the latest year whose week 1
// has begun.
int IsoWeekOracle(sys_days day) {
  const int y = static_cast<int>(year_month_day{day}.year());
  for (int isoYear : {y + 1, y, y - 1}) {
    const sys_days fourth = sys_days{year{isoYear} / January / 4};
    const sys_days monday = fourth - (weekday{fourth} - Monday);
    if (day >= monday) return static_cast<int>((day - monday).count() / 7 + 1);
  }
  return 0;
}

TEST(CalendarOracle, EveryDayOfTheYearsOneTo9999) {
  const sys_days first = sys_days{year{1} / January / 1};
  const sys_days last = sys_days{year{9999} / December / 31};
  sys_days newYear = first;
  int failures = 0;
  for (sys_days d = first; d <= last && failures < 20; d += days{1}) {
    const year_month_day ymd{d};
    if (ymd.month() == January && ymd.day() == day{1}) newYear = d;
    const double value = DayValue(d);
    const auto y = static_cast<int32_t>(static_cast<int>(ymd.year()));
    const auto m = static_cast<uint16_t>(static_cast<unsigned>(ymd.month()));
    const auto dd = static_cast<uint16_t>(static_cast<unsigned>(ymd.day()));
    const int dayOfYear = static_cast<int>((d - newYear).count()) + 1;
    const int sundayFirst = static_cast<int>(weekday{d}.c_encoding()) + 1;
    const int newYearSundayFirst = static_cast<int>(weekday{newYear}.c_encoding());
    const int sundayWeek = (dayOfYear - 1 + newYearSundayFirst) / 7 + 1;
    const bool ok = EncodeDayValue(y, m, dd) == value && WeekdaySundayFirst(value) == sundayFirst &&
                    DayOfYear(value) == dayOfYear && IsoWeekOfDate(value) == IsoWeekOracle(d) &&
                    WeekOfYearSundayFirst(value) == sundayWeek;
    if (!ok) {
      ++failures;
      ADD_FAILURE() << y << "-" << m << "-" << dd << ": encode " << EncodeDayValue(y, m, dd)
                    << " want " << value << ", weekday " << WeekdaySundayFirst(value) << " want "
                    << sundayFirst << ", day " << DayOfYear(value) << " want " << dayOfYear
                    << ", ISO week " << IsoWeekOfDate(value) << " want " << IsoWeekOracle(d)
                    << ", Sunday week " << WeekOfYearSundayFirst(value) << " want " << sundayWeek;
    }
  }
}

TEST(CalendarOracle, ATimeOfDayDoesNotChangeTheDay) {
  for (double value : {DayValue(2005, 1, 1), DayValue(2008, 12, 29), DayValue(2000, 12, 31)}) {
    EXPECT_EQ(IsoWeekOfDate(value + 0.75), IsoWeekOfDate(value));
    EXPECT_EQ(DayOfYear(value + 0.999), DayOfYear(value));
    EXPECT_EQ(WeekdaySundayFirst(value + 0.5), WeekdaySundayFirst(value));
  }
}

TEST(EasterOracle, EveryYearOneTo9999MatchesMeeusJonesButcher) {
  for (int y = 1; y <= 9999; ++y) {
    const int a = y % 19, b = y / 100, c = y % 100, d = b / 4, e = b % 4;
    const int f = (b + 8) / 25, g = (b - f + 1) / 3;
    const int h = (19 * a + b - d - g + 15) % 30;
    const int i = c / 4, k = c % 4;
    const int l = (32 + 2 * e + 2 * i - h - k) % 7;
    const int m = (a + 11 * h + 22 * l) / 451;
    const int month = (h + l - 7 * m + 114) / 31;
    const int day = (h + l - 7 * m + 114) % 31 + 1;
    ASSERT_EQ(EasterDate(y), DayValue(y, static_cast<unsigned>(month), static_cast<unsigned>(day)))
        << "year " << y;
  }
}

TEST(EasterOracle, KnownDates) {
  EXPECT_EQ(EasterDate(1583), DayValue(1583, 4, 10));
  EXPECT_EQ(EasterDate(1818), DayValue(1818, 3, 22));
  EXPECT_EQ(EasterDate(2000), DayValue(2000, 4, 23));
  EXPECT_EQ(EasterDate(2008), DayValue(2008, 3, 23));
  EXPECT_EQ(EasterDate(2011), DayValue(2011, 4, 24));
  EXPECT_EQ(EasterDate(2024), DayValue(2024, 3, 31));
  EXPECT_EQ(EasterDate(2025), DayValue(2025, 4, 20));
  EXPECT_EQ(EasterDate(2038), DayValue(2038, 4, 25));
  EXPECT_EQ(EasterDate(2285), DayValue(2285, 3, 22));
}

TEST(ExtendedRange, EdgeValues) {
  EXPECT_EQ(EncodeDayValue(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDayValue(9999, 12, 31), 2958465);
  // Year 0: the rule's 9 April becomes 10 April of year 1.
  EXPECT_EQ(EasterDate(0), DayValue(1, 4, 10));
  EXPECT_EQ(EncodeDayValue(0, 1, 1), -693593);
  // 1 January 10000 lands exactly on the Gregorian count.
  EXPECT_EQ(EncodeDayValue(10000, 1, 1), 2958466);
  EXPECT_EQ(EasterDate(10000), DayValue(sys_days{year{9999} / December / 31} + days{107}));
  // Year 10002: the rule gives 24 March, the mean year lands one day later.
  EXPECT_EQ(EasterDate(10002), DayValue(sys_days{year{10002} / March / 25}));
}

TEST(ExtendedRange, HandComputedFormulaValues) {
  // d = Y * 365.2422454 - 693593 (+ 1.7882454 with Y - 1 from 10000 on),
  // truncated; plus (month - 1) mean months rounded; plus day - 1.
  EXPECT_EQ(EncodeDayValue(-1, 1, 1), -693958);                   // -693958.2422454
  EXPECT_EQ(EncodeDayValue(-1, 3, 1), -693897);                   // + round(60.8737...)
  EXPECT_EQ(EncodeDayValue(-1, 4, 30), -693838);                  // + round(91.3105...) + 29
  EXPECT_EQ(EncodeDayValue(10001, 1, 1), 2958831);                // 2958831.2422454
  EXPECT_EQ(EncodeDayValue(INT32_MAX, 1, 1), 784351055233.0);     // ...5233.6069330
  EXPECT_EQ(EncodeDayValue(INT32_MIN, 1, 1), -784352443148.0);    // ...3148.3032
  EXPECT_EQ(EncodeDayValue(INT32_MIN, 12, 31), -784352442783.0);  // + round(334.805) + 30
  // Month and day are not checked outside 1..9999.
  EXPECT_EQ(EncodeDayValue(-1, 0, 0), -693958 - 30 - 1);  // round(-30.4368...)
  EXPECT_EQ(EncodeDayValue(20000, 65535, 65535), 6610888.0 + 1994649 + 65534);
}

TEST(ExtendedRange, EveryThirtyTwoBitYearGivesAWholeDayNearItsMeanYear) {
  // Steps through the whole range (and its ends) with a prime stride; any
  // overflow would trip the sanitizers, any wrong branch the bound.
  for (int64_t y = INT32_MIN; y <= INT32_MAX; y += 9973) {
    for (int64_t year : {y, int64_t{INT32_MAX}}) {
      const double easter = EasterDate(static_cast<int32_t>(year));
      // Years from 1 on count from 1 January of year 1, the others from year 0.
      const double mean = static_cast<double>(year >= 1 ? year - 1 : year) * 365.2422454 - 693593;
      ASSERT_EQ(easter, std::trunc(easter)) << year;
      ASSERT_GT(easter - mean, 75) << year;
      ASSERT_LT(easter - mean, 122) << year;
    }
  }
}

}  // namespace
}  // namespace quillet
