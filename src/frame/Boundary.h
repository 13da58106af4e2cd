// The export boundary: the only place where failures are caught. A failure
// inside an export is remembered in storage of static duration and, once
// every object of the call is gone, turned into the host's abnormal end.
#pragma once

#include <cxxabi.h>

#include "platform/Fault.h"

namespace quillet {

struct RememberedFailure {
  const char* kind;
  const char* message;
  size_t length;
};

// Keeps the failure being handled (call only inside a catch block); the texts
// stay valid until the next failure. Allocates nothing it cannot do without:
// when the failure's own texts cannot be kept, static ones stand in.
RememberedFailure RememberCurrentFailure() noexcept;

// A thread's cancellation unwinds as abi::__forced_unwind, which has no object
// to bind to: the sanitizer's null check would report the handler's binding,
// also once the handler is inlined into a caller that is checked.
template <typename Body>
__attribute__((no_sanitize("null"), noinline)) auto AtBoundary(Body&& body) -> decltype(body()) {
  RememberedFailure failure{};
  try {
    return body();
  } catch (const abi::__forced_unwind&) {
    throw;  // a cancelled thread unwinds to its end, through the host as well
  } catch (...) {
    failure = RememberCurrentFailure();
  }
  platform::EndHostCall(failure.kind, failure.message, failure.length);
}

}  // namespace quillet
