// Reading and writing cookie expiry dates.
#include "net/CookieExpiry.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>

#include "base/Ascii.h"
#include "calendar/Calendar.h"
#include "calendar/TimeZone.h"
#include "net/Scan.h"

namespace quillet {
namespace {

constexpr std::array<std::string_view, 7> kDayNames = {"SUN", "MON", "TUE", "WED",
                                                       "THU", "FRI", "SAT"};
constexpr std::array<std::string_view, 7> kDayTexts = {"Sun", "Mon", "Tue", "Wed",
                                                       "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 12> kMonthNames = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                          "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr std::array<std::string_view, 12> kMonthTexts = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

// Two-digit years: below 80 in this century, from 80 on in the last.
constexpr int64_t kCenturyPivot = 80;

// The year that a form with the time before the year first seems to have.
constexpr int64_t kPlaceholderYear = 1900;

constexpr double kMinutesPerDay = 1440.0;
constexpr double kSecondsPerDay = 86400.0;

// The piece before the first separator, removed with it, and the blanks
// that follow; without a separator the whole rest is the piece.
std::string_view TakePiece(std::string_view& rest, char separator) {
  const std::string_view piece = CutAt(rest, separator);
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  return piece;
}

// A decimal integer with an optional sign.
std::optional<int64_t> ReadDecimal(std::string_view text) {
  return ReadSignedDecimal(text, kDateNumberCap);
}

template <size_t N>
int NameIndex(const std::array<std::string_view, N>& names, std::string_view text) {
  for (size_t i = 0; i < N; ++i)
    if (names[i] == text) return static_cast<int>(i);
  return -1;
}

// Two decimal digits, as a number; nullopt for anything else.
std::optional<int64_t> TwoDigits(std::string_view text) {
  if (text.size() != 2 || text[0] < '0' || text[0] > '9' || text[1] < '0' || text[1] > '9')
    return std::nullopt;
  return (text[0] - '0') * 10 + (text[1] - '0');
}

// The offset of a zone such as "+0130" in days, east positive; 0 for
// anything else.
double ZoneOffsetDays(std::string_view zone) {
  if (zone.size() <= 4 || (zone.front() != '+' && zone.front() != '-')) return 0;
  const std::optional<int64_t> hours = TwoDigits(zone.substr(1, 2));
  const std::optional<int64_t> minutes = TwoDigits(zone.substr(3, 2));
  if (!hours || !minutes || *hours > 23 || *minutes > 59) return 0;
  const double offset = static_cast<double>(*hours * 60 + *minutes) / kMinutesPerDay;
  return zone.front() == '+' ? offset : -offset;
}

// The date and time the text names, before any zone; 0 when they do not
// exist. rest keeps what follows them, the zone.
double ReadDateAndTime(std::string_view& rest) {
  if (rest.size() >= 3 && NameIndex(kDayNames, AsciiUpperCase(rest.substr(0, 3))) >= 0)
    TakePiece(rest, ' ');

  const size_t dash = rest.find('-', 1);
  const char delimiter = dash != std::string_view::npos && dash < rest.find(' ') ? '-' : ' ';
  std::string_view probe = rest;
  const bool monthFirst = NameIndex(kMonthNames, AsciiUpperCase(TakePiece(probe, delimiter))) >= 0;
  std::string_view monthPiece, dayPiece;
  if (monthFirst) {
    monthPiece = TakePiece(rest, delimiter);
    dayPiece = TakePiece(rest, delimiter);
  } else {
    dayPiece = TakePiece(rest, delimiter);
    monthPiece = TakePiece(rest, delimiter);
  }
  const int64_t day = ReadDecimal(dayPiece).value_or(1);
  const int64_t month = NameIndex(kMonthNames, AsciiUpperCase(monthPiece)) + 1;

  const std::string_view yearPiece = TakePiece(rest, ' ');
  std::optional<int64_t> year = ReadDecimal(yearPiece);
  if (!year || *year == kPlaceholderYear) {
    // The asctime form: the time stands before the year, which ends the text.
    year = ReadDecimal(rest).value_or(kPlaceholderYear);
    rest = yearPiece;
  }
  if (*year >= 0 && *year < kCenturyPivot) {
    *year += 2000;
  } else if (*year >= kCenturyPivot && *year < 100) {
    *year += 1900;
  }

  int64_t hours = 0, minutes = 0, seconds = 0;
  if (rest.find(':') != std::string_view::npos) {
    std::string_view time = TakePiece(rest, ' ');
    hours = ReadDecimal(TakePiece(time, ':')).value_or(0);
    minutes = ReadDecimal(TakePiece(time, ':')).value_or(0);
    seconds = ReadDecimal(TakePiece(time, ' ')).value_or(0);
  }
  if (!IsValidDate(*year, month, day) || hours < 0 || hours > 23 || minutes < 0 || minutes > 59 ||
      seconds < 0 || seconds > 59)
    return 0;
  const double date =
      GregorianDayValue({*year, static_cast<int32_t>(month), static_cast<int32_t>(day)});
  return date + static_cast<double>((hours * 60 + minutes) * 60 + seconds) / kSecondsPerDay;
}

}  // namespace

double ReadExpiry(std::string_view text) {
  std::string_view rest = Trim(text);
  if (rest.empty()) return 0;
  const double value = ReadDateAndTime(rest);
  return value - ZoneOffsetDays(rest) + UtcOffsetDays();
}

std::string ExpiryText(double localValue) {
  // The last moment the calendar writes: the end of its last exact year.
  const double last =
      GregorianDayValue({kLastExactYear, 12, 31}) + (kSecondsPerDay - 1) / kSecondsPerDay;
  localValue = std::min(localValue, last);
  const double day = std::floor(localValue);
  // Whole seconds; the small addend undoes the binary fraction of the day.
  const auto second = std::min<int64_t>(
      static_cast<int64_t>(std::floor((localValue - day) * kSecondsPerDay + 1e-6)), 86399);
  const CivilDate date = DecodeDayValue(day);
  char text[96];
  std::snprintf(text, sizeof text, "%s, %d %s %lld %02lld:%02lld:%02lld %s",
                kDayTexts[static_cast<size_t>(WeekdaySundayFirst(day) - 1)].data(), date.day,
                kMonthTexts[static_cast<size_t>(date.month - 1)].data(),
                static_cast<long long>(date.year), static_cast<long long>(second / 3600),
                static_cast<long long>(second / 60 % 60), static_cast<long long>(second % 60),
                GmtOffsetText(UtcOffsetDays()).c_str());
  return text;
}

}  // namespace quillet
