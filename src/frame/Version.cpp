// The version text, the information page and the QLVERSION macro, all built
// anew on every request from constants, the macro table, the settings path
// and the stamp file's time.
#include "frame/Version.h"

#include <charconv>

#include "base/Ascii.h"
#include "calendar/Calendar.h"
#include "frame/Macros.h"
#include "frame/Settings.h"
#include "frame/VersionNumber.h"
#include "platform/FileInfo.h"

namespace quillet {
namespace {

// The file whose last-write time stamps the version text; where the library
// itself lies is not consulted.
constexpr char kStampFile[] = "c:\\Program Files\\Wrenmail\\adds\\wrp\\Quillet.WRP";

constexpr char kPageHead[] =
    "<html><head><style>td: { color: Red; } </style></head><body><center><h1>Quillet<br></h1>"
    "<h2>";
constexpr char kCredits[] =
    "<div>Built on the Wrenmail plug-in interface and its template macros.</div>"
    "<div>Written by the Quillet developers.</div>"
    "<p><h3>Credits:</h3></p>"
    "<div>Network components: the Quillet developers.</div>"
    "<div>Hash algorithms: the Quillet developers.</div>";
constexpr char kBullet = '\x95';  // in the host's code page, Windows-1252

// The stamp pattern yymmddhhnn of a date value, as a number.
uint64_t StampNumber(double value) {
  const CivilDate date = DecodeDayValue(value);
  const auto minuteOfDay = static_cast<uint64_t>(MillisecondOfDay(value) / 60'000);
  uint64_t number = static_cast<uint64_t>((date.year % 100 + 100) % 100);
  number = number * 100 + static_cast<uint64_t>(date.month);
  number = number * 100 + static_cast<uint64_t>(date.day);
  number = number * 100 + minuteOfDay / 60;
  return number * 100 + minuteOfDay % 60;
}

std::string UpperHex(uint64_t number) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, number, 16).ptr;
  return AsciiUpperCase(std::string_view(digits, static_cast<size_t>(end - digits)));
}

}  // namespace

double FileStampTime(const std::string& path) {
  platform::LocalTime time{};
  if (!platform::LastWriteLocalTime(path, time)) return 0;
  // File dates hold the years 1980 to 2107 and even seconds; no stamp is
  // defined for other years, and those read as a missing file does.
  if (time.year < 1980 || time.year > 2107) return 0;
  time.second -= time.second % 2;
  return EncodeDateTime(time.year, static_cast<uint16_t>(time.month),
                        static_cast<uint16_t>(time.day),
                        ((int64_t{time.hour} * 60 + time.minute) * 60 + time.second) * 1000);
}

std::string GetVersionText() {
  return std::string(kVersionNumber) + " /" + UpperHex(StampNumber(FileStampTime(kStampFile))) +
         "/";
}

std::string GetInfoPage() {
  std::string page = kPageHead;
  page += GetVersionText();
  page += ' ';
  page += SettingsFileName();
  page += "</h2></center><hr>";
  page += kCredits;
  page += "<p>Implements:<table>";
  for (const MacroRow& row : MacroTable()) {
    page += "<tr><td>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;";
    page += kBullet;
    page += ' ';
    page += row.name;
    page += "</td><td>&nbsp;&nbsp;";
    page += row.description;
    page += "</td></tr>";
  }
  page += "</table></body></html>";
  return page;
}

void QlVersionMacro(IWRPDataProvider*, IWRPDataProvider* params, std::string& result) {
  const int32_t count = GetParamCount(params);
  if (count > 1 || count < 0) {
    result = kWrongParamCount;
    return;
  }
  const std::string mode = count == 0 ? std::string("n") : AsciiLowerCase(GetParamStr(params, 0));
  if (mode == "s") {
    result = kShortVersion;
  } else if (mode == "n") {
    result = "Quillet " + GetVersionText();
  } else if (mode == "v" || mode == "vv") {
    result = "Quillet " + GetVersionText() + "\r\n";
    for (const MacroRow& row : MacroTable()) {
      if (mode == "vv") {
        result += row.name;
        result += row.name.size() < 8 ? "\t\t" : "\t";
        result += row.description;
        result += "\r\n";
      } else if (row.description != kNotImplemented) {
        result += row.name;
        result += "\r\n";
      }
    }
  }
}

}  // namespace quillet
