// Choosing test dates for the two-digit year window: for a year and the year a
// century away, the first January day whose ISO week differs, so that the
// plug-in's answer shows which of the two years it read.
#pragma once

#include <chrono>
#include <string>

namespace quillet::conformance {

inline int IsoWeekOfJanuaryDay(int y, unsigned d) {
  using namespace std::chrono;
  const sys_days day = sys_days{year{y} / January / d};
  const sys_days thursday = day - (weekday{day} - Monday) + days{3};
  const year isoYear = year_month_day{thursday}.year();
  return static_cast<int>((thursday - sys_days{isoYear / January / 1}).count() / 7 + 1);
}

struct WindowProbe {
  unsigned day;  // of January
  std::string twoDigitYear;
  std::string week;  // the ISO week when the year is read right
};

// A day of January on which year and other have different ISO weeks.
inline WindowProbe ProbeFor(int year, int other) {
  for (unsigned d = 1; d <= 7; ++d) {
    if (IsoWeekOfJanuaryDay(year, d) != IsoWeekOfJanuaryDay(other, d)) {
      const std::string digits = std::to_string(year % 100 + 100).substr(1);
      return {d, digits, std::to_string(IsoWeekOfJanuaryDay(year, d))};
    }
  }
  return {0, "", ""};
}

}  // namespace quillet::conformance
