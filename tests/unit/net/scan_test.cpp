// The network parsers' digit rule and cut: the edges every reader relies on
// (empty text, signs, blanks, leading zeros, caps, 64-bit limits), and random
// texts against std::from_chars as the oracle.
#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <optional>
#include <random>
#include <string>

#include "net/Scan.h"

namespace quillet {
namespace {

TEST(ReadDigits, Edges) {
  struct Case {
    const char* text;
    uint64_t cap;
    int base;
    std::optional<uint64_t> value;
  };
  const Case cases[] = {
      {"", kUncapped, 10, std::nullopt},
      {"0", kUncapped, 10, 0},
      {"007", kUncapped, 10, 7},
      {"+7", kUncapped, 10, std::nullopt},
      {"-7", kUncapped, 10, std::nullopt},
      {" 7", kUncapped, 10, std::nullopt},
      {"7 ", kUncapped, 10, std::nullopt},
      {"1a", kUncapped, 10, std::nullopt},
      {"1a", kUncapped, 16, 26},
      {"fF", kUncapped, 16, 255},
      {"g", kUncapped, 16, std::nullopt},
      {"0x1", kUncapped, 16, std::nullopt},
      {"18446744073709551615", kUncapped, 10, UINT64_MAX},
      {"18446744073709551616", kUncapped, 10, UINT64_MAX},
      {"FFFFFFFFFFFFFFFF", kUncapped, 16, UINT64_MAX},
      {"10000000000000000", kUncapped, 16, UINT64_MAX},
      {"65535", kPortCap, 10, 65535},
      {"65536", kPortCap, 10, kPortCap},
      {"99999999999999999999999999", kPortCap, 10, kPortCap},
      {"000000000000000000000000255", kAddressFieldCap, 10, 255},
      {"256", kAddressFieldCap, 10, kAddressFieldCap},
      {"100", kAddressFieldCap, 16, kAddressFieldCap},
      {"0", 0, 10, 0},
      {"1", 0, 10, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReadDigits(c.text, c.cap, c.base), c.value) << c.text << " base " << c.base;
}

TEST(ReadDigits, RandomTextsAgreeWithFromChars) {
  static constexpr char kAlphabet[] = "0123456789abcdefABCDEFxg+- ";
  std::mt19937 random(18);
  for (int round = 0; round < 20000; ++round) {
    std::string text(random() % 24, '0');
    for (char& c : text) c = kAlphabet[random() % (sizeof kAlphabet - 1)];
    const int base = round % 2 == 0 ? 10 : 16;
    const uint64_t cap = round % 3 == 0 ? kUncapped : random() % 100000;
    uint64_t parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed, base);
    std::optional<uint64_t> expected;
    if (!text.empty() && end == text.data() + text.size())
      expected = error == std::errc::result_out_of_range ? cap : std::min(parsed, cap);
    EXPECT_EQ(ReadDigits(text, cap, base), expected) << text << " base " << base << " cap " << cap;
  }
}

TEST(ReadSignedDecimal, Edges) {
  struct Case {
    const char* text;
    int64_t cap;
    std::optional<int64_t> value;
  };
  const Case cases[] = {
      {"", kDateNumberCap, std::nullopt},
      {"+", kDateNumberCap, std::nullopt},
      {"-", kDateNumberCap, std::nullopt},
      {"--1", kDateNumberCap, std::nullopt},
      {"+-1", kDateNumberCap, std::nullopt},
      {" 1", kDateNumberCap, std::nullopt},
      {"-0", kDateNumberCap, 0},
      {"+12", kDateNumberCap, 12},
      {"-0012", kDateNumberCap, -12},
      {"9999", kDateNumberCap, 9999},
      {"123456", kDateNumberCap, kDateNumberCap},
      {"-123456", kDateNumberCap, -kDateNumberCap},
      {"99999999999999999999999", kMaxAgeCap, kMaxAgeCap},
      {"0x10", kMaxAgeCap, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadSignedDecimal(c.text, c.cap), c.value) << c.text;
}

TEST(CutAt, PiecesAndRests) {
  struct Case {
    const char* text;
    const char* piece;
    const char* rest;
  };
  const Case cases[] = {
      {"a.b.c", "a", "b.c"}, {"a", "a", ""}, {"a.", "a", ""},
      {".b", "", "b"},       {"", "", ""},   {"..", "", "."},
  };
  for (const Case& c : cases) {
    std::string_view rest = c.text;
    EXPECT_EQ(CutAt(rest, '.'), c.piece) << c.text;
    EXPECT_EQ(rest, c.rest) << c.text;
  }
}

}  // namespace
}  // namespace quillet
