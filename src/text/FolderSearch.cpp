// The breadth-first folder search. The list of directories to search grows
// while it is walked, so depth costs no stack, and each directory is listed
// exactly twice (once for its subdirectories, once for the pattern).
#include "text/FolderSearch.h"

#include "platform/CodePage.h"
#include "platform/DirSearch.h"
#include "text/CodePageText.h"

namespace quillet {
namespace {

using platform::DirEntry;

constexpr uint32_t kSkipped =
    platform::kAttributeHidden | platform::kAttributeSystem | platform::kAttributeVolumeLabel;

bool IsDotEntry(const DirEntry& entry) {
  return entry.name == "." || entry.name == "..";
}

// The root directory and every directory below it that the walk may enter,
// parents before children.
std::vector<std::string> FoldersUnder(std::string root) {
  std::vector<std::string> folders;
  folders.push_back(std::move(root));
  for (size_t i = 0; i < folders.size(); ++i) {
    const std::string directory = folders[i];  // push_back below may move folders[i]
    for (const DirEntry& entry : platform::SearchDirectory(directory + "*.*")) {
      if ((entry.attributes & kSkipped) != 0 || IsDotEntry(entry)) continue;
      if ((entry.attributes & platform::kAttributeDirectory) != 0)
        folders.push_back(directory + entry.name + "\\");
    }
  }
  return folders;
}

}  // namespace

std::vector<std::string> FindFolders(std::string_view searchPath) {
  const size_t split = FindLastOf(searchPath, "\\:", searchPath.size());
  const size_t patternStart = split == std::string_view::npos ? 0 : split + 1;
  const std::string pattern(searchPath.substr(patternStart));

  std::vector<std::string> matches;
  for (const std::string& directory :
       FoldersUnder(std::string(searchPath.substr(0, patternStart)))) {
    for (const DirEntry& entry : platform::SearchDirectory(directory + pattern)) {
      // "." and ".." fit patterns such as "*" but are no folders of the tree.
      if (entry.attributes != platform::kAttributeDirectory || IsDotEntry(entry)) continue;
      matches.push_back(directory + entry.name);
    }
  }
  return matches;
}

std::string PathAfterBase(std::string_view path, std::string_view base) {
  const size_t at = FindText(platform::UpperCase(path), platform::UpperCase(base));
  return at == std::string_view::npos ? std::string() : std::string(path.substr(at + base.size()));
}

}  // namespace quillet
