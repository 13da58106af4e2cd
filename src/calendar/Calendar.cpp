// Calendar arithmetic. Inside the years 1 to 9999 everything is exact
// Gregorian day counting; outside, the mean-year formula is evaluated in
// exact decimal fixed point (the constants have seven decimals), so the
// result is the same on every platform and floating-point unit and no
// intermediate can overflow for any 32-bit year.
#include "calendar/Calendar.h"

#include <algorithm>
#include <cmath>

namespace quillet {
namespace {

// Day value of 1 January 1970, the origin of the civil-day count below.
constexpr int64_t kUnixEpochDay = 25569;

// The extended-range constants in units of 1e-7 days.
constexpr int64_t kScale = 10'000'000;
constexpr int64_t kMeanYearScaled = 3'652'422'454;  // 365.2422454 days
constexpr int64_t kYearOffsetScaled = 17'882'454;   // 1.7882454 days
constexpr int64_t kBaseDay = -693'593;              // 1 January of year 1
// A mean month is a twelfth of a mean year: 30.4368537833... days.
constexpr int64_t kMeanMonthDenominator = 12 * kScale;

int64_t FloorDiv(int64_t a, int64_t b) {
  const int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

// Days from 1970-01-01 to y-m-d in the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int32_t m, int32_t d) {
  y -= m <= 2;
  const int64_t era = FloorDiv(y, 400);
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

CivilDate CivilFromDays(int64_t z) {
  z += 719468;
  const int64_t era = FloorDiv(z, 146097);
  const int64_t doe = z - era * 146097;
  const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const int64_t mp = (5 * doy + 2) / 153;
  const auto day = static_cast<int32_t>(doy - (153 * mp + 2) / 5 + 1);
  const auto month = static_cast<int32_t>(mp < 10 ? mp + 3 : mp - 9);
  return {yoe + era * 400 + (month <= 2), month, day};
}

// The whole days of a date value, truncated toward zero. Values far beyond
// any calendar in use are held at a bound instead of overflowing.
int64_t WholeDays(double value) {
  constexpr double kBound = 1e15;
  if (!(value > -kBound)) return static_cast<int64_t>(-kBound);
  if (!(value < kBound)) return static_cast<int64_t>(kBound);
  return static_cast<int64_t>(std::trunc(value));
}

// n / d rounded to the nearest whole number, a tie going to the even one.
int64_t DivideRoundHalfEven(int64_t n, int64_t d) {
  const int64_t q = FloorDiv(n, d);
  const int64_t twiceRest = 2 * (n - q * d);
  if (twiceRest > d || (twiceRest == d && q % 2 != 0)) return q + 1;
  return q;
}

int64_t ExtendedDayValue(int32_t year, uint16_t month, uint16_t day) {
  // d in units of 1e-7 days, then truncated toward zero to whole days.
  const int64_t scaled =
      year <= 0 ? int64_t{year} * kMeanYearScaled + kBaseDay * kScale
                : (int64_t{year} - 1) * kMeanYearScaled + kBaseDay * kScale + kYearOffsetScaled;
  const int64_t t = scaled / kScale;
  const int64_t months = int64_t{month} - 1;
  return t + DivideRoundHalfEven(months * kMeanYearScaled, kMeanMonthDenominator) +
         (int64_t{day} - 1);
}

}  // namespace

double EncodeDayValue(int32_t year, uint16_t month, uint16_t day) {
  if (year >= 1 && year <= 9999)
    return static_cast<double>(DaysFromCivil(year, month, day) + kUnixEpochDay);
  return static_cast<double>(ExtendedDayValue(year, month, day));
}

double EncodeDateTime(int32_t year, uint16_t month, uint16_t day, int64_t millisecondOfDay) {
  const double date = EncodeDayValue(year, month, day);
  const double time = static_cast<double>(millisecondOfDay) / kMillisecondsPerDay;
  return date < 0 ? date - time : date + time;
}

int32_t MillisecondOfDay(double value) {
  const double fraction = std::fabs(value - std::trunc(value));
  return static_cast<int32_t>(
      std::min<int64_t>(std::llround(fraction * kMillisecondsPerDay), kMillisecondsPerDay - 1));
}

CivilDate DecodeDayValue(double value) {
  return CivilFromDays(WholeDays(value) - kUnixEpochDay);
}

double GregorianDayValue(const CivilDate& date) {
  return static_cast<double>(DaysFromCivil(date.year, date.month, date.day) + kUnixEpochDay);
}

int32_t WeekdaySundayFirst(double value) {
  const int64_t days = WholeDays(value) + 693594;
  return static_cast<int32_t>(days - FloorDiv(days, 7) * 7) + 1;
}

int32_t DayOfYear(double value) {
  const int64_t days = WholeDays(value) - kUnixEpochDay;
  return static_cast<int32_t>(days - DaysFromCivil(CivilFromDays(days).year, 1, 1) + 1);
}

int32_t WeekOfYearSundayFirst(double value) {
  const int64_t days = WholeDays(value);
  const int32_t dayOfYear = DayOfYear(value);
  const int32_t firstWeekday = WeekdaySundayFirst(static_cast<double>(days - dayOfYear + 1));
  return (firstWeekday + dayOfYear - 2) / 7 + 1;
}

int32_t IsoWeekOfDate(double value) {
  // The Thursday of the date's Monday-to-Sunday week decides the year.
  const int32_t mondayFirst = (WeekdaySundayFirst(value) + 5) % 7 + 1;
  const int64_t thursday = WholeDays(value) - mondayFirst + 4;
  const int64_t civil = thursday - kUnixEpochDay;
  const int64_t firstOfYear = DaysFromCivil(CivilFromDays(civil).year, 1, 1);
  return static_cast<int32_t>((civil - firstOfYear) / 7 + 1);
}

double EasterDate(int32_t year) {
  // Knuth's algorithm E; integer division and remainder truncate toward zero
  // as the rule states, and 64 bits keep 5 * year exact for every year.
  const int64_t y = year;
  const int64_t golden = y % 19 + 1;
  const int64_t century = y / 100 + 1;
  const int64_t x = 3 * century / 4 - 12;
  const int64_t z = (8 * century + 5) / 25 - 5;
  const int64_t d = 5 * y / 4 - x - 10;
  int64_t epact = (11 * golden + 20 + z - x) % 30;
  if (epact < 0) epact += 30;
  if ((epact == 25 && golden > 11) || epact == 24) ++epact;
  int64_t n = 44 - epact;
  if (n < 21) n += 30;
  n = n + 7 - (d + n) % 7;
  if (n > 31) return EncodeDayValue(year, 4, static_cast<uint16_t>(n - 31));
  return EncodeDayValue(year, 3, static_cast<uint16_t>(n));
}

bool IsValidDate(int64_t year, int64_t month, int64_t day) {
  constexpr int64_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (year < 1 || year > kLastExactYear || month < 1 || month > 12 || day < 1) return false;
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

}  // namespace quillet
