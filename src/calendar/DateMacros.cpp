// The five calendar macros.
#include "calendar/DateMacros.h"

#include "frame/Macros.h"

namespace quillet {

void DayOfYearMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("DAYOFYEAR");
}
void WeekOfYearMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("WEEKOFYEAR");
}
void IsoWeekOfYearMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("ISOWEEKOFYEAR");
}
void EasterSundayMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("EASTERSUNDAY");
}
void LocalTzMacro(IWRPDataProvider*, IWRPDataProvider*, std::string&) {
  RaiseNotBuilt("LOCALTZ");
}

}  // namespace quillet
