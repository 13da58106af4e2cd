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

template <typename Body>
auto AtBoundary(Body&& body) -> decltype(body()) {
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
