// The Windows build's structured-exception catcher, shared by the plug-in's
// fault containment and the host side.
#pragma once

#include <windows.h>

namespace quillet::platform {

// Runs call(argument) under an exception registration of its own; false when
// a structured exception ended it, whose record is then copied to caught
// (when caught is not null).
bool RunRegistered(void (*call)(void*), void* argument, EXCEPTION_RECORD* caught);

}  // namespace quillet::platform
