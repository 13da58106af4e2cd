// FOLDERPATH through the exports on trees made on disk: the two forms, nested
// matches, wildcards, what is not a plain folder, missing directories, and a
// large tree.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "support/FolderTree.h"

namespace quillet::conformance {
namespace {

using Lines = std::vector<std::string>;

TEST(FolderPath, RelativeAndFullLines) {
  FolderTree tree;
  tree.AddDirectory("Inbox");
  tree.AddDirectory("Old");
  tree.AddDirectory("Old\\Inbox");
  const std::string full = tree.accountDir() + "\\";
  EXPECT_EQ(FolderPath(tree.accountDir(), "Inbox"), "Inbox\r\nOld\\Inbox");
  EXPECT_EQ(FolderPath(tree.accountDir(), "Inbox", {"f"}),
            full + "Inbox\r\n" + full + "Old\\Inbox");
  EXPECT_EQ(FolderPath(tree.accountDir(), "Inbox", {"F"}),
            full + "Inbox\r\n" + full + "Old\\Inbox");
  // Any other form, and any other parameter count, lists relative paths.
  for (const Lines& params : {Lines{"r"}, Lines{"R"}, Lines{"x"}, Lines{""}, Lines{"full"},
                              Lines{"f", "f"}, Lines{"f", "r", "x"}})
    EXPECT_EQ(FolderPath(tree.accountDir(), "Inbox", params), "Inbox\r\nOld\\Inbox")
        << params.size() << " parameters, the first " << params[0];
}

TEST(FolderPath, AsksTheHostForAccountDirectoryAndFolderName) {
  FolderTree tree;
  tree.AddDirectory("Inbox");
  const FolderPathRun run = RunFolderPath(tree.accountDir(), "Inbox");
  ASSERT_FALSE(run.run.ended);
  EXPECT_EQ(run.result, "Inbox");
  ASSERT_EQ(run.commands.size(), 2u);
  EXPECT_EQ(run.commands[0].text, "%ACCOUNTDIR");
  EXPECT_EQ(run.commands[1].text, "%FolderName");
  for (const host::ExpandCall& call : run.commands) {
    EXPECT_EQ(call.flags, 0);
    EXPECT_TRUE(call.providerIsSelf) << call.text << " not asked with the context as provider";
  }
}

TEST(FolderPath, NestedMatchesLevelByLevel) {
  FolderTree tree;
  for (const char* dir : {"Inbox", "Inbox\\Inbox", "A", "A\\B", "A\\B\\C", "A\\B\\C\\Inbox",
                          "A\\Inbox", "A\\Inbox\\X", "A\\Inbox\\X\\Inbox", "Z", "Z\\Inbox"})
    tree.AddDirectory(dir);
  EXPECT_EQ(LevelOrderedLines(FolderPath(tree.accountDir(), "Inbox")),
            (Lines{"A\\B\\C\\Inbox", "A\\Inbox", "A\\Inbox\\X\\Inbox", "Inbox", "Inbox\\Inbox",
                   "Z\\Inbox"}));
}

TEST(FolderPath, FolderNameIsAPatternWithTheSystemsWildcards) {
  FolderTree tree;
  for (const char* dir : {"Inbox", "Incoming", "In", "Outbox", "Sent.old", "A", "A\\Inner",
                          "A\\Box", "A\\inbox2", "A\\B", "A\\B\\In.x"})
    tree.AddDirectory(dir);
  tree.AddFile("Info");
  tree.AddFile("A\\Inlet.txt");
  const std::string root = tree.accountDir();
  struct PatternCase {
    std::string pattern;
    Lines lines;  // sorted
  };
  const std::vector<PatternCase> cases = {
      {"In*", {"A\\B\\In.x", "A\\Inner", "A\\inbox2", "In", "Inbox", "Incoming"}},
      {"in*", {"A\\B\\In.x", "A\\Inner", "A\\inbox2", "In", "Inbox", "Incoming"}},
      {"INBOX", {"Inbox"}},
      {"?nbox", {"Inbox"}},
      {"*box", {"A\\Box", "Inbox", "Outbox"}},
      {"*box*", {"A\\Box", "A\\inbox2", "Inbox", "Outbox"}},
      {"I?", {"In"}},
      {"????", {"A\\B\\In.x"}},
      {"*.*",
       {"A", "A\\B", "A\\B\\In.x", "A\\Box", "A\\Inner", "A\\inbox2", "In", "Inbox", "Incoming",
        "Outbox", "Sent.old"}},
      {"*",
       {"A", "A\\B", "A\\B\\In.x", "A\\Box", "A\\Inner", "A\\inbox2", "In", "Inbox", "Incoming",
        "Outbox", "Sent.old"}},
      {"*.old", {"Sent.old"}},
      {"*.x", {"A\\B\\In.x"}},
      {"*x", {"A\\B\\In.x", "A\\Box", "Inbox", "Outbox"}},
      {"In*x", {"A\\B\\In.x", "Inbox"}},
      {"Inbox?", {"A\\inbox2"}},
      {"Nothing*", {}},
  };
  for (const PatternCase& c : cases)
    EXPECT_EQ(LevelOrderedLines(FolderPath(root, c.pattern)), c.lines) << c.pattern;
}

TEST(FolderPath, AFileNamedLikeTheFolderIsNoFolder) {
  FolderTree tree;
  tree.AddFile("Inbox");
  tree.AddDirectory("Sub");
  tree.AddDirectory("Sub\\Inbox");
  tree.AddDirectory("Other");
  tree.AddFile("Other\\Inbox");
  EXPECT_EQ(FolderPath(tree.accountDir(), "Inbox"), "Sub\\Inbox");
}

TEST(FolderPath, FolderNameWithLevelsSearchesBelowThem) {
  FolderTree tree;
  for (const char* dir : {"Inbox", "Old", "Old\\Inbox", "Old\\Y", "Old\\Y\\Inbox"})
    tree.AddDirectory(dir);
  EXPECT_EQ(LevelOrderedLines(FolderPath(tree.accountDir(), "Old\\Inbox")),
            (Lines{"Old\\Inbox", "Old\\Y\\Inbox"}));
}

TEST(FolderPath, NothingToFindGivesTheEmptyResult) {
  FolderTree tree;
  tree.AddDirectory("Inbox");
  EXPECT_EQ(FolderPath(tree.accountDir() + "\\missing", "Inbox"), "");
  EXPECT_EQ(FolderPath(tree.accountDir() + "\\missing\\deeper", "Inbox", {"f"}), "");
  EXPECT_EQ(FolderPath(tree.accountDir(), ""), "");
  EXPECT_EQ(FolderPath(tree.accountDir(), "Outbox"), "");
  EXPECT_EQ(FolderPath(tree.accountDir() + std::string("\0x", 2), "Inbox"), "");
  // Without an account directory there is no tree to search (rather than the
  // whole drive).
  EXPECT_EQ(FolderPath("", "Inbox"), "");
  EXPECT_EQ(FolderPath("", "*", {"f"}), "");
}

TEST(FolderPath, ValuesTheHostFailsToGiveAreEmpty) {
  host::HostProvider context;
  context.onCommand = [](std::string_view) { return std::string("Inbox"); };
  context.failGetTextAt = 0;
  host::HostProvider params;
  const MacroRun run = Exec("FOLDERPATH", context, params);
  ASSERT_FALSE(run.ended);
  EXPECT_EQ(Delivered(context), "");
  EXPECT_EQ(context.expandCalls().size(), 2u);
}

// A tree prepared before the program runs (see the conformance CMakeLists)
// in which ways lead back up: links on both builds, natively also a mount.
TEST(FolderPath, ALoopTreeEndsAndListsEachFolderOnce) {
  const char* top = std::getenv("QUILLET_LOOP_TREE");
  if (top == nullptr) GTEST_SKIP() << "QUILLET_LOOP_TREE names no prepared tree";
  std::string accountDir = top;
  for (char& c : accountDir)
    if (c == '/') c = '\\';
  EXPECT_EQ(LevelOrderedLines(FolderPath(accountDir, "Inbox")), (Lines{"Inbox", "x\\Inbox"}));
  EXPECT_EQ(LevelOrderedLines(FolderPath(accountDir, "*")), (Lines{"Inbox", "x", "x\\Inbox"}));
}

TEST(FolderPath, ADeepChain) {
  FolderTree tree;
  // Deep as the system's path length allows on both builds.
  const size_t levels = (230 - tree.accountDir().size()) / 2;
  std::string path;
  for (size_t i = 0; i < levels; ++i) {
    if (!path.empty()) path += '\\';
    path += 'a';
    tree.AddDirectory(path);
  }
  tree.AddDirectory(path + "\\Inbox");
  EXPECT_EQ(FolderPath(tree.accountDir(), "Inbox"), path + "\\Inbox");
}

TEST(FolderPath, TenThousandDirectories) {
  FolderTree tree;
  char name[16];
  for (int top = 0; top < 100; ++top) {
    std::snprintf(name, sizeof name, "d%02d", top);
    const std::string parent = name;
    tree.AddDirectory(parent);
    for (int sub = 0; sub < 99; ++sub) {
      std::snprintf(name, sizeof name, "\\e%02d", sub);
      tree.AddDirectory(parent + name);
    }
  }
  Lines expected;
  for (int top = 0; top < 100; ++top) {
    std::snprintf(name, sizeof name, "d%02d\\e42", top);
    expected.push_back(name);
  }
  EXPECT_EQ(LevelOrderedLines(FolderPath(tree.accountDir(), "e42")), expected);
  EXPECT_EQ(SplitLines(FolderPath(tree.accountDir(), "*")).size(), 10000u);
}

}  // namespace
}  // namespace quillet::conformance
