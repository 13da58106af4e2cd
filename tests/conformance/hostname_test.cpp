// HOSTNAME through the exports: what comes back unchanged, and the need for
// WRP_Initialize. The loopback lookup, with the system's resolver as the
// oracle, is in the platform folders.
#include <string>
#include <vector>

#include "support/Loaded.h"

namespace quillet::conformance {
namespace {

using HostNameMacro = WithComponentSet;

TEST_F(HostNameMacro, TextThatIsNoAddressComesBackUnchanged) {
  for (const char* text : {"mail.example.org", "1.2.3", "256.1.1.1", "1.2.3.x", "", "10.0.0"})
    EXPECT_EQ(Result("HOSTNAME", {text}), text);
  EXPECT_EQ(Result("HOSTNAME", {}), "") << "no parameter reads as empty text";
  EXPECT_EQ(Result("HOSTNAME", {"name.example", "127.0.0.1"}), "name.example")
      << "further parameters are ignored";
}

TEST_F(HostNameMacro, AnAddressWithABlankAfterItIsLookedUp) {
  EXPECT_EQ(Result("hostname", {"127.0.0.1 "}), Result("HOSTNAME", {"127.0.0.1"}));
}

TEST(HostNameOutsideInitialize, EndsTheCallWithAClearMessage) {
  host::HostProvider context;
  host::HostProvider params({"127.0.0.1"});
  const MacroRun run = Exec("HOSTNAME", context, params);
  EXPECT_TRUE(run.ended);
  EXPECT_NE(run.end.message.find("WRP_Initialize"), std::string::npos) << run.end.message;
  EXPECT_TRUE(context.setTextCalls().empty());
}

}  // namespace
}  // namespace quillet::conformance
