// The date-time stamp's parts and the values read from them.
#include "net/IdDateTimeStamp.h"

#include "calendar/Calendar.h"

namespace quillet {

void TIdDateTimeStamp::SetFromDateValue(double value) {
  year_ = DecodeDayValue(value).year;
  day_ = quillet::DayOfYear(value);
  const int32_t milliseconds = MillisecondOfDay(value);
  second_ = milliseconds / 1000;
  millisecond_ = milliseconds % 1000;
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
