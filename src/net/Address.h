// IPv4 addresses in text: the check that tells a dotted address from a host
// name, the rule by which a host text becomes an address, and the dotted form
// of an address.
#pragma once

#include <string>
#include <string_view>

#include "platform/Sockets.h"

namespace quillet {

// True when text, trimmed, starts with four "."-separated integers from 0 to
// 255 in the run-time library's integer syntax (leading blanks, a sign,
// decimal, or hexadecimal after "$", "x", "X", "0x" or "0X"). What follows a
// fourth "." is not examined.
bool LooksLikeIPv4(std::string_view text);

// "LOCALHOST" in any case is 127.0.0.1; four "."-separated decimal numbers
// from 0 to 255 are converted as they stand; any other text is resolved by
// name to its first IPv4 address. A failed resolution raises EIdSocketError.
platform::Ipv4Address ResolveHost(const std::string& host);

// "a.b.c.d".
std::string DottedAddress(platform::Ipv4Address address);

}  // namespace quillet
