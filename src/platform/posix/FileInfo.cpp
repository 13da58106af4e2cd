// Directory entries on POSIX, for the Windows paths the plug-in works with.
// A path is mapped as follows: every backslash becomes a slash, and a leading
// drive "X:" becomes the folder x (lower case) of the drives root, which is
// $QUILLET_DRIVES when that is set, else $XDG_DATA_HOME/quillet/drives, else
// ~/.local/share/quillet/drives. So "c:\Program Files\A.txt" is
// <drives root>/c/Program Files/A.txt, "\A.txt" is /A.txt and "A.txt" is
// relative to the current folder. Names are compared as the file system
// compares them, and wildcards are not expanded.
#include "platform/FileInfo.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

#include "base/Ascii.h"
#include "platform/posix/Environment.h"

namespace quillet::platform {
namespace {

std::string DrivesRoot() {
  if (std::string root = EnvironmentValue("QUILLET_DRIVES"); !root.empty()) return root;
  const std::string data = XdgBaseDirectory("XDG_DATA_HOME", ".local/share");
  return data.empty() ? data : data + "/quillet/drives";
}

// The native path of a Windows path; empty when it names nothing here.
std::string NativePath(const std::string& path) {
  std::string native;
  std::string rest = path;
  if (path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':') {
    native = DrivesRoot();
    if (native.empty()) return {};
    native += '/';
    native += AsciiLower(path[0]);
    rest = path.substr(2);
    if (!rest.empty() && rest.front() != '\\') native += '/';
  }
  std::replace(rest.begin(), rest.end(), '\\', '/');
  return native + rest;
}

// The entry's facts, without following a final symbolic link; a name with
// a trailing separator names no entry, as on Windows.
bool Entry(const std::string& path, struct stat& facts) {
  const std::string native = NativePath(path);
  if (native.empty() || native.back() == '/') return false;
  return lstat(native.c_str(), &facts) == 0;
}

}  // namespace

bool EntryExists(const std::string& path) {
  struct stat facts {};
  return Entry(path, facts);
}

bool LastWriteLocalTime(const std::string& path, LocalTime& time) {
  struct stat facts {};
  if (!Entry(path, facts)) return false;
  // A link's target tells when the file it stands for was written.
  struct stat target {};
  if (S_ISLNK(facts.st_mode) && stat(NativePath(path).c_str(), &target) == 0) facts = target;
  std::tm parts{};
  if (localtime_r(&facts.st_mtim.tv_sec, &parts) == nullptr) return false;
  // Far-off years have no use here, and could not take the 1900 added below.
  if (parts.tm_year < -1900 || parts.tm_year > 100000) return false;
  time = {parts.tm_year + 1900,
          parts.tm_mon + 1,
          parts.tm_mday,
          parts.tm_hour,
          parts.tm_min,
          std::min(parts.tm_sec, 59),
          0};
  return true;
}

bool ReadFileStart(const std::string& path, size_t limit, std::string& bytes) {
  const std::string native = NativePath(path);
  if (native.empty()) return false;
  const int file = open(native.c_str(), O_RDONLY | O_CLOEXEC);
  if (file < 0) return false;
  bytes.assign(limit, '\0');
  size_t got = 0;
  bool ok = true;
  while (got < limit) {
    const ssize_t n = read(file, bytes.data() + got, limit - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = n == 0;
      break;
    }
    got += static_cast<size_t>(n);
  }
  close(file);
  bytes.resize(got);
  return ok;
}

}  // namespace quillet::platform
