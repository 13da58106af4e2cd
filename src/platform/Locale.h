// The user's regional date settings: the short date format and the date
// separator that dates are read and written with.
#pragma once

#include <array>
#include <string>

namespace quillet::platform {

// A short date format in the letters d, M and y ("dd.MM.yyyy"); "/" stands for
// the date separator and text in quotes is written as it is. The month and
// day names serve the MMM, MMMM, ddd and dddd forms.
struct ShortDateSettings {
  std::string format;
  char separator = '/';
  std::array<std::string, 12> shortMonthNames;
  std::array<std::string, 12> longMonthNames;
  std::array<std::string, 7> shortDayNames;  // Sunday first
  std::array<std::string, 7> longDayNames;
};

// Read anew on every call, so a change of the user's settings applies at once.
ShortDateSettings ReadShortDateSettings();

}  // namespace quillet::platform
