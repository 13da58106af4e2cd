// The development build reports socket failures in Windows Sockets numbers:
// the errno values Linux gives, read as the numbers the texts are written
// for.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/posix/WsaNumbers.h"

namespace quillet::platform {
namespace {

TEST(WsaNumbers, EachErrnoValueReadsAsItsWindowsSocketsNumber) {
  struct Case {
    int error;
    int wsa;
    const char* name;
  };
  const Case cases[] = {
      {EINTR, 10004, "WSAEINTR"},
      {EBADF, 10009, "WSAEBADF"},
      {EACCES, 10013, "WSAEACCES"},
      {EPERM, 10013, "WSAEACCES too"},
      {EINVAL, 10022, "WSAEINVAL"},
      {EMFILE, 10024, "WSAEMFILE"},
      {ENFILE, 10024, "WSAEMFILE too"},
      {EWOULDBLOCK, 10035, "WSAEWOULDBLOCK"},
      {EINPROGRESS, 10036, "WSAEINPROGRESS"},
      {ENOTSOCK, 10038, "WSAENOTSOCK"},
      {EMSGSIZE, 10040, "WSAEMSGSIZE"},
      {ENOPROTOOPT, 10042, "WSAENOPROTOOPT"},
      {EAFNOSUPPORT, 10047, "WSAEAFNOSUPPORT"},
      {EADDRINUSE, 10048, "WSAEADDRINUSE"},
      {ENETDOWN, 10050, "WSAENETDOWN"},
      {ENETUNREACH, 10051, "WSAENETUNREACH"},
      {ECONNABORTED, 10053, "WSAECONNABORTED"},
      {ECONNRESET, 10054, "WSAECONNRESET"},
      {EPIPE, 10054, "WSAECONNRESET too"},
      {ENOBUFS, 10055, "WSAENOBUFS"},
      {ENOMEM, 10055, "WSAENOBUFS too"},
      {ENOTCONN, 10057, "WSAENOTCONN"},
      {ETIMEDOUT, 10060, "WSAETIMEDOUT"},
      {ECONNREFUSED, 10061, "WSAECONNREFUSED"},
      {EHOSTDOWN, 10064, "WSAEHOSTDOWN"},
      {EHOSTUNREACH, 10065, "WSAEHOSTUNREACH"},
      {ENOTEMPTY, 10066, "WSAENOTEMPTY"},
      {ENOENT, ENOENT, "no counterpart: passed on as it is"},
      {0, 0, "no error"},
  };
  for (const Case& c : cases) EXPECT_EQ(WsaErrorFromErrno(c.error), c.wsa) << c.name;
}

}  // namespace
}  // namespace quillet::platform
