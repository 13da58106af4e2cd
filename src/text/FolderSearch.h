// The folder search behind FOLDERPATH: every plain directory of a tree whose
// name fits a pattern, found breadth-first without recursion.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// searchPath is a root directory ending in a backslash (or colon) followed by
// a name pattern with the system's wildcards. Answers the full paths of the
// matching directories, level by level, in the order the system lists them.
// Hidden, system and volume entries are skipped along with all below them;
// reparse points are not entered, nor is any directory a second time; a
// directory is listed only when it carries no attribute but the directory
// bit. Directories that cannot be searched add nothing; it never fails.
std::vector<std::string> FindFolders(std::string_view searchPath);

// The part of path after the first occurrence of base, letters compared
// without regard to case under the system code page; empty without one.
std::string PathAfterBase(std::string_view path, std::string_view base);

}  // namespace quillet
