// Regional date settings on Windows, from GetLocaleInfoA for the user's
// default locale; the user's own overrides (HKCU "Control Panel\International")
// come through it.
#include <windows.h>

#include "platform/Locale.h"

namespace quillet::platform {
namespace {

// The item's text, or fallback when the system has none.
std::string LocaleText(LCTYPE item, const char* fallback) {
  char text[256] = {};
  const int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, item, text, sizeof text);
  if (length <= 1) return fallback;  // the count includes the terminating zero
  return std::string(text, static_cast<size_t>(length - 1));
}

}  // namespace

ShortDateSettings ReadShortDateSettings() {
  ShortDateSettings settings;
  settings.format = LocaleText(LOCALE_SSHORTDATE, "M/d/yy");
  settings.separator = LocaleText(LOCALE_SDATE, "/")[0];
  for (int i = 0; i < 12; ++i) {
    settings.shortMonthNames[i] = LocaleText(LOCALE_SABBREVMONTHNAME1 + i, "");
    settings.longMonthNames[i] = LocaleText(LOCALE_SMONTHNAME1 + i, "");
  }
  // The system numbers days from Monday; the settings start with Sunday.
  for (int i = 0; i < 7; ++i) {
    const int system = (i + 6) % 7;
    settings.shortDayNames[i] = LocaleText(LOCALE_SABBREVDAYNAME1 + system, "");
    settings.longDayNames[i] = LocaleText(LOCALE_SDAYNAME1 + system, "");
  }
  return settings;
}

}  // namespace quillet::platform
