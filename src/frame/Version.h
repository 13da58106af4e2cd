// The version text, the information page and the QLVERSION macro.
#pragma once

#include <string>

#include "frame/WrenAPI.h"

namespace quillet {

// When the entry named path was last written, in local time, as a date value
// (days since 30 December 1899, the time of day as fraction) in the 2-second
// form of file dates; 0 when there is no such entry or its time lies outside
// the years 1980 to 2107 that file dates hold.
double FileStampTime(const std::string& path);

// "0.3.21 /N/" (kVersionNumber, then N): N is the time of the stamp file (the fixed path
// "c:\Program Files\Wrenmail\adds\wrp\Quillet.WRP") as yymmddhhnn, read
// as a decimal number and written in upper-case hexadecimal. Built anew on
// every call.
std::string GetVersionText();

// The HTML information page of WRP_GetInfo, built anew on every call.
std::string GetInfoPage();

// QLVERSION [MODE]: the version ("n", the default), the short version ("s"),
// or the version and the macros that work ("v") or all macros with their
// descriptions ("vv").
void QlVersionMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);

}  // namespace quillet
