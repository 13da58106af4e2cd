// FOLDERPATH on POSIX directories: trees made with mkdir, and the mapping of
// Windows attributes onto them (dot names hidden, no owner write permission
// read-only, symbolic links not followed, devices and pipes system entries).
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "support/FolderTree.h"

namespace quillet::conformance {
namespace {

namespace fs = std::filesystem;

std::string Native(const std::string& top, const std::string& relative) {
  std::string path = top + "/" + relative;
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

}  // namespace

FolderTree::FolderTree() {
  std::string pattern = (fs::temp_directory_path() / "qlfp-XXXXXX").string();
  EXPECT_NE(mkdtemp(pattern.data()), nullptr) << pattern;
  accountDir_ = pattern;
}

FolderTree::~FolderTree() {
  std::error_code error;
  for (auto it = fs::recursive_directory_iterator(accountDir_, error);
       it != fs::recursive_directory_iterator(); it.increment(error))
    if (!it->is_symlink() && it->is_directory()) chmod(it->path().c_str(), 0700);
  fs::remove_all(accountDir_, error);
}

void FolderTree::AddDirectory(const std::string& relative) const {
  const std::string path = Native(accountDir_, relative);
  EXPECT_EQ(mkdir(path.c_str(), 0755), 0) << path;
}

void FolderTree::AddFile(const std::string& relative) const {
  const std::string path = Native(accountDir_, relative);
  FILE* file = std::fopen(path.c_str(), "wx");
  EXPECT_NE(file, nullptr) << path;
  if (file != nullptr) std::fclose(file);
}

namespace {

TEST(FolderPathPosix, ADotNameIsHiddenWithEverythingBelowIt) {
  FolderTree tree;
  for (const char* dir : {"Inbox", ".Inbox", ".hidden", ".hidden\\Inbox", ".hidden\\x",
                          ".hidden\\x\\Inbox", "x.y", "x.y\\Inbox"})
    tree.AddDirectory(dir);
  EXPECT_EQ(LevelOrderedLines(FolderPath(tree.accountDir(), "Inbox")),
            (std::vector<std::string>{"Inbox", "x.y\\Inbox"}));
  EXPECT_EQ(FolderPath(tree.accountDir(), ".Inbox"), "");
  EXPECT_EQ(LevelOrderedLines(FolderPath(tree.accountDir(), "*")),
            (std::vector<std::string>{"Inbox", "x.y", "x.y\\Inbox"}));
}

TEST(FolderPathPosix, WithoutOwnerWritePermissionAFolderIsReadOnly) {
  FolderTree tree;
  for (const char* dir : {"Inbox", "Locked", "Locked\\Inbox", "Parent", "Parent\\Inbox"})
    tree.AddDirectory(dir);
  ASSERT_EQ(chmod(Native(tree.accountDir(), "Locked\\Inbox").c_str(), 0555), 0);
  ASSERT_EQ(chmod(Native(tree.accountDir(), "Parent").c_str(), 0575), 0);
  // A read-only folder is left out, but one below a read-only parent is not.
  EXPECT_EQ(LevelOrderedLines(FolderPath(tree.accountDir(), "Inbox")),
            (std::vector<std::string>{"Inbox", "Parent\\Inbox"}));
}

TEST(FolderPathPosix, SymbolicLinksAreNotFollowed) {
  FolderTree tree;
  for (const char* dir : {"Real", "Real\\Inbox"}) tree.AddDirectory(dir);
  const std::string top = tree.accountDir();
  ASSERT_EQ(symlink(Native(top, "Real").c_str(), Native(top, "Link").c_str()), 0);
  ASSERT_EQ(symlink(Native(top, "Real\\Inbox").c_str(), Native(top, "Inbox").c_str()), 0);
  // A link back to the top would loop for ever if it were walked.
  ASSERT_EQ(symlink(top.c_str(), Native(top, "Real\\Loop").c_str()), 0);
  EXPECT_EQ(FolderPath(top, "Inbox"), "Real\\Inbox");
  EXPECT_EQ(LevelOrderedLines(FolderPath(top, "*")),
            (std::vector<std::string>{"Real", "Real\\Inbox"}));
}

TEST(FolderPathPosix, PipesAreSystemEntries) {
  FolderTree tree;
  tree.AddDirectory("Sub");
  tree.AddDirectory("Sub\\Inbox");
  ASSERT_EQ(mkfifo(Native(tree.accountDir(), "Inbox").c_str(), 0644), 0);
  EXPECT_EQ(FolderPath(tree.accountDir(), "Inbox"), "Sub\\Inbox");
}

TEST(FolderPathPosix, ANameHoldingABackslashCannotBeNamedAndIsLeftOut) {
  FolderTree tree;
  const std::string top = tree.accountDir();
  ASSERT_EQ(mkdir((top + "/In\\box").c_str(), 0755), 0);
  ASSERT_EQ(mkdir((top + "/In\\box/Inbox").c_str(), 0755), 0);
  tree.AddDirectory("Inbox");
  EXPECT_EQ(FolderPath(top, "In*"), "Inbox");
}

TEST(FolderPathPosix, AccountDirectoryWithSlashesOrATrailingSeparator) {
  FolderTree tree;
  tree.AddDirectory("Inbox");
  tree.AddDirectory("Old");
  tree.AddDirectory("Old\\Inbox");
  const std::string top = tree.accountDir();
  EXPECT_EQ(FolderPath(top + "/", "Inbox"), "Inbox\r\nOld\\Inbox");
  EXPECT_EQ(FolderPath(top + "/", "Inbox", {"f"}), top + "/\\Inbox\r\n" + top + "/\\Old\\Inbox");
  EXPECT_EQ(FolderPath(top + "/Old", "Inbox", {"f"}), top + "/Old\\Inbox");
}

}  // namespace
}  // namespace quillet::conformance
