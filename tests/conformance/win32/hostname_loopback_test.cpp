// HOSTNAME of the loopback address gives the name Windows Sockets' resolver
// gives for it.
#include <winsock2.h>

#include "support/Loaded.h"

namespace quillet::conformance {
namespace {

TEST(HostNameLoopback, IsTheResolversName) {
  WSADATA data{};
  ASSERT_EQ(WSAStartup(MAKEWORD(2, 2), &data), 0);
  const u_long loopback = htonl(INADDR_LOOPBACK);
  const hostent* entry =
      gethostbyaddr(reinterpret_cast<const char*>(&loopback), sizeof loopback, AF_INET);
  ASSERT_NE(entry, nullptr) << WSAGetLastError();
  const std::string name = entry->h_name;
  WSACleanup();
  Initialize();
  EXPECT_EQ(Result("HOSTNAME", {"127.0.0.1"}), name);
  Finalize();
}

}  // namespace
}  // namespace quillet::conformance
