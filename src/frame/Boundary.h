// The export boundary: the only place where failures are caught. A failure
// inside an export is remembered in storage of static duration and, once
// every object of the call is gone, turned into the host's abnormal end.
#pragma once

#include <utility>

#include "platform/Fault.h"

namespace quillet {

struct RememberedFailure {
  const char* kind;
  const char* message;
  size_t length;
};

// Keeps the failure being handled (call only inside a catch block); the texts
// stay valid until the next failure.
RememberedFailure RememberCurrentFailure() noexcept;

template <typename Body>
auto AtBoundary(Body&& body) -> decltype(body()) {
  RememberedFailure failure{};
  try {
    return body();
  } catch (...) {
    failure = RememberCurrentFailure();
  }
  platform::EndHostCall(failure.kind, failure.message, failure.length);
}

}  // namespace quillet
