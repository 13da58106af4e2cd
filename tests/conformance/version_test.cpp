// The version text, the information page and every mode of QLVERSION, as a
// host sees them whatever the stamp file's time.
#include <string>
#include <vector>

#include "frame/VersionNumber.h"
#include "support/SelfDescription.h"
#include "support/VersionText.h"

namespace quillet::conformance {
namespace {

constexpr char kWrongCount[] = " *** Error: wrong number of parameters *** ";

constexpr char kWorkingMacros[] =
    "QLVERSION\r\nDAYOFYEAR\r\nWEEKOFYEAR\r\nISOWEEKOFYEAR\r\nEASTERSUNDAY\r\nLOCALTZ\r\n"
    "XFACE\r\nHASH\r\nCONVERTURL\r\nENCODEURL\r\nHOSTNAME\r\nATTACHURL\r\nPING\r\nPUTURL\r\n";

constexpr char kAllMacros[] =
    "QLVERSION\tReturns version info of Quillet\r\n"
    "DAYOFYEAR\tReturns serial number of day in year\r\n"
    "WEEKOFYEAR\tReturns serial number of week in year\r\n"
    "ISOWEEKOFYEAR\tReturns ISO serial number of week in year\r\n"
    "EASTERSUNDAY\tReturns the date of Easter Sunday in the year\r\n"
    "LOCALTZ\t\tReturns local timezone in form +/-HHMM\r\n"
    "XFACE\t\tAdds X-Face header to message\r\n"
    "HASH\t\tReturns hash of string using any of 21 predefined algos\r\n"
    "FIND\t\t* Not implemented yet *\r\n"
    "PARENT\t\t* Not implemented yet *\r\n"
    "FOLDERPATH\t* Not implemented yet *\r\n"
    "CONVERTURL\tConverts URL into the set of webbymail commands\r\n"
    "IPLIST\t\t* Not implemented yet *\r\n"
    "ENCODEURL\tConvert string into URL-encoded form\r\n"
    "EXEC\t\t* Not implemented yet *\r\n"
    "EXECFUNC\t* Not implemented yet *\r\n"
    "WHOIS\t\t* Not implemented yet *\r\n"
    "HOSTNAME\tResolves IP-address to hostname\r\n"
    "ATTACHURL\tAttach file, defined in URI, into message\r\n"
    "PING\t\tPing specified by name or IP-address host\r\n"
    "PUTURL\t\tInserts content of URI into message\r\n";

using testing::IsVersionText;

TEST(VersionText, IsTheVersionWithAStampInUpperCaseHex) {
  const std::string version = VersionText();
  EXPECT_TRUE(IsVersionText(version)) << version;
  EXPECT_EQ(VersionText(), version) << "two calls in a row differ";
}

TEST(QlVersion, NameModeIsTheDefault) {
  const std::string expected = "Quillet " + VersionText();
  EXPECT_EQ(Result("QLVERSION"), expected);
  EXPECT_EQ(Result("QLVERSION", {"n"}), expected);
  EXPECT_EQ(Result("QLVERSION", {"N"}), expected);
}

TEST(QlVersion, ShortMode) {
  EXPECT_EQ(Result("QLVERSION", {"s"}), kShortVersion);
  EXPECT_EQ(Result("QLVERSION", {"S"}), kShortVersion);
}

TEST(QlVersion, ListingOfTheWorkingMacros) {
  const std::string expected = "Quillet " + VersionText() + "\r\n" + kWorkingMacros;
  EXPECT_EQ(Result("QLVERSION", {"v"}), expected);
  EXPECT_EQ(Result("QLVERSION", {"V"}), expected);
}

TEST(QlVersion, ListingOfAllMacrosWithDescriptions) {
  const std::string expected = "Quillet " + VersionText() + "\r\n" + kAllMacros;
  for (const char* mode : {"vv", "VV", "Vv", "vV"})
    EXPECT_EQ(Result("QLVERSION", {mode}), expected);
}

TEST(QlVersion, OtherModesGiveAnEmptyResult) {
  for (const char* mode : {"x", "", " v", "v ", "ver", "vvv", "ss", "n\n", "\xD3"})
    EXPECT_EQ(Result("QLVERSION", {mode}), "") << mode;
  EXPECT_EQ(Result("QLVERSION", {std::string("v\0", 2)}), "");
  EXPECT_EQ(Result("QLVERSION", {std::string(70000, 'v')}), "");
}

TEST(QlVersion, TwoOrMoreParametersAreAWrongCountAndNoneIsRead) {
  for (const std::vector<std::string>& set :
       {std::vector<std::string>{"v", "v"}, std::vector<std::string>{"s", "x", "y"}}) {
    host::HostProvider context;
    host::HostProvider params(set);
    const MacroRun run = Exec("QLVERSION", context, params);
    ASSERT_FALSE(run.ended) << run.end.message;
    EXPECT_EQ(run.answer, 0);
    EXPECT_EQ(Delivered(context), kWrongCount);
    EXPECT_EQ(params.getTextCalls(), 0);
    EXPECT_EQ(context.getTextCalls(), 0) << "QLVERSION does not use Context";
  }
}

TEST(QlVersion, AParameterTheHostFailsToSupplyReadsAsAnEmptyMode) {
  host::HostProvider context;
  host::HostProvider params({"vv"});
  params.failGetTextAt = 0;
  const MacroRun run = Exec("QLVERSION", context, params);
  ASSERT_FALSE(run.ended) << run.end.kind << ": " << run.end.message;
  EXPECT_EQ(run.answer, 0);
  EXPECT_EQ(Delivered(context), "");
  EXPECT_GE(params.getTextCalls(), 1);
}

TEST(InfoPage, IsTheExpectedPageByteForByte) {
  const std::string page = InfoPage();
  EXPECT_EQ(page, ExpectedInfoPage(VersionText(), ShownSettingsPath()));
  EXPECT_EQ(InfoPage(), page) << "two calls in a row differ";
  EXPECT_EQ(page.find('\n'), std::string::npos);
  EXPECT_EQ(page.find('\r'), std::string::npos);
}

TEST(InfoPage, HashRowAndBullets) {
  const std::string page = InfoPage();
  EXPECT_NE(page.find("<tr><td>&nbsp;&nbsp;&nbsp;&nbsp;&nbsp;\x95 HASH</td><td>&nbsp;&nbsp;"
                      "Returns hash of string using any of 21 predefined algos</td></tr>"),
            std::string::npos);
  size_t bullets = 0;
  for (char c : page) bullets += c == '\x95';
  EXPECT_EQ(bullets, 21u);
  size_t divs = 0;
  for (size_t at = page.find("<div>"); at != std::string::npos; at = page.find("<div>", at + 1))
    ++divs;
  EXPECT_EQ(divs, 4u) << "four credit lines";
}

}  // namespace
}  // namespace quillet::conformance
