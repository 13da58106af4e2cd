// HOSTNAME through a replaced table of calls, and its need of the component
// set.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/Failure.h"
#include "frame/SetMakeUp.h"
#include "host/Provider.h"
#include "net/Address.h"
#include "net/NetMacros.h"
#include "support/SocketFakes.h"

namespace quillet {
namespace {

using testing::FakeSockets;

TEST_F(FakeSockets, HostNameLooksUpAddressesAndPassesOtherTextThrough) {
  EXPECT_EQ(HostName({" 127.0.0.1 ", "ignored"}), "host.example");
  EXPECT_EQ(HostName({"mail.example"}), "mail.example");
  EXPECT_EQ(HostName({"1.2.3"}), "1.2.3");
  EXPECT_EQ(HostName({"256.1.1.1"}), "256.1.1.1");
  EXPECT_EQ(HostName({}), "");
  // How blanks around the address convert is the system's own rule.
  const std::vector<std::string> expected = {
      "convert [ 127.0.0.1 ]", "reverse " + DottedAddress(system_.classicAddress(" 127.0.0.1 "))};
  EXPECT_EQ(asked, expected) << "the untrimmed text is converted; names are never looked up";
}

TEST_F(FakeSockets, AddressesTheConversionRejectsReachTheResolverAsAllOnes) {
  reverseError = platform::kWsaNoData;
  for (const char* text : {"1.2.3.4.5", "$7F.0.0.1"}) {
    asked.clear();
    try {
      HostName({text});
      FAIL() << text;
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.kind(), "EIdSocketError");
      EXPECT_EQ(failure.message(), "Socket Error # 11004\r\n");
    }
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[1], "reverse 255.255.255.255") << text;
  }
}

TEST(HostNameMacro, NeedsTheComponentSet) {
  FreeComponentSet();
  host::HostProvider context;
  host::HostProvider params({"127.0.0.1"});
  std::string result;
  EXPECT_THROW(HostNameMacro(&context, &params, result), Failure);
}

}  // namespace
}  // namespace quillet
