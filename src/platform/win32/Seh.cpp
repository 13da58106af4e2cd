// Structured exception handling for a compiler without __try: an exception
// registration record of our own on the frame chain, whose handler unwinds the
// frames above it and lands back in the registering function.
#include "platform/win32/Seh.h"

#include <cstdint>

namespace quillet::platform {
namespace {

constexpr DWORD kUnwindFlags = 0x2 | 0x4;  // EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND

struct Registration {
  Registration* previous;
  void* handler;
  void* landing[5];  // __builtin_setjmp buffer
  EXCEPTION_RECORD* caught;
};

extern "C" EXCEPTION_DISPOSITION __cdecl CatchEverything(EXCEPTION_RECORD* record, void* frame,
                                                         CONTEXT*, void*) {
  if ((record->ExceptionFlags & kUnwindFlags) != 0) return ExceptionContinueSearch;
  auto* registration = static_cast<Registration*>(frame);
  if (registration->caught != nullptr) *registration->caught = *record;
  // Let every frame between the fault and ours run its termination handlers,
  // which also leaves our record on top of the chain.
  RtlUnwind(frame, nullptr, record, nullptr);
  __builtin_longjmp(registration->landing, 1);
}

Registration* TopRegistration() {
  return reinterpret_cast<Registration*>(static_cast<uintptr_t>(__readfsdword(0)));
}

void SetTopRegistration(Registration* registration) {
  __writefsdword(0, static_cast<DWORD>(reinterpret_cast<uintptr_t>(registration)));
}

}  // namespace

__attribute__((noinline)) bool RunRegistered(void (*call)(void*), void* argument,
                                             EXCEPTION_RECORD* caught) {
  Registration registration{};
  registration.caught = caught;
  registration.handler = reinterpret_cast<void*>(&CatchEverything);
  registration.previous = TopRegistration();
  if (__builtin_setjmp(registration.landing) != 0) {
    SetTopRegistration(registration.previous);
    return false;
  }
  SetTopRegistration(&registration);
  call(argument);
  SetTopRegistration(registration.previous);
  return true;
}

}  // namespace quillet::platform
