// URL merging on its own: the host, port and path rules, the request target
// and the Host value, against hand-computed values.
#include <gtest/gtest.h>

#include <string>

#include "frame/Failure.h"
#include "net/UrlMerge.h"

namespace quillet {
namespace {

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

}  // namespace
}  // namespace quillet
