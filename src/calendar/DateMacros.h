// The five calendar macros.
#pragma once

#include <string>

#include "frame/WrenAPI.h"

namespace quillet {

void DayOfYearMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);
void WeekOfYearMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);
void IsoWeekOfYearMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);
void EasterSundayMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);
void LocalTzMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);

}  // namespace quillet
