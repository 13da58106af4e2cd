// The Windows build's structured-exception guard, one assembly file per
// processor (i686/Seh.S: a registration on the thread's frame chain;
// x86_64/Seh.S: a handler named in the unwind tables), shared by the
// plug-in's fault containment and the host side.
#pragma once

#include <windows.h>

namespace quillet::platform {

// Seh.S copies a caught exception's record as this many bytes.
#if defined(__x86_64__)
static_assert(sizeof(EXCEPTION_RECORD) == 152);
#else
static_assert(sizeof(EXCEPTION_RECORD) == 80);
#endif

// Runs call(argument) under an exception handler of its own; false when
// a structured exception ended it, whose record is then copied to caught
// (when caught is not null). Stack overflows and guard-page faults are not
// caught: they go on to the next handler. call must not let a C++ exception
// escape, which could not unwind through the guard.
extern "C" bool QuilletRunRegistered(void (*call)(void*), void* argument, EXCEPTION_RECORD* caught);

}  // namespace quillet::platform
