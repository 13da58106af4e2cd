// The export boundary: every failure of an export becomes the host's abnormal
// end with its kind and exact message, caught on the host's side.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "frame/Boundary.h"
#include "frame/Failure.h"
#include "host/Plugin.h"

namespace quillet {
namespace {

host::AbnormalEnd EndOf(void (*fail)()) {
  host::AbnormalEnd end;
  EXPECT_FALSE(host::CallGuarded([&] { AtBoundary([&] { fail(); }); }, end));
  return end;
}

TEST(Boundary, EveryFailureBecomesAnAbnormalEndWithKindAndMessage) {
  auto end = EndOf([] { Raise(kEConvertError, "'x' is not a valid date"); });
  EXPECT_EQ(end.kind, "EConvertError");
  EXPECT_EQ(end.message, "'x' is not a valid date");

  end = EndOf([] { throw std::bad_alloc(); });
  EXPECT_EQ(end.kind, "EOutOfMemory");
  EXPECT_EQ(end.message, "Out of memory");

  end = EndOf([] { throw std::length_error("too long"); });
  EXPECT_EQ(end.kind, "Exception");
  EXPECT_EQ(end.message, "too long");

  end = EndOf([] { throw 42; });
  EXPECT_EQ(end.kind, "Exception");
  EXPECT_EQ(end.message, "Unknown failure inside Quillet");
}

TEST(Boundary, AMessageWithZeroBytesKeepsItsLength) {
  const auto end = EndOf([] { Raise("EIdSocketError", std::string("a\0b", 3)); });
  EXPECT_EQ(end.message, std::string("a\0b", 3));
}

TEST(Boundary, AnswersPassThroughWhenNothingFails) {
  host::AbnormalEnd end;
  int answer = 0;
  for (int i = 0; i < 1000; ++i) {
    ASSERT_TRUE(host::CallGuarded([&] { answer = AtBoundary([i] { return i + 1; }); }, end));
    ASSERT_EQ(answer, i + 1);
    ASSERT_FALSE(host::CallGuarded([] { AtBoundary([] { Raise(kException, "x"); }); }, end));
  }
}

}  // namespace
}  // namespace quillet
