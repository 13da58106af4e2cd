// The date stamp of the component set (in the older vocabulary the date-time
// stamp component, "TIdDateTimeStamp"): the year and day of the year of the
// last date DAYOFYEAR or WEEKOFYEAR was given, which answer their values.
#pragma once

#include <cstdint>

#include "frame/ComponentSet.h"

namespace quillet {

class DateStamp : public Component {
 public:
  // Replaces the stamp with the year and day of a date value.
  void SetFromDateValue(double value);

  int32_t DayOfYear() const { return day_; }
  // 1 = Sunday ... 7 = Saturday.
  int32_t DayOfWeek() const;
  // Monday-to-Sunday weeks, the week holding 1 January being week 1; a
  // 1 January that is a Sunday is week 0.
  int32_t WeekOfYear() const;

 private:
  double DayValue() const;

  int64_t year_ = 1;
  int32_t day_ = 1;
};

}  // namespace quillet
