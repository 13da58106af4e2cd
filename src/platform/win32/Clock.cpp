// Clock and time zone on Windows: GetLocalTime and GetTimeZoneInformation.
#include <windows.h>

#include "platform/Clock.h"

namespace quillet::platform {

LocalTime LocalNow() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
}

TimeZoneReading ReadTimeZone() {
  TIME_ZONE_INFORMATION zone{};
  const DWORD result = GetTimeZoneInformation(&zone);
  return {static_cast<uint32_t>(result), static_cast<int32_t>(zone.Bias),
          static_cast<int32_t>(zone.StandardBias), static_cast<int32_t>(zone.DaylightBias)};
}

}  // namespace quillet::platform
