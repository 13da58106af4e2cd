// Cookie expiry dates: reading the date forms servers write (RFC 1123,
// RFC 850 and the C library's asctime form) into a local date value, and
// writing the date text of a cookie that came with a Max-Age.
#pragma once

#include <string>
#include <string_view>

namespace quillet {

// The local date value of an expiry text: the date and time it names, moved
// from its zone (an offset such as +0100, anything else is UTC) into the
// local time in force now. The empty text is 0; a date or time that does not
// exist gives 0 before the move into local time.
double ReadExpiry(std::string_view text);

// "Tue, 8 Dec 2026 14:30:15 +0100" for a local date value: day name, day,
// month name, year, time and the local offset from UTC ("GMT" for none).
// Values past the end of year 9999 are written as that end.
std::string ExpiryText(double localValue);

}  // namespace quillet
