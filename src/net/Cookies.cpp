// The cookie store's rules, kept apart from the client so that the fuzz
// target and the tests drive them without a connection.
#include "net/Cookies.h"

#include <algorithm>

#include "base/Ascii.h"
#include "calendar/SystemCalls.h"
#include "net/Address.h"
#include "net/CookieExpiry.h"
#include "net/Scan.h"

namespace quillet {
namespace {

// RFC 6265 section 6.1 asks a client to keep at least 4096 bytes per cookie,
// 50 cookies per domain and 3000 in all; beyond these a server could grow
// the store without end over many calls. A longer cookie is ignored; past
// the counts the oldest cookie of the domain, or of the store, goes.
constexpr size_t kMaxCookieBytes = 4096;
constexpr size_t kMaxCookiesPerDomain = 50;
constexpr size_t kMaxCookies = 3000;

constexpr double kSecondsPerDay = 86400.0;

std::string_view TakePiece(std::string_view& rest) {
  return Trim(CutAt(rest, ';'));
}

void SplitPair(std::string_view piece, std::string_view& name, std::string_view& value,
               bool& hasValue) {
  const size_t equals = piece.find('=');
  hasValue = equals != std::string_view::npos;
  name = Trim(piece.substr(0, equals));
  value = hasValue ? Trim(piece.substr(equals + 1)) : std::string_view{};
}

std::string_view WithoutQuotes(std::string_view text) {
  if (!text.empty() && text.front() == '"') text.remove_prefix(1);
  if (!text.empty() && text.back() == '"') text.remove_suffix(1);
  return text;
}

int64_t ReadSeconds(std::string_view text) {
  return ReadSignedDecimal(text, kMaxAgeCap).value_or(-1);
}

bool EndsWithIgnoringCase(std::string_view text, std::string_view end) {
  return text.size() >= end.size() &&
         EqualsIgnoringAsciiCase(text.substr(text.size() - end.size()), end);
}

// The storage rule, case-sensitive: an address takes only itself, a name
// takes itself or, written with a leading ".", its parent domain.
bool DomainFits(std::string_view domain, std::string_view host) {
  if (LooksLikeIPv4(host) || domain.empty() || domain.front() != '.') return domain == host;
  const size_t dot = host.find('.');
  return dot != std::string_view::npos && domain == host.substr(dot);
}

// RFC 6265 section 5.2: a cookie-octet is no control character. A CR or NUL
// would end or split the Cookie line of later requests.
bool HasControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == '\x7F'; });
}

// A single label (such as "com") is a public suffix: a cookie for it would
// reach every site under it. RFC 6265 section 5.3 step 5 takes one only from
// the host of that very name.
bool NamesTopLevelDomain(std::string_view domain, std::string_view host) {
  if (!domain.empty() && domain.front() == '.') domain.remove_prefix(1);
  return domain.find('.') == std::string_view::npos && !EqualsIgnoringAsciiCase(domain, host);
}

}  // namespace

SetCookie ParseSetCookie(std::string_view header) {
  SetCookie cookie;
  std::string_view rest = header;
  std::string_view name, value;
  bool hasValue = false;
  SplitPair(TakePiece(rest), name, value, hasValue);
  cookie.name = name;
  cookie.value = value;
  while (!rest.empty()) {
    SplitPair(TakePiece(rest), name, value, hasValue);
    if (EqualsIgnoringAsciiCase(name, "PATH")) {
      cookie.path = WithoutQuotes(value);
    } else if (EqualsIgnoringAsciiCase(name, "EXPIRES")) {
      cookie.expires = value;
      cookie.hasExpires = true;
    } else if (EqualsIgnoringAsciiCase(name, "DOMAIN")) {
      cookie.domain = value;
    } else if (EqualsIgnoringAsciiCase(name, "SECURE")) {
      if (!hasValue) cookie.secure = true;
    } else if (EqualsIgnoringAsciiCase(name, "MAX-AGE")) {
      cookie.maxAge = ReadSeconds(value);
    }
  }
  return cookie;
}

bool DomainMatches(std::string_view host, std::string_view domain) {
  if (!domain.empty() && domain.front() == '.') domain.remove_prefix(1);
  if (domain.empty()) return false;
  if (EqualsIgnoringAsciiCase(host, domain)) return true;
  if (LooksLikeIPv4(host) || LooksLikeIPv4(domain)) return false;
  return host.size() > domain.size() && EndsWithIgnoringCase(host, domain) &&
         host[host.size() - domain.size() - 1] == '.';
}

void CookieStore::Store(std::string_view header, std::string_view host) {
  if (header.size() > kMaxCookieBytes) return;
  SetCookie parsed = ParseSetCookie(header);
  if (HasControlCharacter(parsed.name) || HasControlCharacter(parsed.value)) return;
  if (!parsed.domain.empty() && NamesTopLevelDomain(parsed.domain, host)) return;
  std::string domain(host);
  if (!parsed.domain.empty()) {
    domain = parsed.domain;
    // A Domain attribute names its subdomains too, with or without the dot.
    if (domain.front() != '.' && domain != host) domain.insert(0, 1, '.');
  }
  if (!DomainFits(domain, host)) return;
  if (!parsed.hasExpires && parsed.maxAge >= 0) {
    parsed.expires =
        ExpiryText(NowDateValue() + static_cast<double>(parsed.maxAge) / kSecondsPerDay);
  }
  Add({std::move(domain), std::move(parsed.name), std::move(parsed.value), std::move(parsed.path),
       std::move(parsed.expires), parsed.secure});
}

void CookieStore::Add(Cookie cookie) {
  const auto sameDomain = [&](const Cookie& stored) {
    return EqualsIgnoringAsciiCase(stored.domain, cookie.domain);
  };
  for (Cookie& stored : cookies_) {
    if (sameDomain(stored) && EqualsIgnoringAsciiCase(stored.name, cookie.name)) {
      stored = std::move(cookie);
      return;
    }
  }
  if (static_cast<size_t>(std::count_if(cookies_.begin(), cookies_.end(), sameDomain)) >=
      kMaxCookiesPerDomain) {
    cookies_.erase(std::find_if(cookies_.begin(), cookies_.end(), sameDomain));
  } else if (cookies_.size() >= kMaxCookies) {
    cookies_.erase(cookies_.begin());
  }
  cookies_.push_back(std::move(cookie));
}

void CookieStore::DeleteExpired() {
  if (cookies_.empty()) return;
  const double now = NowDateValue();
  std::erase_if(cookies_, [now](const Cookie& cookie) {
    return !cookie.expires.empty() && now > ReadExpiry(cookie.expires);
  });
}

std::string CookieStore::CookieHeader(std::string_view host, std::string_view path,
                                      bool secure) const {
  std::vector<const Cookie*> chosen;
  for (const Cookie& cookie : cookies_) {
    if (cookie.path.empty() || cookie.value.empty() || (cookie.secure && !secure)) continue;
    if (path.substr(0, cookie.path.size()) != cookie.path) continue;
    if (DomainMatches(host, cookie.domain)) chosen.push_back(&cookie);
  }
  std::stable_sort(chosen.begin(), chosen.end(), [](const Cookie* a, const Cookie* b) {
    return AsciiUpperCase(a->path) > AsciiUpperCase(b->path);
  });
  std::string header;
  for (const Cookie* cookie : chosen) {
    if (!header.empty()) header += "; ";
    header += cookie->name;
    header += '=';
    header += cookie->value;
  }
  return header;
}

}  // namespace quillet
