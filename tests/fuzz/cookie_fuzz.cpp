// Fuzzes the cookie rules: Set-Cookie parsing, storage and selection, and the
// expiry reader, with a fixed clock and time zone. The expiry of any text is
// a finite date value; the store never holds more than its bounds.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "calendar/SystemCalls.h"
#include "net/CookieExpiry.h"
#include "net/Cookies.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillet;
  CalendarSystem().localNow = [] { return platform::LocalTime{2026, 12, 8, 14, 30, 15, 0}; };
  CalendarSystem().readTimeZone = [] {
    return platform::TimeZoneReading{platform::kTimeZoneIdDaylight, -60, 0, -60};
  };
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string_view text(input);
  const size_t cut = text.find('\n');
  const std::string_view header = text.substr(0, cut);
  const std::string_view host =
      cut == std::string_view::npos ? "a.b.example" : text.substr(cut + 1);

  if (!std::isfinite(ReadExpiry(text))) std::abort();
  const SetCookie parsed = ParseSetCookie(header);
  if (parsed.hasExpires && !std::isfinite(ReadExpiry(parsed.expires))) std::abort();

  CookieStore store;
  store.Store(header, host);
  store.Store(header, "127.0.0.1");
  store.DeleteExpired();
  if (store.size() > 2) std::abort();
  const std::string cookie = store.CookieHeader(host, "/");
  if (cookie.size() > header.size()) std::abort();
  DomainMatches(host, header);
  return 0;
}
