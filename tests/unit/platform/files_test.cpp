// File calls that a path swapped behind the plug-in's back must not mislead.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/DirSearch.h"
#include "platform/TempFiles.h"
#include "support/TestSockets.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

TEST(TempFiles, ThePlaceholderIsWrittenThroughTheHandleThatCreatedIt) {
  std::string path, moved;
  platform::FileHandle file = platform::kNoFile;
  ASSERT_TRUE(platform::CreateUniqueFile(platform::TemporaryDirectory(), "Indy", path, file));
  fs::rename(path, moved = path + ".moved");
  std::ofstream(path) << "swapped in";
  EXPECT_TRUE(platform::WriteAll(file, "body", 4) && platform::CloseFile(file));
  EXPECT_EQ(fs::file_size(path), 10u);
  EXPECT_EQ(fs::file_size(moved), 4u) << "the body went to the file that was created";
  EXPECT_TRUE(platform::RemoveFile(path) && platform::RemoveFile(moved));
}

TEST(DirSearch, ALinkIsNotIdentifiedAsTheDirectoryItLeadsTo) {
  const fs::path top = fs::temp_directory_path() / "quillet-identify";
  std::error_code failed;
  fs::remove_all(top, failed);
  fs::create_directories(top / "outside", failed);
  fs::create_directory_symlink(top / "outside", top / "swapped", failed);
  if (failed || testing::RunningUnderWine()) GTEST_SKIP() << "Windows' own search follows links";
  platform::DirectoryIdentity identity{};
  EXPECT_TRUE(platform::IdentifyDirectory((top / "outside").string() + "\\", false, identity));
  EXPECT_FALSE(platform::IdentifyDirectory((top / "swapped").string() + "\\", false, identity));
  EXPECT_TRUE(platform::IdentifyDirectory((top / "swapped").string() + "\\", true, identity));
  fs::remove_all(top);
}

}  // namespace
}  // namespace quillet
