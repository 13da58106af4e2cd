// Clock and time zone on POSIX, from the C library's local time. The zone in
// force now is reported like a Windows reading: its whole offset as the bias,
// marked daylight or standard time.
#include <time.h>

#include "platform/Clock.h"

namespace quillet::platform {
namespace {

// The local broken-down time of a moment; tzset makes a changed TZ count,
// as localtime itself does.
bool LocalBrokenDown(time_t moment, tm& local) {
  tzset();
  return localtime_r(&moment, &local) != nullptr;
}

}  // namespace

LocalTime LocalNow() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  if (!LocalBrokenDown(now.tv_sec, local)) gmtime_r(&now.tv_sec, &local);
  return {local.tm_year + 1900,
          local.tm_mon + 1,
          local.tm_mday,
          local.tm_hour,
          local.tm_min,
          local.tm_sec > 59 ? 59 : local.tm_sec,
          static_cast<int32_t>(now.tv_nsec / 1'000'000)};
}

TimeZoneReading ReadTimeZone() {
  tm local{};
  if (!LocalBrokenDown(time(nullptr), local)) return {kTimeZoneIdInvalid, 0, 0, 0};
  const auto bias = static_cast<int32_t>(-local.tm_gmtoff / 60);
  return {local.tm_isdst > 0 ? kTimeZoneIdDaylight : kTimeZoneIdStandard, bias, 0, 0};
}

}  // namespace quillet::platform
