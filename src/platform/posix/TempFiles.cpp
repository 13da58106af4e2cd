// Temporary files on POSIX: the directory from TMPDIR, placeholders from
// mkstemp (readable and writable by the user only) written through the
// descriptor it opened, rename for the replacement, which is atomic within
// one file system.
#include "platform/TempFiles.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/posix/Environment.h"

namespace quillet::platform {
namespace {

std::string ReadTemporaryDirectory() {
  std::string directory = EnvironmentValue("TMPDIR");
  if (directory.empty()) directory = "/tmp";
  if (directory.back() != '/') directory += '/';
  return directory;
}

// Read while the library is being loaded, as the Windows build does.
const std::string gTemporaryDirectory = ReadTemporaryDirectory();

int Descriptor(FileHandle file) {
  return static_cast<int>(file);
}

}  // namespace

const std::string& TemporaryDirectory() {
  return gTemporaryDirectory;
}

bool CreateUniqueFile(const std::string& directory, const std::string& prefix, std::string& path,
                      FileHandle& file) {
  const std::string pattern = directory + prefix + "XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return false;
  path = name.data();
  file = fd;
  return true;
}

bool WriteAll(FileHandle file, const void* data, size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = ::write(Descriptor(file), bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

bool CloseFile(FileHandle file) {
  // The descriptor is released even when close reports a failure.
  return ::close(Descriptor(file)) == 0;
}

bool MoveReplacing(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

}  // namespace quillet::platform
