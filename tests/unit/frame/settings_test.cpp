// The settings location against a registry played by the test: which values
// are read and how, which candidate wins, and that the key is closed however
// the reading ends. Candidate files live in a fresh temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "frame/Failure.h"
#include "frame/Settings.h"
#include "platform/Registry.h"

namespace quillet {
namespace {

namespace fs = std::filesystem;
using platform::RegistryKey;

struct PlayedValue {
  uint32_t type;
  std::string data;
  bool failFetch = false;  // the value cannot be fetched once its size is known
};

// The registry the test plays: one key, or none.
struct PlayedRegistry {
  bool keyPresent = true;
  std::string unreadable;  // why the registry cannot be read, if it cannot
  std::map<std::string, PlayedValue> values;
  std::string openedPath;
  int opens = 0;
  int closes = 0;
  std::vector<std::string> queried;
};

PlayedRegistry* gPlayed = nullptr;
RegistryKey* const kPlayedKey = reinterpret_cast<RegistryKey*>(&gPlayed);

const platform::RegistryCalls kPlayedCalls{
    [](const std::string& path, std::string& failure) -> RegistryKey* {
      gPlayed->openedPath = path;
      if (!gPlayed->unreadable.empty()) failure = gPlayed->unreadable;
      if (!gPlayed->keyPresent || !failure.empty()) return nullptr;
      ++gPlayed->opens;
      return kPlayedKey;
    },
    [](RegistryKey* key, const std::string& name, uint32_t& type, uint32_t& size) {
      EXPECT_EQ(key, kPlayedKey);
      gPlayed->queried.push_back(name);
      const auto found = gPlayed->values.find(name);
      if (found == gPlayed->values.end()) return false;
      type = found->second.type;
      size = static_cast<uint32_t>(found->second.data.size());
      return true;
    },
    [](RegistryKey*, const std::string& name, uint32_t size, uint32_t& type, std::string& data) {
      const PlayedValue& value = gPlayed->values.at(name);
      if (value.failFetch || value.data.size() > size) return false;
      type = value.type;
      data = value.data;
      return true;
    },
    [](RegistryKey* key) {
      EXPECT_EQ(key, kPlayedKey);
      ++gPlayed->closes;
    },
};

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    gPlayed = &played_;
    platform::ReplaceRegistry(&kPlayedCalls);
    std::random_device random;
    folder_ = fs::temp_directory_path() / ("quillet-unit-" + std::to_string(random()));
    fs::create_directories(folder_);
  }

  void TearDown() override {
    platform::ReplaceRegistry(nullptr);
    gPlayed = nullptr;
    fs::remove_all(folder_);
  }

  void Set(const std::string& name, uint32_t type, std::string data) {
    played_.values[name] = {type, std::move(data)};
  }

  // LocateSettingsFile fails with ERegistryException and message.
  void ExpectFailure(const std::string& message) {
    try {
      LocateSettingsFile();
      ADD_FAILURE() << "no failure, expected " << message;
    } catch (const Failure& failure) {
      EXPECT_EQ(failure.kind(), "ERegistryException");
      EXPECT_EQ(failure.message(), message);
    }
    EXPECT_EQ(played_.closes, played_.opens) << "the key was left open";
  }

  PlayedRegistry played_;
  fs::path folder_;
};

TEST_F(Settings, TheHostsKeyIsOpenedAndClosedAndBothValuesRead) {
  EXPECT_EQ(LocateSettingsFile(), "WRPlugin.INI");
  EXPECT_EQ(played_.openedPath, "Software\\Kestrel\\Wrenmail");
  EXPECT_EQ(played_.opens, 1);
  EXPECT_EQ(played_.closes, 1);
  EXPECT_EQ(played_.queried, (std::vector<std::string>{"Program Files", "Working Directory"}));
}

TEST_F(Settings, ProgramFilesWinsWhenItsSettingsFileOrFolderExists) {
  const std::string programFiles = folder_.string();
  Set("Program Files", platform::kRegSz, programFiles);
  Set("Working Directory", platform::kRegSz, "D:\\MailData\\");
  EXPECT_EQ(LocateSettingsFile(), "D:\\MailData\\WRPlugin.INI");
  std::ofstream(folder_ / "Quillet.ini") << "";
  EXPECT_EQ(LocateSettingsFile(), programFiles + "\\Quillet.ini");
  fs::remove(folder_ / "Quillet.ini");
  fs::create_directory(folder_ / "Quillet.ini");
  EXPECT_EQ(LocateSettingsFile(), programFiles + "\\Quillet.ini");
}

TEST_F(Settings, WorkingDirectoryIsAPrefixWithoutAddedSeparator) {
  Set("Working Directory", platform::kRegSz, "D:\\MailData");
  EXPECT_EQ(LocateSettingsFile(), "D:\\MailDataWRPlugin.INI");
  Set("Program Files", platform::kRegSz, (folder_ / "missing").string());
  EXPECT_EQ(LocateSettingsFile(), "D:\\MailDataWRPlugin.INI");
}

TEST_F(Settings, AnAbsentKeyReadsAsTwoEmptyTexts) {
  played_.keyPresent = false;
  Set("Working Directory", platform::kRegSz, "D:\\");
  EXPECT_EQ(LocateSettingsFile(), "WRPlugin.INI");
  EXPECT_EQ(played_.closes, 0);
  EXPECT_TRUE(played_.queried.empty());
}

TEST_F(Settings, ARegistryThatCannotBeReadFailsWithItsReason) {
  played_.unreadable = "Cannot read the registry file 'r.reg': Permission denied";
  Set("Working Directory", platform::kRegSz, "D:\\");
  ExpectFailure("Cannot read the registry file 'r.reg': Permission denied");
  EXPECT_TRUE(played_.queried.empty());
}

TEST_F(Settings, TextsEndAtTheirFirstZeroByteAndStayUnexpanded) {
  Set("Working Directory", platform::kRegExpandSz, std::string("%TEMP%\\\0junk\0", 13));
  EXPECT_EQ(LocateSettingsFile(), "%TEMP%\\WRPlugin.INI");
  Set("Working Directory", platform::kRegSz, std::string("\0D:\\", 4));
  EXPECT_EQ(LocateSettingsFile(), "WRPlugin.INI");
}

TEST_F(Settings, EmptyValuesOfAnyTypeReadAsEmpty) {
  Set("Program Files", platform::kRegDword, "");
  Set("Working Directory", platform::kRegBinary, "");
  EXPECT_EQ(LocateSettingsFile(), "WRPlugin.INI");
}

TEST_F(Settings, AValueLongerThan64KiB) {
  const std::string folder = "E:\\" + std::string(100000, 'd') + "\\";
  Set("Program Files", platform::kRegSz, folder);
  Set("Working Directory", platform::kRegSz, folder);
  EXPECT_EQ(LocateSettingsFile(), folder + "WRPlugin.INI");
}

TEST_F(Settings, OtherTypesFail) {
  for (uint32_t type : {platform::kRegNone, platform::kRegBinary, platform::kRegDword,
                        platform::kRegMultiSz, uint32_t{11}}) {
    played_ = {};
    Set("Working Directory", type, std::string("\x10\0\0\0", 4));
    ExpectFailure("Invalid data type for 'Working Directory'");
  }
  played_ = {};
  Set("Program Files", platform::kRegDword, "1234");
  Set("Working Directory", platform::kRegDword, "1234");
  ExpectFailure("Invalid data type for 'Program Files'");
  EXPECT_EQ(played_.queried, std::vector<std::string>{"Program Files"}) << "reading stops";
}

TEST_F(Settings, AValueThatCannotBeFetchedAfterItsSizeWasLearnt) {
  played_.values["Program Files"] = {platform::kRegSz, "C:\\Apps", true};
  ExpectFailure("Failed to get data for 'Program Files'");
  played_ = {};
  played_.values["Working Directory"] = {platform::kRegDword, "1234", true};
  ExpectFailure("Failed to get data for 'Working Directory'");
}

TEST_F(Settings, FileExistsAnyAdmitsFilesAndFolders) {
  std::ofstream(folder_ / "file.txt") << "x";
  fs::create_directory(folder_ / "folder");
  EXPECT_TRUE(FileExistsAny((folder_ / "file.txt").string()));
  EXPECT_TRUE(FileExistsAny((folder_ / "folder").string()));
  EXPECT_TRUE(FileExistsAny(folder_.string()));
  EXPECT_FALSE(FileExistsAny((folder_ / "missing.txt").string()));
  EXPECT_FALSE(FileExistsAny((folder_ / "missing" / "file.txt").string()));
  EXPECT_FALSE(FileExistsAny(""));
  EXPECT_FALSE(FileExistsAny(folder_.string() + "\\" + std::string(5000, 'x')));
}

}  // namespace
}  // namespace quillet
