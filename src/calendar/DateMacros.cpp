// The five calendar macros: DAYOFYEAR, WEEKOFYEAR, ISOWEEKOFYEAR,
// EASTERSUNDAY and LOCALTZ.
#include "calendar/DateMacros.h"

#include <optional>
#include <string>

#include "calendar/Calendar.h"
#include "calendar/DateStamp.h"
#include "calendar/DateText.h"
#include "calendar/SystemCalls.h"
#include "calendar/TimeZone.h"
#include "frame/ComponentSet.h"
#include "frame/Macros.h"

namespace quillet {
namespace {

// The date of a day-or-week macro: now without a parameter, the parsed date
// text with one, nothing for any other count.
std::optional<double> DateOfCall(IWRPDataProvider* params) {
  switch (GetParamCount(params)) {
    case 0:
      return NowDateValue();
    case 1:
      return ParseDateText(GetParamStr(params, 0), CalendarSystem().readShortDateSettings(),
                           CalendarSystem().localNow().year);
    default:
      return std::nullopt;
  }
}

// Sets the component set's date stamp to the date of the call; null when the
// parameter count is wrong.
DateStamp* StampOfCall(IWRPDataProvider* params) {
  const std::optional<double> date = DateOfCall(params);
  if (!date) return nullptr;
  DateStamp& stamp = LiveComponent<DateStamp>();
  stamp.SetFromDateValue(*date);
  return &stamp;
}

}  // namespace

void DayOfYearMacro(IWRPDataProvider*, IWRPDataProvider* params, std::string& result) {
  const DateStamp* stamp = StampOfCall(params);
  result = stamp ? std::to_string(stamp->DayOfYear()) : std::string(kWrongParamCount);
}

void WeekOfYearMacro(IWRPDataProvider*, IWRPDataProvider* params, std::string& result) {
  const DateStamp* stamp = StampOfCall(params);
  result = stamp ? std::to_string(stamp->WeekOfYear()) : std::string(kWrongParamCount);
}

void IsoWeekOfYearMacro(IWRPDataProvider*, IWRPDataProvider* params, std::string& result) {
  const std::optional<double> date = DateOfCall(params);
  result = date ? std::to_string(IsoWeekOfDate(*date)) : std::string(kWrongParamCount);
}

void EasterSundayMacro(IWRPDataProvider*, IWRPDataProvider* params, std::string& result) {
  result =
      FormatShortDate(EasterDate(GetParamInt(params, 0)), CalendarSystem().readShortDateSettings());
}

void LocalTzMacro(IWRPDataProvider*, IWRPDataProvider*, std::string& result) {
  result = GmtOffsetText(UtcOffsetDays());
}

}  // namespace quillet
