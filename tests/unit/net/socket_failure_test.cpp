// The socket error texts and the failure they raise.
#include <gtest/gtest.h>

#include "frame/Failure.h"
#include "net/SocketFailure.h"

namespace quillet {
namespace {

TEST(SocketError, MessagesCarryTheNumberAndItsText) {
  EXPECT_EQ(SocketErrorMessage(10061), "Socket Error # 10061\r\nConnection refused.");
  EXPECT_EQ(SocketErrorMessage(10035), "Socket Error # 10035\r\nOperation would block. ");
  EXPECT_EQ(SocketErrorMessage(10066), "Socket Error # 10066\r\nDirectory not empty");
  EXPECT_EQ(SocketErrorMessage(11001), "Socket Error # 11001\r\n") << "resolver numbers have none";
  EXPECT_EQ(SocketErrorMessage(10003), "Socket Error # 10003\r\n");
  try {
    RaiseSocketError(10060);
    FAIL();
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.kind(), "EIdSocketError");
    EXPECT_EQ(failure.message(), "Socket Error # 10060\r\nConnection timed out.");
  }
}

}  // namespace
}  // namespace quillet
