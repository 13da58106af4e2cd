// The version text's stamp through the exports: the stamp file's last-write
// time set to known local times, and times that file dates cannot hold.
#include <string>

#include "frame/VersionNumber.h"
#include "support/StampFile.h"

namespace quillet::conformance {
namespace {

// The version text with the given stamp.
std::string Version(const std::string& stamp) {
  return std::string(kVersionNumber) + " /" + stamp + "/";
}

TEST_F(StampFile, KnownTimesGiveTheirStamps) {
  Create();
  Touch(2004, 3, 15, 14, 30, 0);  // in summer time natively
  EXPECT_EQ(VersionText(), Version("18079A46"));
  Touch(2004, 3, 15, 14, 30, 59);
  EXPECT_EQ(VersionText(), Version("18079A46")) << "seconds are not part of the stamp";
  Touch(2004, 2, 24, 1, 58, 0);
  EXPECT_EQ(VersionText(), Version("17F9B29E"));
  Touch(1980, 1, 1, 0, 0, 0);
  EXPECT_EQ(VersionText(), Version("1DCE5B950"));
  Touch(2107, 12, 31, 23, 59, 58);
  EXPECT_EQ(VersionText(), Version("2A750627"));
}

TEST_F(StampFile, EveryTextCarriesTheStamp) {
  Create();
  Touch(2004, 3, 15, 14, 30, 0);
  EXPECT_EQ(Result("QLVERSION"), "Quillet " + Version("18079A46"));
  EXPECT_TRUE(Result("QLVERSION", {"vv"})
                  .starts_with("Quillet " + Version("18079A46") + "\r\nQLVERSION\t"));
  EXPECT_EQ(InfoPage(), ExpectedInfoPage(Version("18079A46"), ShownSettingsPath()));
}

TEST_F(StampFile, MissingOrOutsideTheFileDateYearsGivesTimeZero) {
  const std::string zero = Version("24ED1B1E0");
  EXPECT_EQ(VersionText(), zero);
  EXPECT_TRUE(Result("QLVERSION", {"vv"}).starts_with("Quillet " + zero + "\r\nQLVERSION\t"));
  Create();
  for (const int year : {1601, 1975, 2108, 30000}) {
    Touch(year, 1, 2, 0, 0, 0);
    EXPECT_EQ(VersionText(), zero) << year;
  }
  Touch(1979, 12, 31, 23, 59, 59);
  EXPECT_EQ(VersionText(), zero);
}

TEST_F(StampFile, AFolderOfThatNameGivesItsTime) {
  CreateFolder();
  Touch(2004, 3, 15, 14, 30, 0);
  EXPECT_EQ(VersionText(), Version("18079A46"));
}

}  // namespace
}  // namespace quillet::conformance
