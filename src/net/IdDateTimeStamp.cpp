// The date-time stamp's parts and the values read from them.
#include "net/IdDateTimeStamp.h"

#include <algorithm>
#include <cmath>

#include "calendar/Calendar.h"

namespace quillet {

void TIdDateTimeStamp::SetFromDateValue(double value) {
  year_ = DecodeDayValue(value).year;
  day_ = quillet::DayOfYear(value);
  // The time of day is the fraction's magnitude, also for days before 1899.
  const double fraction = std::fabs(value - std::trunc(value));
  const auto milliseconds = std::min<int64_t>(std::llround(fraction * 86'400'000.0), 86'399'999);
  second_ = static_cast<int32_t>(milliseconds / 1000);
  millisecond_ = static_cast<int32_t>(milliseconds % 1000);
}

double TIdDateTimeStamp::DayValue() const {
  return GregorianDayValue({year_, 1, 1}) + day_ - 1;
}

int32_t TIdDateTimeStamp::DayOfWeek() const {
  return WeekdaySundayFirst(DayValue());
}

int32_t TIdDateTimeStamp::WeekOfYear() const {
  const int32_t week = WeekOfYearSundayFirst(DayValue());
  return DayOfWeek() == 1 ? week - 1 : week;
}

}  // namespace quillet
