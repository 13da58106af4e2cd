// ENCODEURL through the exports: the listed cases, and every byte value
// against the escape set written out independently from its character list.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "support/Loaded.h"

namespace quillet::conformance {
namespace {

// Bytes that stand for themselves: letters, digits and ! # $ & ' ( ) * + , -
// . / : ; = ? @. Everything else is escaped.
bool StandsForItself(unsigned byte) {
  const std::string_view punctuation = "!#$&'()*+,-./:;=?@";
  return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
         (byte >= '0' && byte <= '9') ||
         (byte != 0 && punctuation.find(static_cast<char>(byte)) != std::string_view::npos);
}

std::string Escaped(unsigned byte) {
  char text[4];
  std::snprintf(text, sizeof text, "%%%02X", byte);
  return text;
}

struct EncodeCase {
  std::string text;
  std::string encoded;
};

TEST(EncodeUrl, ListedCases) {
  const std::vector<EncodeCase> cases = {
      {"", ""},
      {"a b", "a%20b"},
      {"100%", "100%25"},
      {"%41", "%2541"},
      {"C_D", "C%5FD"},
      {"a{b}", "a%7Bb%7D"},
      {"\xE9", "%E9"},
      {"\r\n", "%0D%0A"},
      {"name=x&y=1?z#top:/@", "name=x&y=1?z#top:/@"},
      {"a+b c", "a+b%20c"},
      {"<\"[\\]^`|~\x7F>", "%3C%22%5B%5C%5D%5E%60%7C%7E%7F%3E"},
      {std::string("a\0b", 3), "a%00b"},
      {"\x80\xFF", "%80%FF"},
  };
  for (const EncodeCase& c : cases) EXPECT_EQ(Result("ENCODEURL", {c.text}), c.encoded) << c.text;
}

TEST(EncodeUrl, EveryByteValue) {
  std::string all, expected;
  int escaped = 0;
  for (unsigned byte = 0; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    const std::string want = StandsForItself(byte) ? one : Escaped(byte);
    escaped += StandsForItself(byte) ? 0 : 1;
    EXPECT_EQ(Result("ENCODEURL", {one}), want) << "byte " << byte;
    all += one;
    expected += want;
  }
  EXPECT_EQ(escaped, 176);
  EXPECT_EQ(Result("ENCODEURL", {all}), expected);
  EXPECT_EQ(Result("ENCODEURL", {all + all}), expected + expected);
}

TEST(EncodeUrl, ReadsParameterZeroWhateverTheCount) {
  EXPECT_EQ(Result("ENCODEURL"), "");
  EXPECT_EQ(Result("ENCODEURL", {"a b", "c d"}), "a%20b");
  host::HostProvider context;
  host::HostProvider params({"x y"});
  params.failGetTextAt = 0;
  const MacroRun run = Exec("ENCODEURL", context, params);
  ASSERT_FALSE(run.ended);
  EXPECT_EQ(Delivered(context), "") << "a parameter the host fails to give reads as empty";
  EXPECT_EQ(params.getCountCalls(), 0);
}

TEST(EncodeUrl, LongTextInOnePiece) {
  const std::string text(300000, ' ');
  std::string expected;
  for (size_t i = 0; i < text.size(); ++i) expected += "%20";
  EXPECT_EQ(Result("ENCODEURL", {text}), expected);
}

}  // namespace
}  // namespace quillet::conformance
