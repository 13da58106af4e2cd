// The version text, the information page and the QLVERSION macro.
#pragma once

#include <string>

#include "frame/WrenAPI.h"

namespace quillet {

// The version text of WRP_GetVersion, built anew on every call.
std::string GetVersionText();

// The HTML information page of WRP_GetInfo, built anew on every call.
std::string GetInfoPage();

void QlVersionMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);

}  // namespace quillet
