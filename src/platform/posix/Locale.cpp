// Regional date settings on POSIX: the user's LC_TIME locale as the
// environment names it (LC_ALL, LC_TIME, LANG), opened as a locale object of
// its own. The process's current locale is never changed: the plug-in lives
// in the host's process and must not call setlocale.
#include <langinfo.h>
#include <locale.h>

#include "platform/Locale.h"
#include "platform/posix/StrftimeDate.h"

namespace quillet::platform {

ShortDateSettings ReadShortDateSettings() {
  // A locale that the environment names but the system lacks reads as "C".
  locale_t user = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0))
    user = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
  if (user == static_cast<locale_t>(0)) return {"MM/dd/yy", '/', {}, {}, {}, {}};

  ShortDateSettings settings;
  const std::string dateFormat = nl_langinfo_l(D_FMT, user);
  settings.format = ShortDateFormatFromStrftime(dateFormat);
  settings.separator = DateSeparatorFromStrftime(dateFormat);
  for (int i = 0; i < 12; ++i) {
    settings.shortMonthNames[i] = nl_langinfo_l(ABMON_1 + i, user);
    settings.longMonthNames[i] = nl_langinfo_l(MON_1 + i, user);
  }
  for (int i = 0; i < 7; ++i) {
    settings.shortDayNames[i] = nl_langinfo_l(ABDAY_1 + i, user);
    settings.longDayNames[i] = nl_langinfo_l(DAY_1 + i, user);
  }
  freelocale(user);
  return settings;
}

}  // namespace quillet::platform
