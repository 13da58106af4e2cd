// The network macros.
#pragma once

#include <string>

#include "frame/WrenAPI.h"

namespace quillet {

void HostNameMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);
void AttachUrlMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);
void PingMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);
void PutUrlMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);

}  // namespace quillet
