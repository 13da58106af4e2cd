// The date stamp's day and week values, read from the day it holds.
#include "calendar/DateStamp.h"

#include "calendar/Calendar.h"

namespace quillet {

void DateStamp::SetFromDateValue(double value) {
  year_ = DecodeDayValue(value).year;
  day_ = quillet::DayOfYear(value);
}

double DateStamp::DayValue() const {
  return GregorianDayValue({year_, 1, 1}) + day_ - 1;
}

int32_t DateStamp::DayOfWeek() const {
  return WeekdaySundayFirst(DayValue());
}

int32_t DateStamp::WeekOfYear() const {
  const int32_t week = WeekOfYearSundayFirst(DayValue());
  return DayOfWeek() == 1 ? week - 1 : week;
}

}  // namespace quillet
