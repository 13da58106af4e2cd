// The bytes of one GET request: the request line, the fixed headers in their
// order, the cookies, and the folding of header lines that are too long.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// What the client says about itself and what it accepts, on every request.
inline constexpr std::string_view kRequestContentType = "text/html";
inline constexpr std::string_view kRequestAccept = "text/html, */*";
inline constexpr std::string_view kRequestUserAgent = "Mozilla/3.0 (compatible; Indy Library)";

// "GET target HTTP/1.1", then Content-Type, Host, Accept, User-Agent and,
// when cookie is not empty, Cookie; every line folded and ended with CR LF,
// then the empty line.
std::string BuildRequest(std::string_view target, std::string_view host, std::string_view cookie);

// One header line without its CR LF, folded like a word wrap when it is
// longer than the line limit: it breaks after the last tab, blank or comma
// outside double quotes that keeps a piece within the limit, break characters
// right after a break are dropped, trailing blanks go, and every further piece
// is a continuation line beginning with one blank. Lines end with CR LF.
std::string FoldHeaderLine(std::string_view line);

}  // namespace quillet
