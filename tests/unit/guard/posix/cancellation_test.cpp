// A thread cancelled while inside a guarded host call or an export unwinds to
// its end: the guard and the boundary let the cancellation's unwinding pass
// instead of swallowing it (which would abort the whole process).
#include <gtest/gtest.h>
#include <pthread.h>
#include <unistd.h>

#include <string>

#include "frame/Boundary.h"
#include "platform/Fault.h"

namespace quillet {
namespace {

// Waits in a cancellation point until the thread is cancelled.
[[noreturn]] void WaitForCancellation() {
  for (;;) pause();
}

// Runs body on a thread of its own, cancels it and answers whether it ended
// as a cancelled thread.
bool EndsCancelled(void* (*body)(void*)) {
  pthread_t thread;
  if (pthread_create(&thread, nullptr, body, nullptr) != 0) return false;
  pthread_cancel(thread);
  void* result = nullptr;
  pthread_join(thread, &result);
  return result == PTHREAD_CANCELED;
}

TEST(Cancellation, PassesThroughAGuardedHostCall) {
  EXPECT_TRUE(EndsCancelled([](void*) -> void* {
    std::string failure;
    platform::CallCatchingHostFailure([](void*) { WaitForCancellation(); }, nullptr, failure);
    return nullptr;
  }));
}

TEST(Cancellation, PassesThroughTheExportBoundary) {
  EXPECT_TRUE(EndsCancelled([](void*) -> void* {
    AtBoundary([] { WaitForCancellation(); });
    return nullptr;
  }));
}

}  // namespace
}  // namespace quillet
