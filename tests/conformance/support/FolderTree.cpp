// Running FOLDERPATH against a host that knows an account directory and a
// folder name, and reading its lines.
#include "support/FolderTree.h"

#include <algorithm>

namespace quillet::conformance {

FolderPathRun RunFolderPath(const std::string& accountDir, const std::string& folderName,
                            std::vector<std::string> params) {
  host::HostProvider context;
  context.onCommand = [&](std::string_view command) -> std::string {
    if (command == "%ACCOUNTDIR") return accountDir;
    if (command == "%FolderName") return folderName;
    return "unexpected";
  };
  host::HostProvider parameters(std::move(params));
  FolderPathRun folderPath;
  folderPath.run = Exec("FOLDERPATH", context, parameters);
  folderPath.commands = context.expandCalls();
  if (!folderPath.run.ended) folderPath.result = Delivered(context);
  return folderPath;
}

std::string FolderPath(const std::string& accountDir, const std::string& folderName,
                       std::vector<std::string> params) {
  const FolderPathRun folderPath = RunFolderPath(accountDir, folderName, std::move(params));
  EXPECT_FALSE(folderPath.run.ended)
      << folderPath.run.end.kind << ": " << folderPath.run.end.message;
  EXPECT_EQ(folderPath.run.answer, 0);
  return folderPath.result;
}

std::vector<std::string> SplitLines(const std::string& result) {
  std::vector<std::string> lines;
  if (result.empty()) return lines;
  size_t start = 0;
  for (size_t end; (end = result.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(result.substr(start, end - start));
  lines.push_back(result.substr(start));
  return lines;
}

std::vector<std::string> LevelOrderedLines(const std::string& result) {
  std::vector<std::string> lines = SplitLines(result);
  const auto depth = [](const std::string& line) {
    return std::count(line.begin(), line.end(), '\\');
  };
  for (size_t i = 1; i < lines.size(); ++i)
    EXPECT_LE(depth(lines[i - 1]), depth(lines[i])) << lines[i - 1] << " before " << lines[i];
  std::sort(lines.begin(), lines.end());
  return lines;
}

}  // namespace quillet::conformance
