// Reading and writing dates with several short date formats and separators.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "calendar/DateText.h"
#include "frame/Failure.h"

namespace quillet {
namespace {

using namespace std::chrono;

double DayValue(int y, unsigned m, unsigned d) {
  return static_cast<double>(
      (sys_days{year{y} / month{m} / day{d}} - sys_days{year{1899} / December / 30}).count());
}

platform::ShortDateSettings Settings(std::string format, char separator) {
  platform::ShortDateSettings settings;
  settings.format = std::move(format);
  settings.separator = separator;
  settings.shortMonthNames = {"Jan", "Feb", "Mrz", "Apr", "Mai", "Jun",
                              "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
  settings.longMonthNames = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                             "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  settings.shortDayNames = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
  settings.longDayNames = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                           "Donnerstag", "Freitag", "Samstag"};
  return settings;
}

const platform::ShortDateSettings kDayFirst = Settings("dd.MM.yyyy", '.');
const platform::ShortDateSettings kMonthFirst = Settings("M/d/yyyy", '/');
const platform::ShortDateSettings kYearFirst = Settings("yyyy-MM-dd", '-');

TEST(ParseDateText, DayFirstWithFullStop) {
  EXPECT_EQ(ParseDateText("1.3.2024", kDayFirst, 2026), DayValue(2024, 3, 1));
  EXPECT_EQ(ParseDateText(" 01.03.2024 ", kDayFirst, 2026), DayValue(2024, 3, 1));
  EXPECT_EQ(ParseDateText("01.03", kDayFirst, 2026), DayValue(2026, 3, 1));
  EXPECT_EQ(ParseDateText("01.03.", kDayFirst, 2026), DayValue(2026, 3, 1));
  EXPECT_EQ(ParseDateText("01.03. ", kDayFirst, 2026), DayValue(2026, 3, 1));
  EXPECT_EQ(ParseDateText("29.02.2024.  ", kDayFirst, 2026), DayValue(2024, 2, 29));
  EXPECT_EQ(ParseDateText("  31 . 12 .  9999", kDayFirst, 2026), DayValue(9999, 12, 31));
  EXPECT_EQ(ParseDateText("1.1.1", kDayFirst, 2026), DayValue(2001, 1, 1));
  EXPECT_EQ(ParseDateText("1.1.001", kDayFirst, 2026), DayValue(1, 1, 1));
}

TEST(ParseDateText, MonthFirstWithSlashAndYearFirstWithDash) {
  EXPECT_EQ(ParseDateText("3/1/2024", kMonthFirst, 2026), DayValue(2024, 3, 1));
  EXPECT_EQ(ParseDateText("12/31", kMonthFirst, 2026), DayValue(2026, 12, 31));
  EXPECT_EQ(ParseDateText("2024-03-01", kYearFirst, 2026), DayValue(2024, 3, 1));
  EXPECT_EQ(ParseDateText("03-01", kYearFirst, 2026), DayValue(2026, 3, 1)) << "month, day";
  EXPECT_EQ(ParseDateText("24-3-1", kYearFirst, 2026), DayValue(2024, 3, 1));
  // A format without any of the letters reads month first.
  EXPECT_EQ(ParseDateText("3/1/2024", Settings("", '/'), 2026), DayValue(2024, 3, 1));
  // The first letter decides, in any case; E (era year) reads year first.
  EXPECT_EQ(ParseDateText("1/3/2024", Settings("D/m/y", '/'), 2026), DayValue(2024, 3, 1));
  EXPECT_EQ(ParseDateText("2024/3/1", Settings("ee/MM/dd", '/'), 2026), DayValue(2024, 3, 1));
}

TEST(ParseDateText, TwoDigitYearsFallIntoTheFiftyYearWindow) {
  EXPECT_EQ(ParseDateText("1.1.76", kDayFirst, 2026), DayValue(1976, 1, 1));
  EXPECT_EQ(ParseDateText("1.1.75", kDayFirst, 2026), DayValue(2075, 1, 1));
  EXPECT_EQ(ParseDateText("1.1.00", kDayFirst, 2026), DayValue(2000, 1, 1));
  EXPECT_EQ(ParseDateText("1.1.99", kDayFirst, 2026), DayValue(1999, 1, 1));
  EXPECT_EQ(ParseDateText("1.1.50", kDayFirst, 2000), DayValue(1950, 1, 1));
  EXPECT_EQ(ParseDateText("1.1.49", kDayFirst, 2000), DayValue(2049, 1, 1));
  EXPECT_EQ(ParseDateText("76-1-1", kYearFirst, 2026), DayValue(1976, 1, 1));
  EXPECT_EQ(ParseDateText("75-1-1", kYearFirst, 2026), DayValue(2075, 1, 1));
  EXPECT_EQ(ParseDateText("1/1/75", kMonthFirst, 2026), DayValue(2075, 1, 1));
  // Three digits are a year as written.
  EXPECT_EQ(ParseDateText("1.1.075", kDayFirst, 2026), DayValue(75, 1, 1));
  // A clock at the ends of the 32-bit years puts the window outside every
  // date; the sanitizers see no overflow on the way there.
  for (const int32_t currentYear : {INT32_MIN, INT32_MIN + 49, INT32_MAX}) {
    EXPECT_THROW(ParseDateText("1.1.76", kDayFirst, currentYear), Failure) << currentYear;
    EXPECT_THROW(ParseDateText("1.1", kDayFirst, currentYear), Failure) << currentYear;
  }
}

TEST(ParseDateText, EveryBrokenRuleFailsWithTheText) {
  struct Case {
    const char* text;
    const platform::ShortDateSettings& settings;
  };
  const Case cases[] = {
      {"", kDayFirst},
      {"   ", kDayFirst},
      {"2024-03-01", kDayFirst},
      {"1", kDayFirst},
      {"1.", kDayFirst},
      {"1.3.2024x", kDayFirst},
      {"1.3.2024..", kDayFirst},
      {"1.3..", kDayFirst},
      {"1..3.2024", kDayFirst},
      {"1.3.2024 5", kDayFirst},
      {"32.1.2024", kDayFirst},
      {"29.2.2023", kDayFirst},
      {"0.1.2024", kDayFirst},
      {"1.13.2024", kDayFirst},
      {"1.0.2024", kDayFirst},
      {"1.1.000", kDayFirst},
      {"1.1.10000", kDayFirst},
      {"\t1.3.2024", kDayFirst},
      {"1.3.2024\t", kDayFirst},
      {"x1.3.2024", kDayFirst},
      {"-1.3.2024", kDayFirst},
      {"1.-3.2024", kDayFirst},
      {"+1.3.2024", kDayFirst},
      {"31/4/2024", kMonthFirst},
      {"1.3.2024", kMonthFirst},
      {"13/1/2024", kMonthFirst},
      {"2024-13-01", kYearFirst},
      {"2024/03/01", kYearFirst},
      {"01.03.2024", kYearFirst},
      {"12345.1.1", kDayFirst},
  };
  for (const Case& c : cases) {
    try {
      ParseDateText(c.text, c.settings, 2026);
      ADD_FAILURE() << "'" << c.text << "' was read as a date with " << c.settings.format;
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.kind(), "EConvertError");
      EXPECT_EQ(failure.message(), "'" + std::string(c.text) + "' is not a valid date");
    }
  }
}

TEST(ParseDateText, LeadingZerosDoNotCountTowardsTheStop) {
  // Reading stops at a value of 1000, so zeros in front are all read.
  EXPECT_EQ(ParseDateText("0001.03.2024", kDayFirst, 2026), DayValue(2024, 3, 1));
  EXPECT_EQ(ParseDateText("1.3.002024", kDayFirst, 2026), DayValue(2024, 3, 1));
}

TEST(FormatShortDate, CommonFormatsAndSeparators) {
  const double easter2025 = DayValue(2025, 4, 20);
  EXPECT_EQ(FormatShortDate(easter2025, kDayFirst), "20.04.2025");
  EXPECT_EQ(FormatShortDate(easter2025, kMonthFirst), "4/20/2025");
  EXPECT_EQ(FormatShortDate(easter2025, kYearFirst), "2025-04-20");
  EXPECT_EQ(FormatShortDate(easter2025, Settings("d/M/yy", '.')), "20.4.25")
      << "/ is the separator";
  EXPECT_EQ(FormatShortDate(DayValue(2009, 3, 5), Settings("y/M/d", '-')), "09-3-5");
  EXPECT_EQ(FormatShortDate(easter2025, Settings("dd 'de' MMMM \"yyyy\" yyy", '/')),
            "20 de April yyyy 2025");
  EXPECT_EQ(FormatShortDate(easter2025, Settings("ddd, d. MMM yyyy", '.')), "So, 20. Apr 2025");
  EXPECT_EQ(FormatShortDate(easter2025, Settings("dddd d MMMM", '.')), "Sonntag 20 April");
}

TEST(FormatShortDate, BeyondTheYears1To9999) {
  EXPECT_EQ(FormatShortDate(2958466, kDayFirst), "01.01.10000");
  EXPECT_EQ(FormatShortDate(2958466 + 366 + 365 + 31 + 28 + 24, kMonthFirst), "3/25/10002");
  EXPECT_EQ(FormatShortDate(-693593, kDayFirst), "01.01.0001");
  EXPECT_EQ(FormatShortDate(-693594, kDayFirst), "00.00.0000");
  EXPECT_EQ(FormatShortDate(-784352443148.0, kMonthFirst), "0/0/0000");
  EXPECT_EQ(FormatShortDate(-693594, Settings("ddd d MMM yy", '/')), " 0  00");
  EXPECT_EQ(FormatShortDate(784351055233.0, kYearFirst).substr(0, 11), "2147482150-");
}

}  // namespace
}  // namespace quillet
