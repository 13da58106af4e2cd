// The HASH macro.
#pragma once

#include <string>

#include "frame/WrenAPI.h"

namespace quillet {

void HashMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);

}  // namespace quillet
