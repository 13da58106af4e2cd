// The mapping of C library date formats onto the short date model, with the
// formats of real locales and the unusual pieces a format can hold.
#include <gtest/gtest.h>

#include "platform/posix/StrftimeDate.h"

namespace quillet::platform {
namespace {

TEST(StrftimeDate, FormatsOfRealLocales) {
  EXPECT_EQ(ShortDateFormatFromStrftime("%m/%d/%y"), "MM/dd/yy");    // C
  EXPECT_EQ(ShortDateFormatFromStrftime("%d.%m.%Y"), "dd.MM.yyyy");  // de_DE
  EXPECT_EQ(ShortDateFormatFromStrftime("%Y-%m-%d"), "yyyy-MM-dd");  // sv_SE
  EXPECT_EQ(ShortDateFormatFromStrftime("%m/%d/%Y"), "MM/dd/yyyy");  // en_US
  EXPECT_EQ(ShortDateFormatFromStrftime("%d/%m/%y"), "dd/MM/yy");    // en_GB
  EXPECT_EQ(ShortDateFormatFromStrftime("%Y年%m月%d日"), "yyyy年MM月dd日");
  EXPECT_EQ(DateSeparatorFromStrftime("%m/%d/%y"), '/');
  EXPECT_EQ(DateSeparatorFromStrftime("%d.%m.%Y"), '.');
  EXPECT_EQ(DateSeparatorFromStrftime("%Y-%m-%d"), '-');
}

TEST(StrftimeDate, CompositeNamedAndModifiedConversions) {
  EXPECT_EQ(ShortDateFormatFromStrftime("%D"), "MM/dd/yy");
  EXPECT_EQ(ShortDateFormatFromStrftime("%F"), "yyyy-MM-dd");
  EXPECT_EQ(DateSeparatorFromStrftime("%D"), '/');
  EXPECT_EQ(DateSeparatorFromStrftime("%F"), '-');
  EXPECT_EQ(ShortDateFormatFromStrftime("%a %e %b %Y"), "ddd d MMM yyyy");
  EXPECT_EQ(ShortDateFormatFromStrftime("%A, %B %d"), "dddd, MMMM dd");
  EXPECT_EQ(ShortDateFormatFromStrftime("%Ey/%Om/%Od"), "yy/MM/dd");
  EXPECT_EQ(ShortDateFormatFromStrftime("%H:%M %d"), ": dd") << "times are left out";
  EXPECT_EQ(ShortDateFormatFromStrftime("%d%%%m%n%y"), "dd%MM yy");
  EXPECT_EQ(DateSeparatorFromStrftime("%d%%%m"), '%');
}

TEST(StrftimeDate, LiteralLettersAndQuotesAreQuoted) {
  EXPECT_EQ(ShortDateFormatFromStrftime("%d de %B de %Y"), "dd \"de\" MMMM \"de\" yyyy");
  EXPECT_EQ(ShortDateFormatFromStrftime("%d 'x\"%m"), "dd \"'x\"'\"'MM");
  EXPECT_EQ(ShortDateFormatFromStrftime("%"), "%");
  EXPECT_EQ(ShortDateFormatFromStrftime("%E"), "");
  EXPECT_EQ(ShortDateFormatFromStrftime(""), "");
}

TEST(StrftimeDate, WithoutANumberFollowedByTextTheSeparatorIsSlash) {
  EXPECT_EQ(DateSeparatorFromStrftime("%Y"), '/');
  EXPECT_EQ(DateSeparatorFromStrftime(""), '/');
  EXPECT_EQ(DateSeparatorFromStrftime("%B %Y"), '/') << "a month name is no number";
  EXPECT_EQ(DateSeparatorFromStrftime("%A, %d. %B"), '.');
}

}  // namespace
}  // namespace quillet::platform
