// The plug-in's self-description fetched through its exports, and the
// information page written out by hand.
#include "support/SelfDescription.h"

#include <utility>
#include <vector>

namespace quillet::conformance {
namespace {

std::string Fetch(abi::TextExport fetch) {
  std::string text;
  host::AbnormalEnd end;
  EXPECT_TRUE(host::FetchText(fetch, text, end)) << end.kind << ": " << end.message;
  return text;
}

// Every row of the macro table with its description, in table order.
const std::vector<std::pair<std::string, std::string>> kRows = {
    {"QLVERSION", "Returns version info of Quillet"},
    {"DAYOFYEAR", "Returns serial number of day in year"},
    {"WEEKOFYEAR", "Returns serial number of week in year"},
    {"ISOWEEKOFYEAR", "Returns ISO serial number of week in year"},
    {"EASTERSUNDAY", "Returns the date of Easter Sunday in the year"},
    {"LOCALTZ", "Returns local timezone in form +/-HHMM"},
    {"XFACE", "Adds X-Face header to message"},
    {"HASH", "Returns hash of string using any of 21 predefined algos"},
    {"FIND", "* Not implemented yet *"},
    {"PARENT", "* Not implemented yet *"},
    {"FOLDERPATH", "* Not implemented yet *"},
    {"CONVERTURL", "Converts URL into the set of webbymail commands"},
    {"IPLIST", "* Not implemented yet *"},
    {"ENCODEURL", "Convert string into URL-encoded form"},
    {"EXEC", "* Not implemented yet *"},
    {"EXECFUNC", "* Not implemented yet *"},
    {"WHOIS", "* Not implemented yet *"},
    {"HOSTNAME", "Resolves IP-address to hostname"},
    {"ATTACHURL", "Attach file, defined in URI, into message"},
    {"PING", "Ping specified by name or IP-address host"},
    {"PUTURL", "Inserts content of URI into message"},
};

constexpr char kHead[] =
    "<html><head><style>td: { color: Red; } </style></head><body><center><h1>Quillet<br></h1>"
    "<h2>";

}  // namespace

std::string VersionText() {
  return Fetch(Loaded().getVersion);
}

std::string InfoPage() {
  return Fetch(Loaded().getInfo);
}

bool Initialize(host::AbnormalEnd& end) {
  return host::CallGuarded([] { Loaded().initialize(); }, end);
}

std::string InitializedSettingsPath() {
  host::AbnormalEnd end;
  EXPECT_TRUE(Initialize(end)) << end.kind << ": " << end.message;
  return ShownSettingsPath();
}

std::string ShownSettingsPath() {
  const std::string page = InfoPage();
  const std::string start = kHead + VersionText() + " ";
  const size_t end = page.find("</h2>");
  if (page.compare(0, start.size(), start) != 0 || end == std::string::npos) {
    ADD_FAILURE() << "the information page does not begin as expected: " << page.substr(0, 200);
    return {};
  }
  return page.substr(start.size(), end - start.size());
}

std::string ExpectedInfoPage(const std::string& version, const std::string& settingsPath) {
  std::string page = kHead + version + " " + settingsPath + "</h2></center><hr>";
  // Two credit lines, the heading, two more; each line one div.
  page +=
      "<div>Built on the Wrenmail plug-in interface and its template macros.</div>"
      "<div>Written by the Quillet developers.</div>"
      "<p><h3>Credits:</h3></p>"
      "<div>Network components: the Quillet developers.</div>"
      "<div>Hash algorithms: the Quillet developers.</div>";
  page += "<p>Implements:<table>";
  for (const auto& [name, description] : kRows)
    page += "<tr><td>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;\x95 " + name + "</td><td>&nbsp;&nbsp;" +
            description + "</td></tr>";
  return page + "</table></body></html>";
}

}  // namespace quillet::conformance
