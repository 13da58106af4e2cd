// The HTTP client's current URL and how each requested URL is merged into
// it: the resolved path, the protocol and port rules, the request target and
// the Host header value.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

inline constexpr const char* kEIdUnknownProtocol = "EIdUnknownProtocol";

// The parts of the current URL that a request uses; kept between requests.
struct CurrentUrl {
  std::string protocol;
  std::string host;
  std::string port = "80";
  std::string path;
  std::string document;
  std::string parameters;
};

// Merges url into current. A URL with "://" names its host (an empty one
// keeps the current host) and its port, or its protocol's default port; a URL
// without "://" keeps the current host and, unless it is a standard one, the
// current port, and its path is resolved against the current path; it is an
// http URL unless keepProtocol, when it keeps the current protocol. Raises
// EIdUnknownProtocol for a protocol other than http and https that needs its
// default port.
void MergeUrl(CurrentUrl& current, std::string_view url, bool keepProtocol = false);

// A relative path resolved against base: joined with one "/", runs of "/"
// collapsed, each ".." segment removed with the segment before it.
std::string ResolvePath(std::string_view base, std::string_view relative);

// Path, document and parameters; bytes that would break the request line
// (control characters and the blank) are percent-encoded.
std::string RequestTarget(const CurrentUrl& url);

// The host alone for the port text "80", else host ":" port.
std::string HostValue(const CurrentUrl& url);

}  // namespace quillet
