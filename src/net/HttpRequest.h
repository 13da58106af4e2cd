// The bytes of one GET request: the request line, the fixed headers in their
// order and the cookies, each header line sent whole.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// What the client says about itself and what it accepts, on every request.
inline constexpr std::string_view kRequestContentType = "text/html";
inline constexpr std::string_view kRequestAccept = "text/html, */*";
inline constexpr std::string_view kRequestUserAgent = "Mozilla/3.0 (compatible; Indy Library)";

// "GET target HTTP/1.1", then Content-Type, Host, Accept, User-Agent and,
// when cookie is not empty, Cookie; every line ended with CR LF and never
// folded (RFC 9112 section 5.2 forbids line folding in requests), then the
// empty line.
std::string BuildRequest(std::string_view target, std::string_view host, std::string_view cookie);

}  // namespace quillet
