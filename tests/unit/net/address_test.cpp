// The address check and host resolution through a replaced table of calls.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/Failure.h"
#include "net/Address.h"
#include "support/SocketFakes.h"

namespace quillet {
namespace {

using testing::FakeSockets;

constexpr platform::Ipv4Address kLoopback = 0x7F000001;

TEST(LooksLikeIPv4, ReadsFieldsWithTheRunTimeLibrarysIntegerSyntax) {
  struct Case {
    const char* text;
    bool address;
  };
  const Case cases[] = {
      {"127.0.0.1", true},   {" \t10.0.0.1 \r\n", true},
      {"10.0.0.1.5", true},  {"1.2.3.4.x", true},
      {"10.0.0", false},     {"10.0.0.256", false},
      {"1.2.3.", false},     {"", false},
      {"a.b.c.d", false},    {"$7F.0.0.1", true},
      {"x7f.0.0.1", true},   {"X7F.0.0.1", true},
      {"0x7F.0.0.1", true},  {"0XfF.0.0.1", true},
      {"$100.0.0.1", false}, {"0x.0.0.1", false},
      {"$.0.0.1", false},    {"1. 2.  3.4", true},
      {"1 .2.3.4", false},   {"+1.-0.0.1", true},
      {"-1.0.0.1", false},   {"1.2.3.4 5", false},
      {"007.0.0.1", true},   {"99999999999999999999.0.0.1", false},
      {"1..2.3", false},     {"0x1g.0.0.1", false},
      {"1.2.3.+", false},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksLikeIPv4(c.text), c.address) << c.text;
}

TEST_F(FakeSockets, HostResolutionAsksTheResolverOnlyForNames) {
  EXPECT_EQ(ResolveHost("LocalHost"), kLoopback);
  EXPECT_EQ(ResolveHost("192.168.010.1"), 0xC0A80801u) << "the classic conversion reads octal";
  EXPECT_EQ(ResolveHost("mail.example"), 0x0A000001u);
  EXPECT_EQ(ResolveHost("1.2.3.4.5"), 0x0A000001u) << "five fields are a name";
  const std::vector<std::string> expected = {"convert [192.168.010.1]", "resolve mail.example",
                                             "resolve 1.2.3.4.5"};
  EXPECT_EQ(asked, expected);
  resolveError = platform::kWsaHostNotFound;
  try {
    ResolveHost("nowhere.example");
    FAIL();
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.kind(), "EIdSocketError");
    EXPECT_EQ(failure.message(), "Socket Error # 11001\r\n");
  }
}

}  // namespace
}  // namespace quillet
