// What a host of the plug-in needs from the operating system: loading the
// library, calling into it with its abnormal end caught, and failing a
// provider call the way a real host does. Implemented once per platform
// (host/win32, host/posix, chosen by CMake) for the reference host and the
// tests; the plug-in itself never contains it.
#pragma once

#include <string>

namespace quillet::host {

// The plug-in file that sits beside the running program.
std::string DefaultPluginPath();

// Null on failure, with the system's reason in error.
void* OpenLibrary(const std::string& path, std::string& error);
void* FindExport(void* library, const char* name);
void CloseLibrary(void* library);

struct AbnormalEnd {
  std::string kind;
  std::string message;
};

// Runs call(argument); false when the plug-in ended the call abnormally (or
// crashed inside it), with what it said in end.
bool CallPlugin(void (*call)(void* argument), void* argument, AbnormalEnd& end);

// Fails the provider call in progress as the host's own runtime would.
[[noreturn]] void RaiseHostFailure(const char* message);

// Standard output takes bytes as they are (no newline translation).
void SetBinaryStdout();

}  // namespace quillet::host
