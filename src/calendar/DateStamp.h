// The date-time stamp of the component set: a date held as year, day of the
// year, second of the day and millisecond, which answers the day and week
// values that DAYOFYEAR and WEEKOFYEAR give.
#pragma once

#include <cstdint>

namespace quillet {

class TIdDateTimeStamp {
 public:
  // Replaces all four parts with those of a date value.
  void SetFromDateValue(double value);

  int32_t DayOfYear() const { return day_; }
  // 1 = Sunday ... 7 = Saturday.
  int32_t DayOfWeek() const;
  // Monday-to-Sunday weeks, the week holding 1 January being week 1; a
  // 1 January that is a Sunday is week 0.
  int32_t WeekOfYear() const;

  int64_t Year() const { return year_; }
  int32_t SecondOfDay() const { return second_; }
  int32_t Millisecond() const { return millisecond_; }

 private:
  double DayValue() const;

  int64_t year_ = 1;
  int32_t day_ = 1;
  int32_t second_ = 0;
  int32_t millisecond_ = 0;
};

}  // namespace quillet
