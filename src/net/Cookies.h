// The HTTP client's cookie store: cookies parsed from Set-cookie and
// Set-cookie2 headers, stored per domain and name, dropped once expired, and
// chosen for each request into one Cookie header.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// What one Set-cookie or Set-cookie2 value says.
struct SetCookie {
  std::string name;
  std::string value;
  std::string path;
  std::string domain;
  std::string expires;
  bool hasExpires = false;
  bool secure = false;
  // Seconds; -1 when absent or not an integer.
  int64_t maxAge = -1;
};

// Splits a header value at ";" into the name and value and the attributes
// PATH, EXPIRES, DOMAIN, SECURE and MAX-AGE (names in any case); the other
// attributes of both header forms say nothing the client uses.
SetCookie ParseSetCookie(std::string_view header);

// RFC 6265's domain-match, ASCII case ignored: the host is the domain (a
// leading "." set aside), or a name that ends with "." and the domain. An
// address matches only itself.
bool DomainMatches(std::string_view host, std::string_view domain);

class CookieStore {
 public:
  // Stores the cookie of one header value received from host, when its
  // domain is the host or, for a name, the host's parent domain, and that
  // domain is no single label unless the host is that label: a cookie of the
  // same domain and name (in any case) is replaced. A name or value with a
  // control character is ignored.
  void Store(std::string_view header, std::string_view host);

  // Deletes every cookie whose expiry lies before the local time now.
  void DeleteExpired();

  // "name=value; ..." of the cookies for host and a request path: domain
  // matched, path a prefix of the request path, value not empty, and secure
  // ones only over a secure connection; the longer paths first. Empty when
  // none fits.
  std::string CookieHeader(std::string_view host, std::string_view path, bool secure = false) const;

  size_t size() const { return cookies_.size(); }

 private:
  struct Cookie {
    std::string domain;
    std::string name;
    std::string value;
    std::string path;
    std::string expires;
    bool secure;
  };
  void Add(Cookie cookie);

  // In the order of arrival; a replaced cookie keeps its place.
  std::vector<Cookie> cookies_;
};

}  // namespace quillet
