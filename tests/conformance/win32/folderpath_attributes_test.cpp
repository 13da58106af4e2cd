// FOLDERPATH against real Windows attributes: trees made through the Win32
// API, with hidden, system, read-only and archived directories.
#include <windows.h>

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

TEST(FolderPathWin32, AMarkedFolderIsNotListed) {
  FolderTree tree;
  for (const char* dir : {"Inbox", "Archived", "Archived\\Inbox", "ReadOnly", "ReadOnly\\Inbox",
                          "Hidden", "Hidden\\Inbox", "System", "System\\Inbox"})
    tree.AddDirectory(dir);
  SetAttributes(tree, "Archived\\Inbox", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE);
  SetAttributes(tree, "ReadOnly\\Inbox", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
  SetAttributes(tree, "Hidden\\Inbox", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
  SetAttributes(tree, "System\\Inbox", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM);
  EXPECT_EQ(FolderPath(tree.accountDir(), "Inbox"), "Inbox");
  // Their parents are plain and are listed themselves.
  EXPECT_EQ(LevelOrderedLines(FolderPath(tree.accountDir(), "*")),
            (std::vector<std::string>{"Archived", "Hidden", "Inbox", "ReadOnly", "System"}));
}

TEST(FolderPathWin32, NothingUnderAHiddenOrSystemDirectory) {
  FolderTree tree;
  for (const char* dir : {"Hidden", "Hidden\\Inbox", "Hidden\\Deeper", "Hidden\\Deeper\\Inbox",
                          "System", "System\\Inbox", "Marked", "Marked\\Inbox"})
    tree.AddDirectory(dir);
  SetAttributes(tree, "Hidden", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
  SetAttributes(tree, "System", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM);
  // A parent that is only archived is still searched.
  SetAttributes(tree, "Marked", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(FolderPath(tree.accountDir(), "Inbox"), "Marked\\Inbox");
  EXPECT_EQ(FolderPath(tree.accountDir(), "Hidden"), "");
}

}  // namespace
}  // namespace quillet::conformance
