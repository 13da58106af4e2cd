// The computer's clock and time zone: the current local date and time, and
// the time-zone reading behind the offset of local time from UTC.
#pragma once

#include <cstdint>

namespace quillet::platform {

// A moment of the local calendar, to the millisecond.
struct LocalTime {
  int32_t year;
  int32_t month;   // 1 to 12
  int32_t day;     // 1 to 31
  int32_t hour;    // 0 to 23
  int32_t minute;  // 0 to 59
  int32_t second;  // 0 to 59
  int32_t millisecond;
};

// The local date and time now.
LocalTime LocalNow();

// The answers of GetTimeZoneInformation that the offset is computed from.
inline constexpr uint32_t kTimeZoneIdUnknown = 0;
inline constexpr uint32_t kTimeZoneIdStandard = 1;
inline constexpr uint32_t kTimeZoneIdDaylight = 2;
inline constexpr uint32_t kTimeZoneIdInvalid = 0xFFFFFFFF;

// Biases are minutes, UTC minus local time.
struct TimeZoneReading {
  uint32_t result;
  int32_t bias;
  int32_t standardBias;
  int32_t daylightBias;
};

TimeZoneReading ReadTimeZone();

}  // namespace quillet::platform
