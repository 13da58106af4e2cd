// The version text, the information page and the QLVERSION macro, all built
// anew on every request from constants, the macro table, the settings path
// and the stamp file's time.
#include "frame/Version.h"

#include <charconv>
#include <chrono>
#include <cmath>

#include "frame/Macros.h"
#include "frame/Settings.h"
#include "platform/FileInfo.h"

namespace quillet {
namespace {

// The file whose last-write time stamps the version text; where the library
// itself lies is not consulted.
constexpr char kStampFile[] = "c:\\Program Files\\Wrenmail\\adds\\wrp\\Quillet.WRP";
constexpr char kShortVersion[] = "0.3";
constexpr int kBuildNumber = 21;

constexpr std::chrono::sys_days kDayZero{std::chrono::year{1899} / 12 / 30};
constexpr int64_t kMillisecondsPerDay = 86'400'000;

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

double DateValue(const platform::LocalTime& time) {
  using namespace std::chrono;
  const sys_days day{year{time.year} / time.month / time.day};
  const int seconds = (time.hour * 60 + time.minute) * 60 + time.second;
  return static_cast<double>((day - kDayZero).count()) + seconds / 86400.0;
}

// The stamp pattern yymmddhhnn of a date value, as a number. The value is
// rounded to the millisecond first, as date values are decoded.
uint64_t StampNumber(double value) {
  using namespace std::chrono;
  const auto milliseconds = static_cast<int64_t>(std::llround(value * kMillisecondsPerDay));
  int64_t days = milliseconds / kMillisecondsPerDay;
  int64_t ofDay = milliseconds % kMillisecondsPerDay;
  if (ofDay < 0) {
    --days;
    ofDay += kMillisecondsPerDay;
  }
  const year_month_day date{kDayZero + std::chrono::days{days}};
  const auto minuteOfDay = static_cast<uint64_t>(ofDay / 60'000);
  const auto yearInCentury =
      static_cast<uint64_t>((static_cast<int>(date.year()) % 100 + 100) % 100);
  uint64_t number = yearInCentury;
  number = number * 100 + static_cast<unsigned>(date.month());
  number = number * 100 + static_cast<unsigned>(date.day());
  number = number * 100 + minuteOfDay / 60;
  return number * 100 + minuteOfDay % 60;
}

std::string UpperHex(uint64_t number) {
  char digits[16];
  const auto end = std::to_chars(digits, digits + sizeof digits, number, 16).ptr;
  std::string text(digits, end);
  for (char& c : text)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string LowerAscii(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

}  // namespace

double FileStampTime(const std::string& path) {
  platform::LocalTime time{};
  if (!platform::LastWriteLocalTime(path, time)) return 0;
  // File dates hold the years 1980 to 2107 and even seconds; no stamp is
  // defined for other years, and those read as a missing file does.
  if (time.year < 1980 || time.year > 2107) return 0;
  time.second -= time.second % 2;
  return DateValue(time);
}

std::string GetVersionText() {
  return std::string(kShortVersion) + "." + std::to_string(kBuildNumber) + " /" +
         UpperHex(StampNumber(FileStampTime(kStampFile))) + "/";
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
  const std::string mode = count == 0 ? std::string("n") : LowerAscii(GetParamStr(params, 0));
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
