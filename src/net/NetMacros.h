// The network macros; PUTURL and ATTACHURL are in WebMacros.h.
#pragma once

#include <string>

#include "frame/WrenAPI.h"
#include "net/EchoStatus.h"

namespace quillet {

void HostNameMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);
void PingMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result);

// The reply lines of the current PING call: one process-wide text, so that a
// PING run by host code among the window messages writes into the same lines.
std::string& PingReplyText();

// The reply line of one echo, CR LF included.
std::string PingReplyLine(const EchoStatus& status);

}  // namespace quillet
