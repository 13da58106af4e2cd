// The network macros; PUTURL and ATTACHURL are in WebMacros.h.
#pragma once

#include <string>

#include "frame/WrenAPI.h"

namespace quillet {

void HostNameMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);
void PingMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);

}  // namespace quillet
