// The file calls that a path swapped behind the plug-in's back must not
// mislead: a directory's identity is not read through a link.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/DirSearch.h"
#include "support/TestSockets.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

TEST(DirSearch, ALinkIsNotIdentifiedAsTheDirectoryItLeadsTo) {
  if (testing::RunningUnderWine()) GTEST_SKIP() << "Windows' own search follows links";
  const fs::path top = fs::temp_directory_path() / "quillet-identify";
  fs::remove_all(top);
  fs::create_directories(top / "outside");
  std::error_code failed;
  fs::create_directory_symlink(top / "outside", top / "swapped", failed);
  if (failed) GTEST_SKIP() << "no symbolic links here: " << failed.message();
  platform::DirectoryIdentity identity{};
  EXPECT_TRUE(platform::IdentifyDirectory((top / "outside").string() + "\\", identity));
  EXPECT_FALSE(platform::IdentifyDirectory((top / "swapped").string() + "\\", identity));
  EXPECT_FALSE(platform::IdentifyDirectory((top / "swapped").string() + "/", identity));
  fs::remove_all(top);
}

}  // namespace
}  // namespace quillet
