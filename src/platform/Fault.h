// Fault containment at the host boundary: copying into memory the host owns,
// calling into the host, and ending a host call abnormally. Each platform
// catches faults in its own way (structured exceptions on Windows, C++
// exceptions and system-call checks on POSIX).
#pragma once

#include <cstddef>
#include <string>

namespace quillet::platform {

// Copies size bytes to destination; false when destination cannot be written.
bool GuardedCopy(void* destination, const void* source, size_t size);

// Runs call(argument); false when the call failed with whatever the host
// raises (a structured exception on Windows, a C++ exception on POSIX), which
// is then described in failure.
bool CallCatchingHostFailure(void (*call)(void* argument), void* argument, std::string& failure);

// Ends the current host call abnormally with the given kind and message. Both
// texts must live in storage that outlives the call (the host may read them
// after this returns control to it). Called only when no C++ object of the
// call is alive any more.
[[noreturn]] void EndHostCall(const char* kind, const char* message, size_t length);

}  // namespace quillet::platform
