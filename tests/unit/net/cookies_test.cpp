// The cookie rules: domain matching, storage, selection, order and bounds,
// and the parsing of the attributes.
#include <gtest/gtest.h>

#include <string>

#include "net/Cookies.h"
#include "support/CalendarFakes.h"

namespace quillet {
namespace {

TEST(Cookies, DomainMatchingDoesNotLeak) {
  EXPECT_TRUE(DomainMatches("b.c", "b.c"));
  EXPECT_TRUE(DomainMatches("X.B.C", ".b.c"));
  EXPECT_TRUE(DomainMatches("x.b.c", "b.c"));
  EXPECT_FALSE(DomainMatches("x.b.com", "b.c"));
  EXPECT_FALSE(DomainMatches("xb.c", "b.c"));
  EXPECT_FALSE(DomainMatches("b.c", "x.b.c"));
  EXPECT_TRUE(DomainMatches("127.0.0.1", "127.0.0.1"));
  EXPECT_FALSE(DomainMatches("127.0.0.10", "127.0.0.1"));
  EXPECT_FALSE(DomainMatches("1.127.0.0.1", "127.0.0.1"));
  EXPECT_FALSE(DomainMatches("c", "."));
}

class CookieStoreRules : public testing::CalendarFakes {};

TEST_F(CookieStoreRules, StorageSelectionAndOrder) {
  CookieStore store;
  store.Store("a=1; Path=/", "www.shop.example");
  store.Store("b=2; Domain=shop.example; Path=/x", "www.shop.example");
  store.Store("c=3; Domain=.shop.example; Path=/x/y", "www.shop.example");
  store.Store("d=4; Domain=example; Path=/", "www.shop.example");
  store.Store("e=5; Domain=other.example; Path=/", "www.shop.example");
  store.Store("f=6; Domain=WWW.shop.example; Path=/", "www.shop.example");
  store.Store("g=7; Domain=0.0.1; Path=/", "127.0.0.1");
  store.Store("h=8; Path=/", "127.0.0.1");
  store.Store("A=9; Path=/", "www.shop.example");
  EXPECT_EQ(store.size(), 4u) << "a (replaced by A), b, c and h; d, e, f and g do not fit";
  EXPECT_EQ(store.CookieHeader("www.shop.example", "/x/y/z"), "c=3; b=2; A=9");
  EXPECT_EQ(store.CookieHeader("img.shop.example", "/x/"), "b=2")
      << "domain cookies reach siblings";
  EXPECT_EQ(store.CookieHeader("127.0.0.10", "/"), "");
  EXPECT_EQ(store.CookieHeader("127.0.0.1", "/"), "h=8");
}

TEST_F(CookieStoreRules, NoCookieForATopLevelDomainNorWithControlCharacters) {
  CookieStore store;
  for (const char* tld : {"t=1; Domain=com; Path=/", "u=1; Domain=.COM; Path=/"})
    store.Store(tld, "evil.com");
  store.Store("own=1; Domain=localhost; Path=/", "localhost");
  for (const std::string& bad :
       {std::string("sid=abc\rX-Injected: yes; Path=/"), std::string("n=a\0b; Path=/", 13)})
    store.Store(bad, "a.example");
  EXPECT_EQ(store.CookieHeader("victim.com", "/"), "");
  EXPECT_EQ(store.CookieHeader("localhost", "/"), "own=1") << "a single label from that host";
  EXPECT_EQ(store.size(), 1u);
}

TEST_F(CookieStoreRules, TheStoreIsBounded) {
  CookieStore store;
  for (int i = 0; i < 60; ++i) store.Store("n" + std::to_string(i) + "=v; Path=/", "a.example");
  EXPECT_EQ(store.size(), 50u);
  EXPECT_EQ(store.CookieHeader("a.example", "/").find("n9="), std::string::npos) << "oldest go";
  store.Store("big=" + std::string(5000, 'v') + "; Path=/", "a.example");
  EXPECT_EQ(store.CookieHeader("a.example", "/").find("big="), std::string::npos);
  for (int i = 0; i < 4000; ++i) store.Store("c=v; Path=/", "h" + std::to_string(i) + ".example");
  EXPECT_EQ(store.size(), 3000u);
}

TEST(Cookies, ParsingTheAttributes) {
  const SetCookie c = ParseSetCookie(" n = v=w ; PATH=\"/p\" ;secure; max-age=12; Domain=d; x");
  EXPECT_EQ(c.name, "n");
  EXPECT_EQ(c.value, "v=w");
  EXPECT_EQ(c.path, "/p");
  EXPECT_EQ(c.domain, "d");
  EXPECT_TRUE(c.secure);
  EXPECT_EQ(c.maxAge, 12);
  EXPECT_FALSE(c.hasExpires);
  EXPECT_FALSE(ParseSetCookie("n=v; Secure=no").secure);
  EXPECT_EQ(ParseSetCookie("n=v; Max-Age=soon").maxAge, -1);
}

}  // namespace
}  // namespace quillet
