// The breadth-first folder search. The list of directories to search grows
// while it is walked, so depth costs no stack, and each directory is listed
// exactly twice (once for its subdirectories, once for the pattern). The walk
// enters no reparse point (junction or symbolic link) and no directory a
// second time, by whatever path: it ends on every tree, loops included, and
// lists each folder once.
#include "text/FolderSearch.h"

#include <set>
#include <unordered_set>

#include "platform/CodePage.h"
#include "platform/DirSearch.h"
#include "text/CodePageText.h"

namespace quillet {
namespace {

using platform::DirEntry;

constexpr uint32_t kSkipped =
    platform::kAttributeHidden | platform::kAttributeSystem | platform::kAttributeVolumeLabel;
// Never entered: what lies behind a reparse point may be anywhere, the
// directory above included.
constexpr uint32_t kNotEntered = kSkipped | platform::kAttributeReparsePoint;

bool IsDotEntry(const DirEntry& entry) {
  return entry.name == "." || entry.name == "..";
}

// The root directory and every directory below it that the walk may enter,
// parents before children, each directory once (by the first path found to
// it), each ending in a backslash. One whose identity cannot be read cannot
// be told from one already walked, and is left out.
std::vector<std::string> FoldersUnder(std::string root) {
  std::vector<std::string> candidates;
  candidates.push_back(std::move(root));
  std::vector<std::string> folders;
  std::set<platform::DirectoryIdentity> entered;
  for (size_t i = 0; i < candidates.size(); ++i) {
    const std::string directory = candidates[i];  // push_back below may move candidates[i]
    platform::DirectoryIdentity identity{};
    // The root may be a link the user made; below it, a link is never
    // walked, also when it took a directory's place after the listing.
    if (!platform::IdentifyDirectory(directory, i == 0, identity) ||
        !entered.insert(identity).second)
      continue;
    folders.push_back(directory);
    for (const DirEntry& entry : platform::SearchDirectory(directory + "*.*")) {
      if ((entry.attributes & kNotEntered) != 0 || IsDotEntry(entry)) continue;
      if ((entry.attributes & platform::kAttributeDirectory) != 0)
        candidates.push_back(directory + entry.name + "\\");
    }
  }
  return folders;
}

}  // namespace

std::vector<std::string> FindFolders(std::string_view searchPath) {
  const size_t split = FindLastOf(searchPath, "\\:", searchPath.size());
  const size_t patternStart = split == std::string_view::npos ? 0 : split + 1;
  const std::string pattern(searchPath.substr(patternStart));

  const std::vector<std::string> folders =
      FoldersUnder(std::string(searchPath.substr(0, patternStart)));
  // A plain directory that fits is one the walk came upon; it is a folder of
  // the tree when the walk entered it, and not when it was a way back to a
  // directory entered already.
  const std::unordered_set<std::string> entered(folders.begin(), folders.end());
  std::vector<std::string> matches;
  for (const std::string& directory : folders) {
    for (const DirEntry& entry : platform::SearchDirectory(directory + pattern)) {
      // "." and ".." fit patterns such as "*" but are no folders of the tree.
      if (entry.attributes != platform::kAttributeDirectory || IsDotEntry(entry)) continue;
      std::string match = directory + entry.name;
      if (entered.contains(match + "\\")) matches.push_back(std::move(match));
    }
  }
  return matches;
}

std::string PathAfterBase(std::string_view path, std::string_view base) {
  const size_t at = FindText(platform::UpperCase(path), platform::UpperCase(base));
  return at == std::string_view::npos ? std::string() : std::string(path.substr(at + base.size()));
}

}  // namespace quillet
