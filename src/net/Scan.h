// Reading numbers and cutting pieces out of the texts the network module
// parses (addresses, ports, status and header lines, cookies and their
// dates), so that every reader follows one rule for digits and names its cap.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quillet {

// Value caps. A reader's value stops at its cap, so that no run of digits
// overflows; each cap lies past every value its rule tells apart.

// For readers whose digit count already bounds the value.
inline constexpr uint64_t kUncapped = UINT64_MAX;

// One more than the largest field of a dotted IPv4 address (255): a larger
// number reads as this and is no field either.
inline constexpr uint64_t kAddressFieldCap = 256;

// One more than the largest TCP port (65535): a larger number reads as this
// and is no port either.
inline constexpr uint64_t kPortCap = 65536;

// One more than the calendar's last year (9999): a larger day, time or year
// of a cookie's expiry date reads as this and is as invalid.
inline constexpr int64_t kDateNumberCap = 10000;

// Ten thousand years of seconds: every longer Max-Age ends at the calendar's
// end all the same, and the cap keeps the arithmetic far from overflow.
inline constexpr int64_t kMaxAgeCap = int64_t{3652500} * 86400;

// Digit-count caps. A longer run is no number of that kind, whatever it
// spells, leading zeros included.

// The most decimal digits that always fit in 64 bits (Content-Length).
inline constexpr size_t kMaxDecimalDigits = 19;

// Status codes have three digits; nine keep any number within 32 bits.
inline constexpr size_t kMaxStatusDigits = 9;

// The digits of the largest port, 65535: a port text of more is refused.
inline constexpr size_t kMaxPortDigits = 5;

// The most hexadecimal digits of a chunk size: 64 bits.
inline constexpr size_t kMaxChunkDigits = 16;

// The number text spells in base 10 or 16 when it is one or more digits of
// that base and nothing else (hexadecimal digits in either case); nullopt for
// the empty text and any other character, a sign or a blank included. A
// number above cap reads as cap.
std::optional<uint64_t> ReadDigits(std::string_view text, uint64_t cap, int base = 10);

// ReadDigits in base 10 after an optional "+" or "-"; the sign alone is no
// number. The magnitude stops at cap (at least 0).
std::optional<int64_t> ReadSignedDecimal(std::string_view text, int64_t cap);

// The text before the first separator; rest keeps what follows that
// separator, or becomes empty when there is none.
std::string_view CutAt(std::string_view& rest, char separator);

}  // namespace quillet
