// PUTURL and ATTACHURL: a web page's body as the result text, or downloaded
// into the temporary-files directory and attached by the host.
#pragma once

#include <string>
#include <string_view>

#include "frame/WrenAPI.h"

namespace quillet {

void PutUrlMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);
void AttachUrlMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);

// True when Windows would take document for something other than a plain
// file of the directory: empty, only dots and blanks, a reserved device
// name with or without an extension, or a character file names cannot hold.
bool IsRefusedFileName(std::string_view document);

}  // namespace quillet
