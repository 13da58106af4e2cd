// The file calls that a path swapped behind the plug-in's back must not
// mislead: the placeholder is written through the handle that created it,
// and a directory's identity is not read through a link.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>

#include "platform/DirSearch.h"
#include "platform/TempFiles.h"
#include "support/TestSockets.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;

std::string Contents(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

TEST(TempFiles, ThePlaceholderIsWrittenThroughTheHandleThatCreatedIt) {
  std::string path;
  platform::FileHandle file = platform::kNoFile;
  ASSERT_TRUE(platform::CreateUniqueFile(platform::TemporaryDirectory(), "Indy", path, file));
  EXPECT_EQ(path.rfind(platform::TemporaryDirectory() + "Ind", 0), 0u) << path;
  // Another program swaps the path for a file of its own.
  const std::string moved = path + ".moved";
  fs::rename(path, moved);
  std::ofstream(path, std::ios::binary) << "victim";
  ASSERT_TRUE(platform::WriteAll(file, "body", 4));
  ASSERT_TRUE(platform::CloseFile(file));
  EXPECT_EQ(Contents(path), "victim");
  EXPECT_EQ(Contents(moved), "body");
  EXPECT_TRUE(platform::RemoveFile(path));
  EXPECT_TRUE(platform::RemoveFile(moved));
}

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
