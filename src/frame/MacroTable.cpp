// The 21 rows of the macro table, the lookup by name and the macro list.
#include <array>

#include "base/Ascii.h"
#include "calendar/DateMacros.h"
#include "frame/Macros.h"
#include "frame/Version.h"
#include "hash/HashMacro.h"
#include "net/NetMacros.h"
#include "net/WebMacros.h"
#include "text/TextMacros.h"

namespace quillet {
namespace {

// The macros that are listed but do no work: they read nothing and touch
// neither provider.
void NotImplementedMacro(IWRPDataProvider*, IWRPDataProvider*, std::string& result) {
  result = kNotImplemented;
}

constexpr std::array<MacroRow, 21> kRows{{
    {"QLVERSION", QlVersionMacro, "Returns version info of Quillet"},
    {"DAYOFYEAR", DayOfYearMacro, "Returns serial number of day in year"},
    {"WEEKOFYEAR", WeekOfYearMacro, "Returns serial number of week in year"},
    {"ISOWEEKOFYEAR", IsoWeekOfYearMacro, "Returns ISO serial number of week in year"},
    {"EASTERSUNDAY", EasterSundayMacro, "Returns the date of Easter Sunday in the year"},
    {"LOCALTZ", LocalTzMacro, "Returns local timezone in form +/-HHMM"},
    {"XFACE", XFaceMacro, "Adds X-Face header to message"},
    {"HASH", HashMacro, "Returns hash of string using any of 21 predefined algos"},
    {"FIND", NotImplementedMacro, kNotImplemented},
    {"PARENT", NotImplementedMacro, kNotImplemented},
    {"FOLDERPATH", FolderPathMacro, kNotImplemented},
    {"CONVERTURL", ConvertUrlMacro, "Converts URL into the set of webbymail commands"},
    {"IPLIST", NotImplementedMacro, kNotImplemented},
    {"ENCODEURL", EncodeUrlMacro, "Convert string into URL-encoded form"},
    {"EXEC", NotImplementedMacro, kNotImplemented},
    {"EXECFUNC", NotImplementedMacro, kNotImplemented},
    {"WHOIS", NotImplementedMacro, kNotImplemented},
    {"HOSTNAME", HostNameMacro, "Resolves IP-address to hostname"},
    {"ATTACHURL", AttachUrlMacro, "Attach file, defined in URI, into message"},
    {"PING", PingMacro, "Ping specified by name or IP-address host"},
    {"PUTURL", PutUrlMacro, "Inserts content of URI into message"},
}};

bool NameEquals(const char* name, std::string_view rowName) {
  for (char expected : rowName) {
    if (*name == '\0' || AsciiUpper(*name) != expected) return false;
    ++name;
  }
  return *name == '\0';
}

}  // namespace

std::span<const MacroRow> MacroTable() {
  return kRows;
}

const MacroRow* FindMacro(const char* name) {
  if (name == nullptr) return nullptr;
  for (const MacroRow& row : kRows)
    if (NameEquals(name, row.name)) return &row;
  return nullptr;
}

std::string MacroListText() {
  std::string list;
  for (const MacroRow& row : kRows) {
    list += row.name;
    list += "\r\n";
  }
  return list;
}

}  // namespace quillet
