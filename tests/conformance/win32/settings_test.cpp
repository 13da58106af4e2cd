// The settings location under Windows: the host's key in the real registry,
// written through the registry API, and candidate files in a temporary
// folder; what WRP_Initialize stores and the information page shows.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "frame/VersionNumber.h"
#include "support/SelfDescription.h"

namespace quillet::conformance {
namespace {

namespace fs = std::filesystem;

constexpr char kKeyPath[] = "Software\\Kestrel\\Wrenmail";

void DeleteHostKey() {
  RegDeleteKeyA(HKEY_CURRENT_USER, kKeyPath);
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Kestrel");
}

class HostKey : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteHostKey();
    char temp[MAX_PATH] = {};
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    folder_ = fs::path(temp) / ("quillet-settings-" + std::to_string(GetCurrentProcessId()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }

  void TearDown() override {
    DeleteHostKey();
    fs::remove_all(folder_);
  }

  static void Set(const char* name, DWORD type, const std::string& data) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data.data()),
                             static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
    RegCloseKey(key);
  }

  static void SetText(const char* name, const std::string& text) {
    Set(name, REG_SZ, text + std::string(1, '\0'));
  }

  std::string Folder() const { return folder_.string(); }

  fs::path folder_;
};

TEST_F(HostKey, ProgramFilesWithTheSettingsFileAFolderOrNeither) {
  SetText("Program Files", Folder());
  SetText("Working Directory", "D:\\MailData\\");
  EXPECT_EQ(InitializedSettingsPath(), "D:\\MailData\\WRPlugin.INI");

  std::ofstream(folder_ / "Quillet.ini") << "";
  EXPECT_EQ(InitializedSettingsPath(), Folder() + "\\Quillet.ini");

  const std::string hidden = (folder_ / "Quillet.ini").string();
  ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  EXPECT_EQ(InitializedSettingsPath(), Folder() + "\\Quillet.ini") << "hidden system file";
  ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_NORMAL));

  fs::remove(folder_ / "Quillet.ini");
  fs::create_directory(folder_ / "Quillet.ini");
  EXPECT_EQ(InitializedSettingsPath(), Folder() + "\\Quillet.ini") << "folder";
}

TEST_F(HostKey, WorkingDirectoryIsAPlainPrefix) {
  SetText("Working Directory", "D:\\MailData");
  EXPECT_EQ(InitializedSettingsPath(), "D:\\MailDataWRPlugin.INI");
}

TEST_F(HostKey, AnAbsentKeyLeavesBothTextsEmpty) {
  EXPECT_EQ(InitializedSettingsPath(), "WRPlugin.INI");
  HKEY key = nullptr;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ, &key), ERROR_SUCCESS)
      << "the key was created";
}

TEST_F(HostKey, TextsEndAtTheirFirstZeroByteAndStayUnexpanded) {
  Set("Working Directory", REG_EXPAND_SZ, std::string("%TEMP%\\\0junk\0", 13));
  EXPECT_EQ(InitializedSettingsPath(), "%TEMP%\\WRPlugin.INI");
  Set("Working Directory", REG_SZ, std::string("D:\\Mail\\\0E:\\", 13));
  EXPECT_EQ(InitializedSettingsPath(), "D:\\Mail\\WRPlugin.INI");
  Set("Working Directory", REG_SZ, "D:\\Unterminated\\");
  EXPECT_EQ(InitializedSettingsPath(), "D:\\Unterminated\\WRPlugin.INI");
}

TEST_F(HostKey, EmptyValuesOfAnyTypeReadAsEmpty) {
  Set("Program Files", REG_BINARY, "");
  Set("Working Directory", REG_SZ, "");
  EXPECT_EQ(InitializedSettingsPath(), "WRPlugin.INI");
}

TEST_F(HostKey, ValuesLongerThan64KiB) {
  const std::string folder = "D:\\" + std::string(100000, 'm') + "\\";
  SetText("Program Files", folder);
  SetText("Working Directory", folder);
  EXPECT_EQ(InitializedSettingsPath(), folder + "WRPlugin.INI");
}

TEST_F(HostKey, NonTextValuesEndInitializeAndThePluginGoesOn) {
  SetText("Working Directory", "D:\\Before\\");
  EXPECT_EQ(InitializedSettingsPath(), "D:\\Before\\WRPlugin.INI");

  const DWORD number = 16;
  Set("Working Directory", REG_DWORD, std::string(reinterpret_cast<const char*>(&number), 4));
  host::AbnormalEnd end;
  EXPECT_FALSE(Initialize(end));
  EXPECT_EQ(end.kind, "ERegistryException");
  EXPECT_EQ(end.message, "Invalid data type for 'Working Directory'");
  EXPECT_EQ(ShownSettingsPath(), "D:\\Before\\WRPlugin.INI") << "the stored path stays";
  EXPECT_EQ(Result("WHOIS"), "* Not implemented yet *");
  EXPECT_EQ(Result("QLVERSION", {"s"}), kShortVersion);

  Set("Program Files", REG_BINARY, "C:");
  EXPECT_FALSE(Initialize(end));
  EXPECT_EQ(end.message, "Invalid data type for 'Program Files'");
  Set("Program Files", REG_MULTI_SZ, std::string("C:\\\0\0", 5));
  EXPECT_FALSE(Initialize(end));
  EXPECT_EQ(end.message, "Invalid data type for 'Program Files'");
}

TEST_F(HostKey, TheCallersErrorModeIsKept) {
  std::ofstream(folder_ / "Quillet.ini") << "";
  SetText("Program Files", Folder());
  for (UINT mode : {0u, UINT{SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX}}) {
    const UINT before = SetErrorMode(mode);
    EXPECT_EQ(InitializedSettingsPath(), Folder() + "\\Quillet.ini");
    EXPECT_EQ(SetErrorMode(before), mode);
  }
}

}  // namespace
}  // namespace quillet::conformance
