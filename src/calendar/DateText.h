// Dates as text in the user's regional settings: reading a date the way the
// user writes it, and writing a day in the short date format.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Locale.h"

namespace quillet {

// The day value of a date text. Two-digit years fall into the hundred years
// that begin 50 years before currentYear; a missing year is currentYear.
// Fails with EConvertError "'<text>' is not a valid date".
double ParseDateText(std::string_view text, const platform::ShortDateSettings& settings,
                     int32_t currentYear);

// The calendar day holding value in the short date format. Days from year
// 10000 on continue the Gregorian count; days before year 1 are written with
// day, month and year all zero.
std::string FormatShortDate(double value, const platform::ShortDateSettings& settings);

}  // namespace quillet
