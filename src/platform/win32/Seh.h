// The Windows build's structured-exception guard (i686/Seh.S), shared by the
// plug-in's fault containment and the host side.
#pragma once

#include <windows.h>

namespace quillet::platform {

// i686/Seh.S copies a caught exception's record as this many bytes.
static_assert(sizeof(EXCEPTION_RECORD) == 80);

// Runs call(argument) under an exception registration of its own; false when
// a structured exception ended it, whose record is then copied to caught
// (when caught is not null). Stack overflows and guard-page faults are not
// caught: they go on to the next handler. call must not let a C++ exception
// escape, which could not unwind through the guard.
extern "C" bool QuilletRunRegistered(void (*call)(void*), void* argument, EXCEPTION_RECORD* caught);

}  // namespace quillet::platform
