// Facts about directory entries: whether one exists, and when it was last
// written. Paths are Windows paths on every build; the POSIX build maps them
// onto its own file system (see posix/FileInfo.cpp).
#pragma once

#include <string>

namespace quillet::platform {

// True when a directory entry of any kind (file, folder, hidden or system
// entry) is named path. The system's critical-error prompts (such as "insert
// a disk") stay off during the search.
bool EntryExists(const std::string& path);

// A moment of the local calendar, to the second.
struct LocalTime {
  int year;
  int month;  // 1 to 12
  int day;    // 1 to 31
  int hour;
  int minute;
  int second;  // 0 to 59
};

// The time at which the entry named path was last written, in local time;
// false when there is no such entry or its time has no local form.
bool LastWriteLocalTime(const std::string& path, LocalTime& time);

}  // namespace quillet::platform
