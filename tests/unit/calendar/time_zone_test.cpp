// The UTC offset from each kind of time-zone reading, and its text.
#include <gtest/gtest.h>

#include "calendar/TimeZone.h"
#include "frame/Failure.h"
#include "support/CalendarFakes.h"

namespace quillet {
namespace {

using testing::CalendarFakes;
using testing::FakeSystem;

class UtcOffset : public CalendarFakes {
 protected:
  static std::string TextFor(uint32_t result, int32_t bias, int32_t standard, int32_t daylight) {
    FakeSystem::zone = {result, bias, standard, daylight};
    return GmtOffsetText(UtcOffsetDays());
  }
};

TEST_F(UtcOffset, EachResultAddsItsOwnBias) {
  EXPECT_EQ(TextFor(platform::kTimeZoneIdStandard, -60, 0, -60), "+0100");
  EXPECT_EQ(TextFor(platform::kTimeZoneIdDaylight, -60, 0, -60), "+0200");
  EXPECT_EQ(TextFor(platform::kTimeZoneIdUnknown, -60, -30, -60), "+0100") << "bias alone";
  EXPECT_EQ(TextFor(platform::kTimeZoneIdStandard, 300, 0, -60), "-0500");
  EXPECT_EQ(TextFor(platform::kTimeZoneIdDaylight, 300, 0, -60), "-0400");
  EXPECT_EQ(TextFor(platform::kTimeZoneIdStandard, -330, 0, 0), "+0530");
  EXPECT_EQ(TextFor(platform::kTimeZoneIdUnknown, -345, 0, 0), "+0545");
  EXPECT_EQ(TextFor(platform::kTimeZoneIdStandard, 570, 0, 0), "-0930");
  EXPECT_EQ(TextFor(platform::kTimeZoneIdUnknown, 0, 0, -60), "GMT");
  EXPECT_EQ(TextFor(platform::kTimeZoneIdDaylight, 60, 0, -60), "GMT");
  EXPECT_EQ(TextFor(platform::kTimeZoneIdStandard, -840, 0, 0), "+1400");
}

TEST_F(UtcOffset, IsAFractionOfADayPositiveEast) {
  FakeSystem::zone = {platform::kTimeZoneIdStandard, -330, 0, 0};
  EXPECT_DOUBLE_EQ(UtcOffsetDays(), 330.0 / 1440);
  FakeSystem::zone = {platform::kTimeZoneIdDaylight, 300, 0, -60};
  EXPECT_DOUBLE_EQ(UtcOffsetDays(), -240.0 / 1440);
}

TEST_F(UtcOffset, AnyOtherResultFails) {
  for (uint32_t result : {platform::kTimeZoneIdInvalid, 3u, 100u}) {
    FakeSystem::zone = {result, -60, 0, 0};
    try {
      UtcOffsetDays();
      ADD_FAILURE() << "result " << result << " gave an offset";
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.message(), "Failed attempting to retrieve time zone information.");
    }
  }
}

TEST_F(UtcOffset, ExtremeBiasesDoNotOverflow) {
  FakeSystem::zone = {platform::kTimeZoneIdDaylight, INT32_MIN, 0, INT32_MIN};
  EXPECT_GT(UtcOffsetDays(), 0);
  FakeSystem::zone = {platform::kTimeZoneIdStandard, INT32_MAX, 0, INT32_MAX};
  EXPECT_LT(UtcOffsetDays(), 0);
}

}  // namespace
}  // namespace quillet
