// Reading and writing dates with the short date format and date separator.
#include "calendar/DateText.h"

#include <cstdio>
#include <optional>

#include "base/Ascii.h"
#include "calendar/Calendar.h"
#include "frame/Failure.h"

namespace quillet {
namespace {

enum class DateOrder { MonthDayYear, DayMonthYear, YearMonthDay };

// The first of the letters D, M, Y (or E, the era year) in the format, case
// ignored, decides the order; without any of them it is month first.
DateOrder OrderOf(std::string_view format) {
  for (char c : format) {
    switch (AsciiLower(c)) {
      case 'd':
        return DateOrder::DayMonthYear;
      case 'm':
        return DateOrder::MonthDayYear;
      case 'y':
      case 'e':
        return DateOrder::YearMonthDay;
      default:
        break;
    }
  }
  return DateOrder::MonthDayYear;
}

struct Number {
  int32_t value;
  size_t digits;
};

// A cursor over the text with the steps of the date reading.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  void SkipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == ' ') ++pos_;
  }

  // Digits after blanks; reading stops once the value reaches 1000.
  std::optional<Number> ReadNumber() {
    SkipBlanks();
    const size_t start = pos_;
    int32_t value = 0;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9' && value < 1000)
      value = value * 10 + (text_[pos_++] - '0');
    if (pos_ == start) return std::nullopt;
    return Number{value, pos_ - start};
  }

  bool ReadChar(char wanted) {
    SkipBlanks();
    if (pos_ < text_.size() && text_[pos_] == wanted) {
      ++pos_;
      return true;
    }
    return false;
  }

  bool AtEnd() const { return pos_ == text_.size(); }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

// A year of one or two digits placed in the window of a hundred years that
// begins 50 years before the current year; in 64 bits, as a current year near
// the 32-bit minimum would overflow.
int64_t WindowedYear(int32_t year, int32_t currentYear) {
  const int64_t base = int64_t{currentYear} - 50;
  const int64_t windowed = year + base / 100 * 100;
  return windowed < base ? windowed + 100 : windowed;
}

std::optional<double> ReadDate(std::string_view text, const platform::ShortDateSettings& settings,
                               int32_t currentYear) {
  const DateOrder order = OrderOf(settings.format);
  Scanner scan(text);
  const std::optional<Number> first = scan.ReadNumber();
  if (!first || !scan.ReadChar(settings.separator)) return std::nullopt;
  const std::optional<Number> second = scan.ReadNumber();
  if (!second) return std::nullopt;
  int64_t year = currentYear;
  int32_t month = 0, day = 0;
  // A separator after the second number leads to the year, or is the one
  // trailing separator that a text may end with.
  const bool separatorTaken = scan.ReadChar(settings.separator);
  const std::optional<Number> third = separatorTaken ? scan.ReadNumber() : std::nullopt;
  if (third) {
    Number yearNumber{};
    switch (order) {
      case DateOrder::MonthDayYear:
        yearNumber = *third, month = first->value, day = second->value;
        break;
      case DateOrder::DayMonthYear:
        yearNumber = *third, month = second->value, day = first->value;
        break;
      case DateOrder::YearMonthDay:
        yearNumber = *first, month = second->value, day = third->value;
        break;
    }
    year = yearNumber.digits <= 2 ? WindowedYear(yearNumber.value, currentYear) : yearNumber.value;
  } else if (order == DateOrder::DayMonthYear) {
    day = first->value, month = second->value;
  } else {
    month = first->value, day = second->value;
  }
  if (third || !separatorTaken) scan.ReadChar(settings.separator);
  scan.SkipBlanks();
  if (!scan.AtEnd() || !IsValidDate(year, month, day)) return std::nullopt;
  return EncodeDayValue(static_cast<int32_t>(year), static_cast<uint16_t>(month),
                        static_cast<uint16_t>(day));
}

void AppendNumber(std::string& out, int64_t value, int width) {
  char digits[32];
  std::snprintf(digits, sizeof digits, "%0*lld", width, static_cast<long long>(value));
  out += digits;
}

// The length of the run of letter c (case ignored) at format[i].
size_t RunLength(std::string_view format, size_t i) {
  const char folded = AsciiLower(format[i]);
  size_t n = 1;
  while (i + n < format.size() && AsciiLower(format[i + n]) == folded) ++n;
  return n;
}

}  // namespace

double ParseDateText(std::string_view text, const platform::ShortDateSettings& settings,
                     int32_t currentYear) {
  const std::optional<double> date = ReadDate(text, settings, currentYear);
  if (!date) Raise(kEConvertError, "'" + std::string(text) + "' is not a valid date");
  return *date;
}

std::string FormatShortDate(double value, const platform::ShortDateSettings& settings) {
  CivilDate date = DecodeDayValue(value);
  const bool beforeYearOne = date.year < 1;
  if (beforeYearOne) date = {0, 0, 0};
  const std::string_view format = settings.format;
  std::string out;
  for (size_t i = 0; i < format.size();) {
    const char c = format[i];
    if (c == '"' || c == '\'') {
      const size_t close = format.find(c, i + 1);
      const size_t end = close == std::string_view::npos ? format.size() : close;
      out.append(format.substr(i + 1, end - i - 1));
      i = end == format.size() ? end : end + 1;
      continue;
    }
    if (c == '/') {
      out += settings.separator;
      ++i;
      continue;
    }
    const char letter = AsciiLower(c);
    if (letter != 'd' && letter != 'm' && letter != 'y') {
      out += c;
      ++i;
      continue;
    }
    const size_t run = RunLength(format, i);
    if (letter == 'y') {
      AppendNumber(out, run <= 2 ? date.year % 100 : date.year, run <= 2 ? 2 : 4);
    } else if (run <= 2) {
      AppendNumber(out, letter == 'm' ? date.month : date.day, static_cast<int>(run));
    } else if (!beforeYearOne) {
      // Names: three letters give the short name, more the long one.
      if (letter == 'm')
        out += (run == 3 ? settings.shortMonthNames : settings.longMonthNames)[date.month - 1];
      else
        out += (run == 3 ? settings.shortDayNames
                         : settings.longDayNames)[WeekdaySundayFirst(value) - 1];
    }
    i += run;
  }
  return out;
}

}  // namespace quillet
