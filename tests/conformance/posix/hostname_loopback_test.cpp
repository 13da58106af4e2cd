// HOSTNAME of the loopback address gives the name the C library's resolver
// gives for it.
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include "support/Loaded.h"

namespace quillet::conformance {
namespace {

TEST(HostNameLoopback, IsTheResolversName) {
  sockaddr_in loopback{};
  loopback.sin_family = AF_INET;
  loopback.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  char name[NI_MAXHOST];
  ASSERT_EQ(getnameinfo(reinterpret_cast<const sockaddr*>(&loopback), sizeof loopback, name,
                        sizeof name, nullptr, 0, NI_NAMEREQD),
            0);
  Initialize();
  EXPECT_EQ(Result("HOSTNAME", {"127.0.0.1"}), name);
  Finalize();
}

}  // namespace
}  // namespace quillet::conformance
