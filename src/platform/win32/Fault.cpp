// Fault containment for the Windows build: structured exceptions caught on the
// plug-in's side of every host call, and the abnormal end raised as one.
#include "platform/Fault.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "platform/win32/Seh.h"

namespace quillet::platform {
namespace {

struct CopyJob {
  void* destination;
  const void* source;
  size_t size;
};

}  // namespace

bool GuardedCopy(void* destination, const void* source, size_t size) {
  CopyJob job{destination, source, size};
  return QuilletRunRegistered(
      [](void* argument) {
        auto* copy = static_cast<CopyJob*>(argument);
        std::memcpy(copy->destination, copy->source, copy->size);
      },
      &job, nullptr);
}

bool CallCatchingHostFailure(void (*call)(void* argument), void* argument, std::string& failure) {
  EXCEPTION_RECORD record{};
  if (QuilletRunRegistered(call, argument, &record)) return true;
  char text[40];
  std::snprintf(text, sizeof text, "External exception %08lX",
                static_cast<unsigned long>(record.ExceptionCode));
  failure = text;
  return false;
}

void EndHostCall(const char* kind, const char* message, size_t length) {
  const ULONG_PTR information[kAbnormalEndArgs] = {reinterpret_cast<ULONG_PTR>(message),
                                                   static_cast<ULONG_PTR>(length),
                                                   reinterpret_cast<ULONG_PTR>(kind)};
  RaiseException(kAbnormalEndCode, EXCEPTION_NONCONTINUABLE, kAbnormalEndArgs, information);
  __builtin_unreachable();  // a non-continuable exception never returns here
}

}  // namespace quillet::platform
