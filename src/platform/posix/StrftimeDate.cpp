// The mapping from strftime date formats to the short date model.
#include "platform/posix/StrftimeDate.h"

#include "base/Ascii.h"

namespace quillet::platform {
namespace {

// The model form of one conversion letter; empty for those left out.
std::string_view ModelOf(char conversion) {
  switch (conversion) {
    case 'd':
      return "dd";
    case 'e':
      return "d";
    case 'm':
      return "MM";
    case 'y':
      return "yy";
    case 'Y':
      return "yyyy";
    case 'b':
    case 'h':
      return "MMM";
    case 'B':
      return "MMMM";
    case 'a':
      return "ddd";
    case 'A':
      return "dddd";
    case 'D':
      return "MM/dd/yy";
    case 'F':
      return "yyyy-MM-dd";
    case 'n':
    case 't':
      return " ";
    default:
      return {};
  }
}

bool IsNumber(char conversion) {
  return conversion == 'd' || conversion == 'e' || conversion == 'm' || conversion == 'y' ||
         conversion == 'Y' || conversion == 'D' || conversion == 'F';
}

// Walks the format, calling literal(c) for each literal character and
// conversion(letter) for each conversion.
template <typename Literal, typename Conversion>
void Walk(std::string_view format, Literal&& literal, Conversion&& conversion) {
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 == format.size()) {
      literal(format[i]);
      continue;
    }
    ++i;
    if (format[i] == 'E' || format[i] == 'O') {
      if (++i == format.size()) return;
    }
    if (format[i] == '%') {
      literal('%');
    } else {
      conversion(format[i]);
    }
  }
}

}  // namespace

std::string ShortDateFormatFromStrftime(std::string_view format) {
  std::string model;
  bool quoted = false;
  const auto closeQuote = [&] {
    if (quoted) model += '"';
    quoted = false;
  };
  Walk(
      format,
      [&](char c) {
        // Letters would read as format letters and quotes as quoting: both
        // go inside a quoted run; a double quote itself inside a single one.
        if (c == '"') {
          closeQuote();
          model += "'\"'";
        } else if (IsAsciiLetter(c) || c == '\'') {
          if (!quoted) model += '"';
          quoted = true;
          model += c;
        } else {
          closeQuote();
          model += c;
        }
      },
      [&](char conversion) {
        closeQuote();
        model += ModelOf(conversion);
      });
  closeQuote();
  return model;
}

char DateSeparatorFromStrftime(std::string_view format) {
  bool afterNumber = false;
  char separator = '\0';
  Walk(
      format,
      [&](char c) {
        if (afterNumber && separator == '\0') separator = c;
      },
      [&](char conversion) {
        if (separator != '\0') return;
        if (conversion == 'D' || conversion == 'F') {
          separator = conversion == 'D' ? '/' : '-';
        } else if (IsNumber(conversion)) {
          afterNumber = true;
        }
      });
  return separator == '\0' ? '/' : separator;
}

}  // namespace quillet::platform
