// The guard around copies into host memory and calls into the host: what it
// refuses, what it reports, and that its caller goes on unharmed, many times
// over.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "host/Host.h"
#include "platform/Fault.h"

namespace quillet {
namespace {

// Constant data, which neither system lets anyone write.
const char kReadOnly[16] = "read-only";

TEST(GuardedCopy, WritesWhatCanBeWrittenAndRefusesTheRest) {
  char buffer[8] = "xxxxxxx";
  EXPECT_TRUE(platform::GuardedCopy(buffer, "abc", 3));
  EXPECT_EQ(std::string(buffer, 7), "abcxxxx");
  for (int i = 0; i < 1000; ++i)
    ASSERT_FALSE(platform::GuardedCopy(const_cast<char*>(kReadOnly), "abc", 3)) << i;
  EXPECT_STREQ(kReadOnly, "read-only");
  EXPECT_FALSE(platform::GuardedCopy(reinterpret_cast<void*>(uintptr_t{16}), "abc", 3));
  EXPECT_TRUE(platform::GuardedCopy(buffer + 3, "def", 3));
  EXPECT_EQ(std::string(buffer, 7), "abcdefx");
}

TEST(CallCatchingHostFailure, AHostFailureIsDescribedAndTheCallerGoesOn) {
  int calls = 0;
  std::string failure;
  for (int i = 0; i < 1000; ++i) {
    ASSERT_FALSE(platform::CallCatchingHostFailure(
        [](void* counter) {
          ++*static_cast<int*>(counter);
          host::RaiseHostFailure("List index out of bounds");
        },
        &calls, failure));
  }
  EXPECT_EQ(calls, 1000);
  EXPECT_FALSE(failure.empty());
  failure.clear();
  EXPECT_TRUE(platform::CallCatchingHostFailure(
      [](void* counter) { ++*static_cast<int*>(counter); }, &calls, failure));
  EXPECT_EQ(calls, 1001);
  EXPECT_TRUE(failure.empty());
}

// Six values live across a guarded copy that faults: more than the scratch
// registers hold, so the compiler keeps some in the ones a call must keep.
__attribute__((noinline)) uint32_t MixedAcrossAFault(uint32_t seed) {
  const uint32_t a = seed * 3 + 1, b = seed ^ 0x5A5A5A5Au, c = seed * seed, d = ~seed,
                 e = seed << 3, f = seed + 77;
  if (platform::GuardedCopy(const_cast<char*>(kReadOnly), &seed, 1)) return 0;
  return a ^ (b * 3) ^ (c * 5) ^ (d * 7) ^ (e * 11) ^ (f * 13);
}

TEST(GuardedCopy, TheCallersValuesSurviveAFault) {
  for (uint32_t seed = 1; seed < 200; seed += 7) {
    const uint32_t a = seed * 3 + 1, b = seed ^ 0x5A5A5A5Au, c = seed * seed, d = ~seed,
                   e = seed << 3, f = seed + 77;
    ASSERT_EQ(MixedAcrossAFault(seed), a ^ (b * 3) ^ (c * 5) ^ (d * 7) ^ (e * 11) ^ (f * 13))
        << seed;
  }
}

}  // namespace
}  // namespace quillet
