// Calendar arithmetic over date values: whole days counted from 30 December
// 1899, proleptic Gregorian within the years 1 to 9999 and an approximate
// mean-year formula outside them. Pure functions, no state.
#pragma once

#include <cstdint>

namespace quillet {

// A date value's fraction counts the day in these.
inline constexpr int64_t kMillisecondsPerDay = 86'400'000;

// The last year of the exact Gregorian range, which date texts may name.
inline constexpr int64_t kLastExactYear = 9999;

// A calendar date; the year may lie outside 1..9999 when decoded from an
// extended date value.
struct CivilDate {
  int64_t year;
  int32_t month;
  int32_t day;
};

// Day value of year-month-day. Years 1..9999 are exact Gregorian (month and
// day must be valid there); other years use the mean-year formula, in which
// month and day are not checked.
double EncodeDayValue(int32_t year, uint16_t month, uint16_t day);

// The date value of year-month-day (as EncodeDayValue takes them) at a time
// of that day, 0 to kMillisecondsPerDay - 1 milliseconds. Before day 0 the
// time is counted away from day 0, as date values hold it there.
double EncodeDateTime(int32_t year, uint16_t month, uint16_t day, int64_t millisecondOfDay);

// The time of day that value holds, in whole milliseconds: the magnitude of
// its fraction (also before day 0), rounded, and held below a whole day.
int32_t MillisecondOfDay(double value);

// The Gregorian date of the calendar day holding value, counted on past 9999
// and before year 1 without limit.
CivilDate DecodeDayValue(double value);

// The day value of a date in the Gregorian count continued without limit
// (the inverse of DecodeDayValue); the date must be valid.
double GregorianDayValue(const CivilDate& date);

// 1 = Sunday ... 7 = Saturday.
int32_t WeekdaySundayFirst(double value);

// 1 for 1 January, up to 366.
int32_t DayOfYear(double value);

// Weeks that start on Sunday, the week of 1 January being week 1 (1..54).
int32_t WeekOfYearSundayFirst(double value);

// ISO 8601 week number (1..53).
int32_t IsoWeekOfDate(double value);

// Day value of Easter Sunday of year by the Gregorian rule, for any year.
double EasterDate(int32_t year);

// Whether year-month-day names a day of the Gregorian calendar within the
// years 1 to kLastExactYear.
bool IsValidDate(int64_t year, int64_t month, int64_t day);

}  // namespace quillet
