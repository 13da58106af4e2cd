// The settings location of the development build: the host's registry key
// read from a REGEDIT4 file ($QUILLET_REGISTRY), Windows drives mapped under
// $QUILLET_DRIVES; what WRP_Initialize stores and the information page shows.
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "frame/VersionNumber.h"
#include "support/SelfDescription.h"

namespace quillet::conformance {
namespace {

namespace fs = std::filesystem;

constexpr char kKey[] = "[HKEY_CURRENT_USER\\Software\\Kestrel\\Wrenmail]\n";

class RegistryFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/quillet-settings-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    file_ = root_ + "/registry.reg";
    setenv("QUILLET_REGISTRY", file_.c_str(), 1);
    setenv("QUILLET_DRIVES", (root_ + "/drives").c_str(), 1);
  }

  void TearDown() override {
    unsetenv("QUILLET_REGISTRY");
    unsetenv("QUILLET_DRIVES");
    fs::remove_all(root_);
  }

  void Write(const std::string& text) const { WriteFile(file_, text); }

  static void WriteFile(const std::string& path, const std::string& text) {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }

  // WRP_Initialize ends abnormally with ERegistryException and message.
  static void ExpectInitializeFails(const std::string& message) {
    host::AbnormalEnd end;
    EXPECT_FALSE(Initialize(end));
    EXPECT_EQ(end.kind, "ERegistryException");
    EXPECT_EQ(end.message, message);
  }

  std::string root_;
  std::string file_;
};

TEST_F(RegistryFile, ProgramFilesWithTheSettingsFileOrAFolderOfThatName) {
  Write("REGEDIT4\n\n" + std::string(kKey) +
        "\"Program Files\"=\"C:\\\\Apps\\\\Mail\"\n"
        "\"Working Directory\"=\"D:\\\\MailData\\\\\"\n");
  EXPECT_EQ(InitializedSettingsPath(), "D:\\MailData\\WRPlugin.INI");
  WriteFile(root_ + "/drives/c/Apps/Mail/Quillet.ini", "");
  EXPECT_EQ(InitializedSettingsPath(), "C:\\Apps\\Mail\\Quillet.ini");
  fs::remove(root_ + "/drives/c/Apps/Mail/Quillet.ini");
  fs::create_directories(root_ + "/drives/c/Apps/Mail/Quillet.ini");
  EXPECT_EQ(InitializedSettingsPath(), "C:\\Apps\\Mail\\Quillet.ini");
}

TEST_F(RegistryFile, NativeFoldersWorkAsProgramFiles) {
  Write("REGEDIT4\n" + std::string(kKey) + "\"Program Files\"=\"" + root_ + "/apps\"\n");
  WriteFile(root_ + "/apps/Quillet.ini", "");
  EXPECT_EQ(InitializedSettingsPath(), root_ + "/apps\\Quillet.ini");
  fs::remove(root_ + "/apps/Quillet.ini");
  fs::create_symlink(root_ + "/nowhere", root_ + "/apps/Quillet.ini");
  EXPECT_EQ(InitializedSettingsPath(), root_ + "/apps\\Quillet.ini")
      << "a dangling link is an entry";
}

TEST_F(RegistryFile, WorkingDirectoryIsAPlainPrefix) {
  Write("REGEDIT4\n" + std::string(kKey) + "\"Working Directory\"=\"D:\\\\MailData\"\n");
  EXPECT_EQ(InitializedSettingsPath(), "D:\\MailDataWRPlugin.INI");
}

TEST_F(RegistryFile, AnAbsentKeyLeavesBothTextsEmpty) {
  EXPECT_EQ(InitializedSettingsPath(), "WRPlugin.INI") << "no file at all";
  Write(
      "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Kestrel\\Wrenmail\\Sub]\n"
      "\"Working Directory\"=\"D:\\\\\"\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Kestrel\\Wrenmail]\n\"Working Directory\"=\"E:\\\\\"\n");
  EXPECT_EQ(InitializedSettingsPath(), "WRPlugin.INI") << "other keys only";
  Write("REGEDIT4\n" + std::string(kKey) + "\"Working Directory\"=\"D:\\\\\"\n" +
        "[-HKEY_CURRENT_USER\\Software\\Kestrel]\n");
  EXPECT_EQ(InitializedSettingsPath(), "WRPlugin.INI") << "the parent key deleted";
}

TEST_F(RegistryFile, EntriesApplyInOrderWithoutRegardToCase) {
  Write(
      "REGEDIT4\r\n\r\n; the host's key\r\n"
      "[hkey_current_user\\SOFTWARE\\kestrel\\WRENMAIL]\r\n"
      "\"working directory\"=\"A:\\\\\"\r\n"
      "  \"Working Directory\" = \"B:\\\\\"  \r\n"
      "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
      "\"Working Directory\"=\"C:\\\\\"\r\n" +
      std::string(kKey) + "\"Program Files\"=\"Q\"\r\n\"Program Files\"=-\r\n");
  EXPECT_EQ(InitializedSettingsPath(), "B:\\WRPlugin.INI");
}

TEST_F(RegistryFile, EscapesAndQuotesInTexts) {
  Write("REGEDIT4\n" + std::string(kKey) +
        "\"Working Directory\"=\"\\\"Mail\\\" \\\\ =;[x] \xA9\\\\\"\n");
  EXPECT_EQ(InitializedSettingsPath(), "\"Mail\" \\ =;[x] \xA9\\WRPlugin.INI");
}

TEST_F(RegistryFile, ExpandableTextsStayUnexpandedAndTextsEndAtAZeroByte) {
  // "%HOME%\" 0 "junk", as an expandable string over three lines.
  Write("REGEDIT4\n" + std::string(kKey) +
        "\"Working Directory\"=hex(2):25,48,4f,4d,45,25,5c,\\\n"
        "  00,6a,75,\\\n"
        "  6e,6b,00\n"
        "\"Program Files\"=hex(1):00,41\n");
  EXPECT_EQ(InitializedSettingsPath(), "%HOME%\\WRPlugin.INI");
}

TEST_F(RegistryFile, EmptyValuesOfAnyTypeReadAsEmpty) {
  Write("REGEDIT4\n" + std::string(kKey) + "\"Program Files\"=hex:\n" +
        "\"Working Directory\"=hex(4):\n");
  EXPECT_EQ(InitializedSettingsPath(), "WRPlugin.INI");
}

TEST_F(RegistryFile, AValueLongerThan64KiB) {
  const std::string folder = "D:\\" + std::string(70000, 'm') + "\\";
  std::string escaped;
  for (char c : folder) escaped += c == '\\' ? "\\\\" : std::string(1, c);
  Write("REGEDIT4\n" + std::string(kKey) + "\"Program Files\"=\"" + escaped + "\"\n" +
        "\"Working Directory\"=\"" + escaped + "\"\n");
  EXPECT_EQ(InitializedSettingsPath(), folder + "WRPlugin.INI");
}

TEST_F(RegistryFile, NonTextValuesEndInitializeAndThePluginGoesOn) {
  Write("REGEDIT4\n" + std::string(kKey) + "\"Working Directory\"=\"D:\\\\Before\\\\\"\n");
  EXPECT_EQ(InitializedSettingsPath(), "D:\\Before\\WRPlugin.INI");

  Write("REGEDIT4\n" + std::string(kKey) + "\"Working Directory\"=dword:00000010\n");
  ExpectInitializeFails("Invalid data type for 'Working Directory'");
  EXPECT_EQ(ShownSettingsPath(), "D:\\Before\\WRPlugin.INI") << "the stored path stays";
  EXPECT_EQ(Result("WHOIS"), "* Not implemented yet *");
  EXPECT_EQ(Result("QLVERSION", {"s"}), kShortVersion);

  Write("REGEDIT4\n" + std::string(kKey) + "\"Program Files\"=hex:43,3a\n");
  ExpectInitializeFails("Invalid data type for 'Program Files'");
  Write("REGEDIT4\n" + std::string(kKey) + "\"Program Files\"=hex(7):43,00,00\n");
  ExpectInitializeFails("Invalid data type for 'Program Files'");
  Write("REGEDIT4\n" + std::string(kKey) + "\"Working Directory\"=hex(0):00\n");
  ExpectInitializeFails("Invalid data type for 'Working Directory'");
}

TEST_F(RegistryFile, MalformedFilesFailWithTheLineAndTheReason) {
  const std::string prefix = "Malformed registry file '" + file_ + "', ";
  const std::string key = kKey;
  const struct {
    std::string text;
    std::string where;
  } cases[] = {
      {"", "line 1: the file does not begin with the line REGEDIT4"},
      {"Windows Registry Editor Version 5.00\n" + key,
       "line 1: the file does not begin with the line REGEDIT4"},
      {"REGEDIT4\n\"Program Files\"=\"x\"\n", "line 2: a value comes before any [KEY] line"},
      {"REGEDIT4\n" + key + "\"Program Files\"=\"C:\\Apps\"\n",
       "line 3: a backslash in a quoted text must be followed by \\ or \""},
      {"REGEDIT4\n" + key + "\n\"Program Files\"=\"open\n", "line 4: a quoted text is not closed"},
      {"REGEDIT4\n" + key + "\"Program Files\"=\"x\" y\n",
       "line 3: text follows the closing quote of a value"},
      {"REGEDIT4\n" + key + "Program Files=x\n",
       "line 3: a line is neither a [KEY] line, a value line nor a ; comment"},
      {"REGEDIT4\n[HKEY_CURRENT_USER\\Software\n", "line 2: a key line must have the form [KEY]"},
      {"REGEDIT4\n" + key + "\"Program Files\"\n",
       "line 3: a value name must be followed by \"=\""},
      {"REGEDIT4\n" + key + "\"Program Files\"=\n", "line 3: a value has no data after \"=\""},
      {"REGEDIT4\n" + key + "\"Program Files\"=dword:123456789\n",
       "line 3: a dword value needs one to eight hexadecimal digits"},
      {"REGEDIT4\n" + key + "\"Program Files\"=hex:4g\n",
       "line 3: a byte list holds something other than two-digit hexadecimal bytes"},
      {"REGEDIT4\n" + key + "\"Program Files\"=hex:41,\n",
       "line 3: a byte list holds something other than two-digit hexadecimal bytes"},
      {"REGEDIT4\n" + key + "\"Program Files\"=hex:41,\\\n",
       "line 3: a byte list continues past the end of the file"},
      {"REGEDIT4\n" + key + "\"Program Files\"=hex(z):41\n",
       "line 3: a typed byte list needs the form hex(T): with T in hexadecimal"},
      {"REGEDIT4\n" + key + "\"Program Files\"=text\n",
       "line 3: a value's data is neither quoted text, -, dword:, hex: nor hex(T):"},
      {std::string("REGEDIT4\n") + "[Other]\n\"x\"=\"\\q\"\n",
       "line 3: a backslash in a quoted text must be followed by \\ or \""},
  };
  for (const auto& entry : cases) {
    Write(entry.text);
    ExpectInitializeFails(prefix + entry.where);
  }
  Write(std::string("REGEDIT4\n") + kKey + "\"Working Directory\"=\"D:\\\\\"\n");
  EXPECT_EQ(InitializedSettingsPath(), "D:\\WRPlugin.INI") << "the plug-in goes on";
}

TEST_F(RegistryFile, UnreadableFilesFailClearly) {
  fs::create_directories(file_);
  ExpectInitializeFails("Cannot read the registry file '" + file_ + "': not a regular file");
  fs::remove(file_);
  ASSERT_EQ(mkfifo(file_.c_str(), 0600), 0);
  ExpectInitializeFails("Cannot read the registry file '" + file_ + "': not a regular file");
  fs::remove(file_);
  {
    std::ofstream big(file_, std::ios::binary);
    big << "REGEDIT4\n";
    big.seekp((std::streamoff{16} << 20) + 1);
    big << ";";
  }
  ExpectInitializeFails("Cannot read the registry file '" + file_ + "': larger than 16 MiB");
  setenv("QUILLET_REGISTRY", "/dev/zero", 1);
  ExpectInitializeFails("Cannot read the registry file '/dev/zero': not a regular file");
}

TEST_F(RegistryFile, DefaultLocationFollowsTheConfigurationFolders) {
  const char* home = getenv("HOME");
  const std::string savedHome = home != nullptr ? home : "";
  unsetenv("QUILLET_REGISTRY");
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", root_.c_str(), 1);
  WriteFile(root_ + "/.config/quillet/registry.reg",
            "REGEDIT4\n" + std::string(kKey) + "\"Working Directory\"=\"H:\\\\\"\n");
  EXPECT_EQ(InitializedSettingsPath(), "H:\\WRPlugin.INI");
  setenv("XDG_CONFIG_HOME", (root_ + "/xdg").c_str(), 1);
  WriteFile(root_ + "/xdg/quillet/registry.reg",
            "REGEDIT4\n" + std::string(kKey) + "\"Working Directory\"=\"X:\\\\\"\n");
  EXPECT_EQ(InitializedSettingsPath(), "X:\\WRPlugin.INI");
  unsetenv("XDG_CONFIG_HOME");
  setenv("HOME", savedHome.c_str(), 1);
}

}  // namespace
}  // namespace quillet::conformance
