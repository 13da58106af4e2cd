// The result text of a fetch: what it reserves ahead and its bound.
#include <gtest/gtest.h>

#include <string>

#include "frame/Failure.h"
#include "net/ResultText.h"

namespace quillet {
namespace {

TEST(ResultText, ReservesLittleAheadAndStopsAtItsBound) {
  std::string text, small;
  ResultText(text).Expect(200000000);
  EXPECT_LE(text.capacity(), kResultReserveAhead + 64) << "a Content-Length reserves 16 MiB";
  EXPECT_THROW(ResultText(text).Expect(kResultTextLimit + 1), Failure);
  ResultText bounded(small, 1000);
  bounded.Write(std::string(1000, 'a'));
  EXPECT_THROW(bounded.Write("b"), Failure);
}

}  // namespace
}  // namespace quillet
