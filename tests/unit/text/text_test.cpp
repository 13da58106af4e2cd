// The text helpers behind the macros: percent-encoding with other delimiters
// and sets, the escape set's contents, and the base cut off a found folder.
#include <gtest/gtest.h>

#include <bit>
#include <string>

#include "text/FolderSearch.h"
#include "text/PercentEncode.h"

namespace quillet {
namespace {

TEST(PercentEncode, UsesTheGivenDelimiterAndSet) {
  ByteSet set{};
  set['a' / 8] |= static_cast<uint8_t>(1u << ('a' % 8));
  set[0xFF / 8] |= static_cast<uint8_t>(1u << (0xFF % 8));
  EXPECT_EQ(PercentEncode("a b\xFF%", '$', set), "$61 b$FF%");
  EXPECT_EQ(PercentEncode("", '$', set), "");
  EXPECT_EQ(PercentEncode("bcd", '$', ByteSet{}), "bcd");
  ByteSet all;
  all.fill(0xFF);
  EXPECT_EQ(PercentEncode(std::string("\0\x0F\xF0", 3), '=', all), "=00=0F=F0");
}

TEST(PercentEncode, TheWorstCaseFillsTheOutputExactly) {
  ByteSet all;
  all.fill(0xFF);
  const std::string text(100000, '\x7F');
  const std::string out = PercentEncode(text, '%', all);
  ASSERT_EQ(out.size(), text.size() * 3);
  for (size_t i = 0; i < out.size(); i += 3) ASSERT_EQ(out.compare(i, 3, "%7F"), 0) << i;
}

TEST(UrlEscapeSet, Holds176Values) {
  int count = 0;
  for (const uint8_t byte : UrlEscapeSet) count += std::popcount(byte);
  EXPECT_EQ(count, 176);
}

TEST(PathAfterBase, FollowsTheFirstOccurrenceWithoutRegardToCase) {
  EXPECT_EQ(PathAfterBase("C:\\Mail\\Acc\\Old\\Inbox", "C:\\Mail\\Acc\\"), "Old\\Inbox");
  EXPECT_EQ(PathAfterBase("C:\\MAIL\\acc\\Inbox", "c:\\mail\\ACC\\"), "Inbox");
  EXPECT_EQ(PathAfterBase("X\\C:\\m\\C:\\m\\y", "c:\\M\\"), "C:\\m\\y");
  EXPECT_EQ(PathAfterBase("C:\\Other\\Inbox", "C:\\Mail\\"), "");
  EXPECT_EQ(PathAfterBase("C:\\Mail\\", "C:\\Mail\\"), "");
  EXPECT_EQ(PathAfterBase("", "C:\\Mail\\"), "");
}

}  // namespace
}  // namespace quillet
