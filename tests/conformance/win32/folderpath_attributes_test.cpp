// FOLDERPATH against real Windows attributes: trees made through the Win32
// API, with hidden, system, read-only and archived directories.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/FolderTree.h"

namespace quillet::conformance {
namespace {

// Removes a tree level by level from the bottom, without recursion; entries
// lose their attributes first, as a read-only one cannot be removed.
void RemoveTree(const std::string& top) {
  std::vector<std::string> directories{top};
  for (size_t i = 0; i < directories.size(); ++i) {
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((directories[i] + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = directories[i] + "\\" + name;
      SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        directories.push_back(path);
      else
        DeleteFileA(path.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  for (size_t i = directories.size(); i-- > 0;) RemoveDirectoryA(directories[i].c_str());
}

// Gives relative the attributes and checks that the file system keeps them.
void SetAttributes(const FolderTree& tree, const std::string& relative, DWORD attributes) {
  const std::string path = tree.accountDir() + "\\" + relative;
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), attributes)) << path;
  EXPECT_EQ(GetFileAttributesA(path.c_str()), attributes) << path;
}

}  // namespace

FolderTree::FolderTree() {
  static int made = 0;
  char temp[MAX_PATH + 1] = {};
  const DWORD length = GetTempPathA(sizeof temp, temp);
  accountDir_ = std::string(temp, length) + "qlfp-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++made);
  RemoveTree(accountDir_);
  RemoveDirectoryA(accountDir_.c_str());
  EXPECT_TRUE(CreateDirectoryA(accountDir_.c_str(), nullptr)) << accountDir_;
}

FolderTree::~FolderTree() {
  RemoveTree(accountDir_);
}

void FolderTree::AddDirectory(const std::string& relative) const {
  const std::string path = accountDir_ + "\\" + relative;
  EXPECT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
}

void FolderTree::AddFile(const std::string& relative) const {
  const std::string path = accountDir_ + "\\" + relative;
  const HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(file, INVALID_HANDLE_VALUE) << path;
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

namespace {

TEST(FolderPathWin32, PlainDirectoriesCarryOnlyTheDirectoryBit) {
  FolderTree tree;
  tree.AddDirectory("Inbox");
  const std::string path = tree.accountDir() + "\\Inbox";
  EXPECT_EQ(GetFileAttributesA(path.c_str()), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  EXPECT_EQ(FolderPath(tree.accountDir(), "Inbox"), "Inbox");
}

TEST(FolderPathWin32, NothingAtOrUnderAHiddenOrSystemDirectory) {
  FolderTree tree;
  for (const char* dir :
       {"Inbox", "Hidden", "Hidden\\Inbox", "Hidden\\Deeper", "Hidden\\Deeper\\Inbox", "System",
        "System\\Inbox", "Plain", "Plain\\Inbox", "Plain\\Hidden", "Plain\\System"})
    tree.AddDirectory(dir);
  SetAttributes(tree, "Hidden", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
  SetAttributes(tree, "System", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM);
  SetAttributes(tree, "Plain\\Hidden", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
  SetAttributes(tree, "Plain\\System",
                FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(LevelOrderedLines(FolderPath(tree.accountDir(), "Inbox")),
            (std::vector<std::string>{"Inbox", "Plain\\Inbox"}));
  EXPECT_EQ(FolderPath(tree.accountDir(), "Hidden"), "");
  EXPECT_EQ(FolderPath(tree.accountDir(), "System"), "");
  EXPECT_EQ(LevelOrderedLines(FolderPath(tree.accountDir(), "*")),
            (std::vector<std::string>{"Inbox", "Plain", "Plain\\Inbox"}));
}

TEST(FolderPathWin32, DirectoriesMarkedReadOnlyOrArchivedAreNotListed) {
  FolderTree tree;
  for (const char* dir : {"Inbox", "Archived", "Archived\\Inbox", "ReadOnly", "ReadOnly\\Inbox",
                          "ArchivedParent", "ArchivedParent\\Inbox"})
    tree.AddDirectory(dir);
  const auto mark = [&](const std::string& relative, DWORD attribute) {
    const std::string path = tree.accountDir() + "\\" + relative;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_DIRECTORY | attribute);
    return GetFileAttributesA(path.c_str()) == (FILE_ATTRIBUTE_DIRECTORY | attribute);
  };
  // Wine keeps neither bit that the API sets on a directory; its read-only
  // directories come from Unix permissions (the test below).
  if (!mark("Archived\\Inbox", FILE_ATTRIBUTE_ARCHIVE) ||
      !mark("ReadOnly\\Inbox", FILE_ATTRIBUTE_READONLY) ||
      !mark("ArchivedParent", FILE_ATTRIBUTE_ARCHIVE))
    GTEST_SKIP() << "this file system keeps no archive or read-only bit on directories";
  EXPECT_EQ(LevelOrderedLines(FolderPath(tree.accountDir(), "Inbox")),
            (std::vector<std::string>{"ArchivedParent\\Inbox", "Inbox"}));
}

// A tree made before the test program runs, on the Unix side of Wine (see the
// conformance CMakeLists): Locked\Inbox and Parent have no write permission,
// which Wine reports as the read-only attribute.
TEST(FolderPathWin32, ReadOnlyDirectoriesByUnixPermissions) {
  const char* top = std::getenv("QUILLET_READONLY_TREE");
  if (top == nullptr) GTEST_SKIP() << "QUILLET_READONLY_TREE names no prepared tree";
  std::string accountDir = top;
  for (char& c : accountDir)
    if (c == '/') c = '\\';
  const DWORD locked = GetFileAttributesA((accountDir + "\\Locked\\Inbox").c_str());
  ASSERT_EQ(locked, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY));
  // A read-only folder is left out; one below a read-only parent is not.
  EXPECT_EQ(LevelOrderedLines(FolderPath(accountDir, "Inbox")),
            (std::vector<std::string>{"Inbox", "Parent\\Inbox"}));
}

}  // namespace
}  // namespace quillet::conformance
