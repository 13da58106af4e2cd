// The pieces of the HTTP client on their own: URL merging, the request bytes
// and their folding, the response parsers fed from memory, the cookie rules
// and the expiry reader, against hand-computed values and <chrono>.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>

#include "frame/Failure.h"
#include "net/CookieExpiry.h"
#include "net/Cookies.h"
#include "net/HttpRequest.h"
#include "net/HttpResponse.h"
#include "net/ResultText.h"
#include "net/UrlMerge.h"
#include "support/CalendarFakes.h"

namespace quillet {
namespace {

// Bytes in memory as a response source, handed out in pieces of one size.
class MemorySource final : public ByteSource {
 public:
  MemorySource(std::string bytes, size_t piece) : bytes_(std::move(bytes)), piece_(piece) {}
  std::string_view Peek() override {
    return std::string_view(bytes_).substr(at_, std::min(piece_, bytes_.size() - at_));
  }
  void Consume(size_t count) override { at_ += count; }
  size_t left() const { return bytes_.size() - at_; }

 private:
  std::string bytes_;
  size_t piece_;
  size_t at_ = 0;
};

class TextBody final : public BodySink {
 public:
  void Expect(uint64_t) override {}
  void Write(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

TEST(UrlMerge, HostPortAndPathRules) {
  CurrentUrl url;
  MergeUrl(url, "http://a.example:8080/dir/sub/page.html?x=1#top");
  EXPECT_EQ(RequestTarget(url), "/dir/sub/page.html?x=1");
  EXPECT_EQ(HostValue(url), "a.example:8080");
  MergeUrl(url, "../other//x/./y.html");
  EXPECT_EQ(RequestTarget(url), "/dir/other/x/./y.html") << "a relative URL keeps port 8080";
  EXPECT_EQ(HostValue(url), "a.example:8080");
  MergeUrl(url, "http://b.example/");
  EXPECT_EQ(HostValue(url), "b.example") << "a URL with :// takes its protocol's port";
  MergeUrl(url, "HTTPS://c.example/s");
  EXPECT_EQ(HostValue(url), "c.example:443");
  MergeUrl(url, "plain.html");
  EXPECT_EQ(HostValue(url), "c.example") << "http after a standard port goes to 80";
  EXPECT_EQ(url.protocol, "http");
  MergeUrl(url, "ftp://d.example:21/f");
  EXPECT_EQ(HostValue(url), "d.example:21");
  try {
    MergeUrl(url, "ftp://d.example/f");
    FAIL();
  } catch (const Failure& failure) {
    EXPECT_EQ(failure.kind(), "EIdUnknownProtocol");
    EXPECT_EQ(failure.message(), "");
  }
  MergeUrl(url, "http://e.example/a b\r\nX: y");
  EXPECT_EQ(RequestTarget(url), "/a%20b%0D%0AX:%20y") << "the request line cannot be split";
}

TEST(UrlMerge, ResolvingRelativePaths) {
  EXPECT_EQ(ResolvePath("", ""), "/");
  EXPECT_EQ(ResolvePath("/a/b/", "../"), "/a/");
  EXPECT_EQ(ResolvePath("/a/b", "c/"), "/a/b/c/");
  EXPECT_EQ(ResolvePath("/a/", "../../../x/"), "/x/");
  EXPECT_EQ(ResolvePath("//a///b/", "c"), "/a/b/c");
  EXPECT_EQ(ResolvePath("/a/", "./"), "/a/./");
}

TEST(HttpRequest, APlainGetAndALongCookieSentWhole) {
  EXPECT_EQ(BuildRequest("/x?y", "h:81", ""),
            "GET /x?y HTTP/1.1\r\nContent-Type: text/html\r\nHost: h:81\r\n"
            "Accept: text/html, */*\r\nUser-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n\r\n");
  std::string cookie;
  for (int i = 0; i < 4; ++i)
    cookie += (i ? "; c" : "c") + std::to_string(i) + "=" + std::string(500, 'v');
  const std::string request = BuildRequest("/", "h", cookie);
  EXPECT_NE(request.find("\r\nCookie: " + cookie + "\r\n\r\n"), std::string::npos)
      << "no folding (RFC 9112 section 5.2)";
}

TEST(HttpResponse, StatusLinesHeadersAndLookUp) {
  MemorySource source(
      "HTTP/1.1 100 Continue\n\nHTTP/1.1  201  Created here\r\nX-One: 1\nx-one: 2\r\n"
      "Folded:  a \r\n\t b\r\n  c\r\nContent-Length: 4\r\n\r\nbody",
      3);
  int heads = 0;
  ResponseHead head = ReadResponseHead(source, [&](const ResponseHead&) { ++heads; });
  EXPECT_EQ(heads, 2);
  EXPECT_EQ(head.statusLine, "HTTP/1.1  201  Created here");
  EXPECT_EQ(head.code, 201);
  EXPECT_TRUE(head.complete);
  EXPECT_EQ(FindHeader(head.headers, "X-ONE"), "1") << "the first line of a name counts";
  EXPECT_EQ(FindHeader(head.headers, "folded"), "a b c");
  EXPECT_EQ(FindHeader(head.headers, "Missing"), std::nullopt);
  TextBody body;
  EXPECT_TRUE(ReadBody(source, head, body));
  EXPECT_EQ(body.text, "body");
  EXPECT_EQ(source.left(), 0u);
  for (const auto& [line, code] :
       std::initializer_list<std::pair<const char*, int32_t>>{{"HTTP/1.1 404 Not Found", 404},
                                                              {"HTTP/1.1", -1},
                                                              {"HTTP/1.1 2x0", -1},
                                                              {"HTTP/1.0 99999999999 Big", -1},
                                                              {"X  200", 200}})
    EXPECT_EQ(StatusCode(line), code) << line;
}

TEST(HttpResponse, ChunkSizes) {
  EXPECT_EQ(ChunkSize("1a"), 26u);
  EXPECT_EQ(ChunkSize("FFFFFFFFFFFFFFFF"), UINT64_MAX);
  EXPECT_EQ(ChunkSize("10;x=y"), 16u);
  EXPECT_EQ(ChunkSize("10\tz"), 16u);
  EXPECT_EQ(ChunkSize("10 "), 16u);
  EXPECT_EQ(ChunkSize("10000000000000000"), std::nullopt);
  EXPECT_EQ(ChunkSize(" 10"), std::nullopt);
  EXPECT_EQ(ChunkSize("-1"), std::nullopt);
  EXPECT_EQ(ChunkSize(""), std::nullopt);
}

TEST(ResultText, ReservesLittleAheadAndStopsAtItsBound) {
  std::string text, small;
  ResultText(text).Expect(200000000);
  EXPECT_LE(text.capacity(), kResultReserveAhead + 64) << "a Content-Length reserves 16 MiB";
  EXPECT_THROW(ResultText(text).Expect(kResultTextLimit + 1), Failure);
  ResultText bounded(small, 1000);
  bounded.Write(std::string(1000, 'a'));
  EXPECT_THROW(bounded.Write("b"), Failure);
}

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

class ExpiryReader : public testing::CalendarFakes {
 protected:
  // The day value of a UTC moment, computed with <chrono> as the oracle.
  static double Utc(int y, unsigned m, unsigned d, int hh, int mm, int ss) {
    using namespace std::chrono;
    const sys_days date = year{y} / month{m} / day{d};
    const sys_days epoch = year{1899} / December / 30;
    return (date - epoch).count() + (hh * 3600 + mm * 60 + ss) / 86400.0;
  }
  static void ExpectNear(double a, double b) { EXPECT_NEAR(a, b, 0.5 / 86400) << a << " " << b; }
};

TEST_F(ExpiryReader, TheThreeFormsAndTheZones) {
  const double moment = Utc(1994, 11, 6, 8, 49, 37);
  ExpectNear(ReadExpiry("Sun, 06 Nov 1994 08:49:37 GMT"), moment);
  ExpectNear(ReadExpiry("Sunday, 06-Nov-94 08:49:37 GMT"), moment);
  ExpectNear(ReadExpiry("Sun Nov  6 08:49:37 1994"), moment);
  ExpectNear(ReadExpiry("  06 nov 2044 08:49:37 +0130 "), Utc(2044, 11, 6, 7, 19, 37));
  ExpectNear(ReadExpiry("06 Nov 2044 08:49:37 -0500"), Utc(2044, 11, 6, 13, 49, 37));
  ExpectNear(ReadExpiry("06 Nov 2044 08:49:37 +01x0"), Utc(2044, 11, 6, 8, 49, 37));
  ExpectNear(ReadExpiry("Thu, 01-Jan-70 00:00:00 GMT"), Utc(2070, 1, 1, 0, 0, 0));
  ExpectNear(ReadExpiry("Thu, 01-Jan-80 00:00:00 GMT"), Utc(1980, 1, 1, 0, 0, 0));
  EXPECT_EQ(ReadExpiry(""), 0);
  EXPECT_EQ(ReadExpiry("Sun, 06 November 1994 08:49:37 GMT"), 0) << "no such month";
  EXPECT_EQ(ReadExpiry("Sun, 31 Feb 1994 08:49:37 GMT"), 0);
  EXPECT_EQ(ReadExpiry("Sun, 06 Nov 1994 24:00:00 GMT"), 0);
  EXPECT_EQ(ReadExpiry("tomorrow"), 0);
  // Local time one hour east of UTC: the moment moves by that hour.
  testing::FakeSystem::zone = {platform::kTimeZoneIdStandard, -60, 0, 0};
  ExpectNear(ReadExpiry("Sun, 06 Nov 1994 08:49:37 GMT"), moment + 1.0 / 24);
  ExpectNear(ReadExpiry("Sun, 06 Nov 1994 08:49:37 +0100"), moment);
}

TEST_F(ExpiryReader, MaxAgeTextsReadBack) {
  testing::FakeSystem::zone = {platform::kTimeZoneIdStandard, -90, 0, 0};
  const double local = Utc(2026, 12, 8, 14, 30, 15);
  EXPECT_EQ(ExpiryText(local), "Tue, 8 Dec 2026 14:30:15 +0130");
  ExpectNear(ReadExpiry(ExpiryText(local)), local);
  EXPECT_EQ(ExpiryText(1e9).substr(0, 16), "Fri, 31 Dec 9999");
}

}  // namespace
}  // namespace quillet
