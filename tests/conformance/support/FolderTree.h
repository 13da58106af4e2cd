// Directory trees for the FOLDERPATH tests, made on disk by each system's own
// calls, and FOLDERPATH run against them with a host that names the account
// directory and the folder.
#pragma once

#include <string>
#include <vector>

#include "support/Loaded.h"

namespace quillet::conformance {

// A fresh directory in the system's temporary directory, removed with all it
// holds when the tree goes. Relative paths separate their levels with "\" on
// both systems; parents must be added before their children.
class FolderTree {
 public:
  FolderTree();
  ~FolderTree();
  FolderTree(const FolderTree&) = delete;
  FolderTree& operator=(const FolderTree&) = delete;

  // The top of the tree as the host names the account directory: no
  // separator at the end.
  const std::string& accountDir() const { return accountDir_; }

  void AddDirectory(const std::string& relative) const;
  void AddFile(const std::string& relative) const;

 private:
  std::string accountDir_;
};

struct FolderPathRun {
  MacroRun run;
  std::string result;
  std::vector<host::ExpandCall> commands;
};

// FOLDERPATH with the given parameters, the host answering "%ACCOUNTDIR" with
// accountDir and "%FolderName" with folderName.
FolderPathRun RunFolderPath(const std::string& accountDir, const std::string& folderName,
                            std::vector<std::string> params = {});

// Just the result of such a run, which must end normally.
std::string FolderPath(const std::string& accountDir, const std::string& folderName,
                       std::vector<std::string> params = {});

// The result's lines in order ("" gives none).
std::vector<std::string> SplitLines(const std::string& result);

// Lines are listed level by level: never a line with fewer "\" after one
// with more. Answers the lines sorted, for comparison with an expected set.
std::vector<std::string> LevelOrderedLines(const std::string& result);

}  // namespace quillet::conformance
