// A fixed clock, time zone and regional settings for white-box tests of the
// date macros, installed in the calendar's system-call table for the life of
// a test and taken out again afterwards.
#pragma once

#include <gtest/gtest.h>

#include "calendar/SystemCalls.h"

namespace quillet::testing {

struct FakeSystem {
  static inline platform::LocalTime now{2026, 12, 8, 14, 30, 15, 250};
  static inline platform::TimeZoneReading zone{platform::kTimeZoneIdStandard, 0, 0, 0};
  static inline platform::ShortDateSettings settings{"dd.MM.yyyy", '.', {}, {}, {}, {}};
};

class CalendarFakes : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = CalendarSystem();
    FakeSystem::now = {2026, 12, 8, 14, 30, 15, 250};
    FakeSystem::zone = {platform::kTimeZoneIdStandard, 0, 0, 0};
    FakeSystem::settings = {"dd.MM.yyyy", '.', {}, {}, {}, {}};
    CalendarSystem().localNow = [] { return FakeSystem::now; };
    CalendarSystem().readTimeZone = [] { return FakeSystem::zone; };
    CalendarSystem().readShortDateSettings = [] { return FakeSystem::settings; };
  }
  void TearDown() override { CalendarSystem() = saved_; }

 private:
  CalendarSystemCalls saved_;
};

}  // namespace quillet::testing
