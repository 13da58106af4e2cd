// Date texts and short date formats from the fuzzer: reading either parses a
// valid date or fails with the conversion error, and writing any day value
// with any format never faults.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "calendar/Calendar.h"
#include "calendar/DateText.h"
#include "frame/Failure.h"

using namespace quillet;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 8) return 0;
  // Bytes 0-3: a year for Easter; 4: the separator; 5: format length; then
  // the format and the text.
  int32_t year = 0;
  for (int i = 0; i < 4; ++i)
    year = static_cast<int32_t>(static_cast<uint32_t>(year) << 8 | data[i]);
  platform::ShortDateSettings settings;
  settings.separator = static_cast<char>(data[4]);
  const size_t formatLength = std::min<size_t>(data[5], size - 6);
  settings.format.assign(reinterpret_cast<const char*>(data + 6), formatLength);
  const std::string text(reinterpret_cast<const char*>(data + 6 + formatLength),
                         size - 6 - formatLength);
  try {
    const double day = ParseDateText(text, settings, 2026);
    const CivilDate date = DecodeDayValue(day);
    if (date.year < 1 || date.year > 9999) std::abort();
  } catch (const Failure& failure) {
    if (failure.kind() != "EConvertError") std::abort();
  }
  FormatShortDate(EasterDate(year), settings);
  return 0;
}
