// The settings file's switches: what an editor may leave in the file is read
// as the user meant it, and a value that is not valid stops the start with
// the file, the line and the key.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "frame/Failure.h"
#include "frame/Options.h"

namespace quillet {
namespace {

Options Parse(std::string_view text) {
  return ParseOptions(text, "C:\\Mail\\Quillet.ini");
}

TEST(Options, ReadAsAnEditorWritesThem) {
  struct Case {
    const char* text;
    bool https;
    uint32_t redirects;
  };
  const Case cases[] = {
      {"", false, 0},
      {"[Quillet]\nHttps=1\nRedirects=5\n", true, 5},
      {"\xEF\xBB\xBF[quillet]\r\n  HTTPS =  1 \r\nredirects=20", true, 20},
      {"[Quillet]\rHttps=\"1\"\rRedirects=\"07\"\r", true, 7},
      {"; Https=1\n[Quillet]\n# Redirects=3\nHttps=0\n", false, 0},
      {"[Other]\nHttps=1\n[ Quillet ]\nRedirects=2\n[Last]\nHttps=1\n", false, 2},
      {"[Quillet]\nHttps=1\nHttps=0\nRedirects=4\nRedirects=9\n", true, 4},
      {"[Quillet]\nUnknown=yes\nHttps\n=1\n", false, 0},
      {"Https=1\n[Quillet\nHttps=1\n", false, 0},
      {"[Other]\nHttps=yes\nRedirects=100\n", false, 0},
  };
  for (const Case& c : cases) {
    const Options options = Parse(c.text);
    EXPECT_EQ(options.https, c.https) << c.text;
    EXPECT_EQ(options.redirects, c.redirects) << c.text;
  }
}

TEST(Options, AnInvalidValueNamesFileLineAndKey) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"[Quillet]\nHttps=yes\n",
       "Invalid value 'yes' for 'Https' in line 2 of C:\\Mail\\Quillet.ini"},
      {"\n\r\n[Quillet]\r\nredirects = 21\r\n",
       "Invalid value '21' for 'redirects' in line 4 of C:\\Mail\\Quillet.ini"},
      {"[Quillet]\nHttps=\n", "Invalid value '' for 'Https' in line 2 of C:\\Mail\\Quillet.ini"},
      {"[Quillet]\nRedirects=-1\n",
       "Invalid value '-1' for 'Redirects' in line 2 of C:\\Mail\\Quillet.ini"},
      {"[Quillet]\nRedirects=1\nRedirects=x\n",
       "Invalid value 'x' for 'Redirects' in line 3 of C:\\Mail\\Quillet.ini"},
      {"[Quillet]\nHttps=01\n",
       "Invalid value '01' for 'Https' in line 2 of C:\\Mail\\Quillet.ini"},
  };
  for (const Case& c : cases) {
    try {
      Parse(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.kind(), "ESettingsError");
      EXPECT_EQ(failure.message(), c.message);
    }
  }
}

TEST(Options, NoFileOrAnUnreadableOneLeavesTheDefaults) {
  const std::filesystem::path folder = std::filesystem::temp_directory_path() / "quillet-options";
  std::filesystem::create_directories(folder / "a-folder");
  const std::string file = (folder / "Quillet.ini").string();
  std::ofstream(file) << "[Quillet]\nHttps=1\nRedirects=3\n";
  LoadOptions(file);
  EXPECT_TRUE(CurrentOptions().https);
  EXPECT_EQ(CurrentOptions().redirects, 3u);
  LoadOptions((folder / "missing.ini").string());
  EXPECT_FALSE(CurrentOptions().https);
  CurrentOptions() = {true, 1};
  LoadOptions((folder / "a-folder").string());
  EXPECT_FALSE(CurrentOptions().https);
  EXPECT_EQ(CurrentOptions().redirects, 0u);
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace quillet
