// Facts about directory entries: whether one exists, when it was last
// written, and the start of a file's contents. Paths are Windows paths on every build; the POSIX
// build maps them onto its own file system (see posix/FileInfo.cpp).
#pragma once

#include <string>

#include "platform/Clock.h"

namespace quillet::platform {

// True when a directory entry of any kind (file, folder, hidden or system
// entry) is named path. The system's critical-error prompts (such as "insert
// a disk") stay off during the search.
bool EntryExists(const std::string& path);

// The time at which the entry named path was last written, in local time
// to the second (the millisecond is 0); false when there is no such entry or
// its time has no local form.
bool LastWriteLocalTime(const std::string& path, LocalTime& time);

// The first limit bytes of the file named path, shared with other readers
// and writers; false when it cannot be opened or read.
bool ReadFileStart(const std::string& path, size_t limit, std::string& bytes);

}  // namespace quillet::platform
