// The expiry reader and writer of cookie dates, against <chrono>.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>

#include "net/CookieExpiry.h"
#include "support/CalendarFakes.h"

namespace quillet {
namespace {

class ExpiryReader : public testing::CalendarFakes {
 protected:
  // The day value of a UTC moment, computed with <chrono> as the oracle.
  static double Utc(int y, unsigned m, unsigned d, int hh, int mm, int ss) {
    using namespace std::chrono;
    const sys_days date = year{y} / month{m} / day{d};
    const sys_days epoch = year{1899} / December / 30;
    return (date - epoch).count() + (hh * 3600 + mm * 60 + ss) / 86400.0;
  }
  static void ExpectNear(double a, double b) { EXPECT_NEAR(a, b, 0.5 / 86400) << a << " " << b; }
};

TEST_F(ExpiryReader, TheThreeFormsAndTheZones) {
  const double moment = Utc(1994, 11, 6, 8, 49, 37);
  ExpectNear(ReadExpiry("Sun, 06 Nov 1994 08:49:37 GMT"), moment);
  ExpectNear(ReadExpiry("Sunday, 06-Nov-94 08:49:37 GMT"), moment);
  ExpectNear(ReadExpiry("Sun Nov  6 08:49:37 1994"), moment);
  ExpectNear(ReadExpiry("  06 nov 2044 08:49:37 +0130 "), Utc(2044, 11, 6, 7, 19, 37));
  ExpectNear(ReadExpiry("06 Nov 2044 08:49:37 -0500"), Utc(2044, 11, 6, 13, 49, 37));
  ExpectNear(ReadExpiry("06 Nov 2044 08:49:37 +01x0"), Utc(2044, 11, 6, 8, 49, 37));
  ExpectNear(ReadExpiry("Thu, 01-Jan-70 00:00:00 GMT"), Utc(2070, 1, 1, 0, 0, 0));
  ExpectNear(ReadExpiry("Thu, 01-Jan-80 00:00:00 GMT"), Utc(1980, 1, 1, 0, 0, 0));
  EXPECT_EQ(ReadExpiry(""), 0);
  EXPECT_EQ(ReadExpiry("Sun, 06 November 1994 08:49:37 GMT"), 0) << "no such month";
  EXPECT_EQ(ReadExpiry("Sun, 31 Feb 1994 08:49:37 GMT"), 0);
  EXPECT_EQ(ReadExpiry("Sun, 06 Nov 1994 24:00:00 GMT"), 0);
  EXPECT_EQ(ReadExpiry("tomorrow"), 0);
  // Local time one hour east of UTC: the moment moves by that hour.
  testing::FakeSystem::zone = {platform::kTimeZoneIdStandard, -60, 0, 0};
  ExpectNear(ReadExpiry("Sun, 06 Nov 1994 08:49:37 GMT"), moment + 1.0 / 24);
  ExpectNear(ReadExpiry("Sun, 06 Nov 1994 08:49:37 +0100"), moment);
}

TEST_F(ExpiryReader, MaxAgeTextsReadBack) {
  testing::FakeSystem::zone = {platform::kTimeZoneIdStandard, -90, 0, 0};
  const double local = Utc(2026, 12, 8, 14, 30, 15);
  EXPECT_EQ(ExpiryText(local), "Tue, 8 Dec 2026 14:30:15 +0130");
  ExpectNear(ReadExpiry(ExpiryText(local)), local);
  EXPECT_EQ(ExpiryText(1e9).substr(0, 16), "Fri, 31 Dec 9999");
}

}  // namespace
}  // namespace quillet
