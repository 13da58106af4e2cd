// The request bytes and their folding, against hand-written requests.
#include <gtest/gtest.h>

#include <string>

#include "net/HttpRequest.h"

namespace quillet {
namespace {

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

}  // namespace
}  // namespace quillet
