// Address texts and host resolution.
#include "net/Address.h"

#include <cstdint>
#include <optional>

#include "net/SocketFailure.h"
#include "platform/Ascii.h"

namespace quillet {
namespace {

// The loopback address that "LOCALHOST" stands for.
constexpr platform::Ipv4Address kLoopback = 0x7F000001;

// The largest value of one dotted field.
constexpr int64_t kLargestField = 255;

// Magnitudes beyond this cannot be a field, whatever digits follow: reading
// stops growing there, so no run of digits overflows.
constexpr int64_t kMagnitudeCap = int64_t{1} << 40;

// Cuts text at its first "." (removing the "." with it); without a ".", the
// whole text is the piece and the rest becomes empty.
std::string_view CutPiece(std::string_view& text) {
  const size_t dot = text.find('.');
  const std::string_view piece = text.substr(0, dot);
  text = dot == std::string_view::npos ? std::string_view{} : text.substr(dot + 1);
  return piece;
}

int DigitValue(char c, int base) {
  int value = base;
  if (c >= '0' && c <= '9') value = c - '0';
  if (base == 16 && c >= 'a' && c <= 'f') value = c - 'a' + 10;
  if (base == 16 && c >= 'A' && c <= 'F') value = c - 'A' + 10;
  return value < base ? value : -1;
}

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
  if (text.empty()) return std::nullopt;
  int64_t magnitude = 0;
  for (const char c : text) {
    const int digit = DigitValue(c, base);
    if (digit < 0) return std::nullopt;
    if (magnitude < kMagnitudeCap) magnitude = magnitude * base + digit;
  }
  return negative ? -magnitude : magnitude;
}

bool IsField(std::optional<int64_t> value) {
  return value && *value >= 0 && *value <= kLargestField;
}

// Exactly four "."-separated runs of decimal digits, each from 0 to 255.
bool IsFourDecimalFields(std::string_view text) {
  for (int field = 0; field < 4; ++field) {
    if (field > 0) {
      if (text.empty() || text.front() != '.') return false;
      text.remove_prefix(1);
    }
    size_t digits = 0;
    int64_t value = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
      if (value <= kLargestField) value = value * 10 + (text[digits] - '0');
      ++digits;
    }
    if (digits == 0 || value > kLargestField) return false;
    text.remove_prefix(digits);
  }
  return text.empty();
}

}  // namespace

bool LooksLikeIPv4(std::string_view text) {
  text = Trim(text);
  for (int field = 0; field < 4; ++field)
    if (!IsField(ReadRtlInteger(CutPiece(text)))) return false;
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
