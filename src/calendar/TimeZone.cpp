// The UTC offset from the system's time-zone reading.
#include "calendar/TimeZone.h"

#include <cmath>
#include <cstdint>
#include <cstdio>

#include "calendar/SystemCalls.h"
#include "frame/Failure.h"

namespace quillet {

double UtcOffsetDays() {
  const platform::TimeZoneReading zone = CalendarSystem().readTimeZone();
  int64_t bias = zone.bias;
  switch (zone.result) {
    case platform::kTimeZoneIdUnknown:
      break;
    case platform::kTimeZoneIdStandard:
      bias += zone.standardBias;
      break;
    case platform::kTimeZoneIdDaylight:
      bias += zone.daylightBias;
      break;
    default:
      Raise(kException, "Failed attempting to retrieve time zone information.");
  }
  const int64_t minutes = bias < 0 ? -bias : bias;
  const double offset = static_cast<double>(minutes / 60 * 60 + minutes % 60) / 1440.0;
  return bias > 0 ? -offset : offset;
}

std::string GmtOffsetText(double offsetDays) {
  if (offsetDays == 0) return "GMT";
  // Whole minutes: the offset came from whole minutes, and rounding undoes
  // the binary fraction of the day.
  const auto minutes = static_cast<int64_t>(std::llround(std::fabs(offsetDays) * 1440.0));
  char text[32];
  std::snprintf(text, sizeof text, "%c%02lld%02lld", offsetDays > 0 ? '+' : '-',
                static_cast<long long>(minutes / 60), static_cast<long long>(minutes % 60));
  return text;
}

}  // namespace quillet
