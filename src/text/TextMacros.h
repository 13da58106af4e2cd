// The text and URL macros.
#pragma once

#include <string>

#include "frame/WrenAPI.h"

namespace quillet {

void EncodeUrlMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);
void ConvertUrlMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);
void XFaceMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);
void FolderPathMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);

}  // namespace quillet
