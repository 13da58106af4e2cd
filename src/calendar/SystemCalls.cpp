// The table of operating-system calls of the date macros.
#include "calendar/SystemCalls.h"

#include <cstdint>

#include "calendar/Calendar.h"

namespace quillet {

CalendarSystemCalls& CalendarSystem() {
  static CalendarSystemCalls calls;
  return calls;
}

double NowDateValue() {
  const platform::LocalTime now = CalendarSystem().localNow();
  const int64_t milliseconds =
      ((int64_t{now.hour} * 60 + now.minute) * 60 + now.second) * 1000 + now.millisecond;
  return EncodeDateTime(now.year, static_cast<uint16_t>(now.month), static_cast<uint16_t>(now.day),
                        milliseconds);
}

}  // namespace quillet
