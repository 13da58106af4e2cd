// Address texts and host resolution.
#include "net/Address.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "base/Ascii.h"
#include "net/Scan.h"
#include "net/SocketFailure.h"

namespace quillet {
namespace {

// The loopback address that "LOCALHOST" stands for.
constexpr platform::Ipv4Address kLoopback = 0x7F000001;

// The largest value of one dotted field.
constexpr int64_t kLargestField = 255;

// The run-time library's integer conversion: leading blanks, an optional
// sign, then decimal digits or hexadecimal ones after "$", "x", "X", "0x"
// or "0X", and nothing else.
std::optional<int64_t> ReadRtlInteger(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  const std::optional<uint64_t> magnitude = ReadDigits(text, kAddressFieldCap, base);
  if (!magnitude) return std::nullopt;
  const auto value = static_cast<int64_t>(*magnitude);
  return negative ? -value : value;
}

bool IsField(std::optional<int64_t> value) {
  return value && *value >= 0 && *value <= kLargestField;
}

// Exactly four "."-separated runs of decimal digits, each from 0 to 255.
bool IsFourDecimalFields(std::string_view text) {
  if (std::count(text.begin(), text.end(), '.') != 3) return false;
  for (int field = 0; field < 4; ++field) {
    const std::optional<uint64_t> value = ReadDigits(CutAt(text, '.'), kAddressFieldCap);
    if (!value || *value > kLargestField) return false;
  }
  return true;
}

}  // namespace

bool LooksLikeIPv4(std::string_view text) {
  text = Trim(text);
  for (int field = 0; field < 4; ++field)
    if (!IsField(ReadRtlInteger(CutAt(text, '.')))) return false;
  return true;
}

platform::Ipv4Address ResolveHost(const std::string& host) {
  if (EqualsIgnoringAsciiCase(host, "LOCALHOST")) return kLoopback;
  if (IsFourDecimalFields(host)) return platform::Sockets().classicAddress(host);
  platform::Ipv4Address address = 0;
  if (const int error = platform::Sockets().resolveName(host, address); error != 0)
    RaiseSocketError(error);
  return address;
}

std::string DottedAddress(platform::Ipv4Address address) {
  return std::to_string(address >> 24) + '.' + std::to_string((address >> 16) & 0xFF) + '.' +
         std::to_string((address >> 8) & 0xFF) + '.' + std::to_string(address & 0xFF);
}

}  // namespace quillet
