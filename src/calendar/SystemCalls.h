// The operating-system calls behind the date macros, reached through one
// replaceable table so that white-box tests can fix the clock, the time zone
// and the regional settings.
#pragma once

#include "platform/Clock.h"
#include "platform/Locale.h"

namespace quillet {

struct CalendarSystemCalls {
  platform::LocalTime (*localNow)() = platform::LocalNow;
  platform::TimeZoneReading (*readTimeZone)() = platform::ReadTimeZone;
  platform::ShortDateSettings (*readShortDateSettings)() = platform::ReadShortDateSettings;
};

// The table in use; it starts with the platform's own calls.
CalendarSystemCalls& CalendarSystem();

// Now as a date value, time of day included.
double NowDateValue();

}  // namespace quillet
