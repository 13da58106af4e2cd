// The registry of the development build: there is no system registry, so the
// current user's keys are read from a REGEDIT4 export file, at
// $QUILLET_REGISTRY when that is set, else
// $XDG_CONFIG_HOME/quillet/registry.reg, else ~/.config/quillet/registry.reg.
// A missing file holds no keys. A file that cannot be read, or that is
// malformed, is a failure whose description names the file and the reason.
#include "platform/Registry.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/Replaceable.h"
#include "platform/posix/Environment.h"
#include "platform/posix/RegFile.h"

namespace quillet::platform {

// An open key: the values the file gave it when it was opened.
struct RegistryKey {
  RegFileKey values;
};

namespace {

// Larger files are refused rather than read: no registry export of a few
// values comes near this.
constexpr off_t kLargestFile = off_t{16} << 20;

std::string RegistryFilePath() {
  if (std::string file = EnvironmentValue("QUILLET_REGISTRY"); !file.empty()) return file;
  const std::string config = XdgBaseDirectory("XDG_CONFIG_HOME", ".config");
  return config.empty() ? config : config + "/quillet/registry.reg";
}

// Reads the whole file; the reason in reason when it cannot.
bool ReadWhole(int file, std::string& text, std::string& reason) {
  struct stat facts {};
  if (fstat(file, &facts) != 0) {
    reason = std::strerror(errno);
    return false;
  }
  // Only a regular file: a folder, a pipe or a device could block or never end.
  if (!S_ISREG(facts.st_mode)) {
    reason = "not a regular file";
    return false;
  }
  if (facts.st_size > kLargestFile) {
    reason = "larger than 16 MiB";
    return false;
  }
  char chunk[65536];
  while (true) {
    const ssize_t got = read(file, chunk, sizeof chunk);
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      reason = std::strerror(errno);
      return false;
    }
    text.append(chunk, static_cast<size_t>(got));
    if (static_cast<off_t>(text.size()) > kLargestFile) {
      reason = "larger than 16 MiB";
      return false;
    }
  }
}

// The file's text, or present false when there is no file; false when the
// file cannot be read, with the reason in reason.
bool ReadRegistryFile(const std::string& path, bool& present, std::string& text,
                      std::string& reason) {
  // Non-blocking, so that opening a pipe without a writer cannot hang.
  const int file = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  present = file >= 0;
  if (file < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return true;
    reason = std::strerror(errno);
    return false;
  }
  const bool read = ReadWhole(file, text, reason);
  close(file);
  return read;
}

RegistryKey* OpenCurrentUserKey(const std::string& path, std::string& failure) {
  const std::string file = RegistryFilePath();
  if (file.empty()) return nullptr;
  bool present = false;
  std::string text;
  std::string reason;
  if (!ReadRegistryFile(file, present, text, reason)) {
    failure = "Cannot read the registry file '" + file + "': " + reason;
    return nullptr;
  }
  if (!present) return nullptr;
  RegFileKey key;
  if (!ParseRegFile(text, "HKEY_CURRENT_USER\\" + path, key, reason)) {
    failure = "Malformed registry file '" + file + "', " + reason;
    return nullptr;
  }
  if (!key.present) return nullptr;
  return new RegistryKey{std::move(key)};
}

bool QueryValue(RegistryKey* key, const std::string& name, uint32_t& type, uint32_t& size) {
  const RegFileValue* value = FindRegFileValue(key->values, name);
  if (value == nullptr || value->data.size() > UINT32_MAX) return false;
  type = value->type;
  size = static_cast<uint32_t>(value->data.size());
  return true;
}

bool FetchValue(RegistryKey* key, const std::string& name, uint32_t size, uint32_t& type,
                std::string& data) {
  const RegFileValue* value = FindRegFileValue(key->values, name);
  if (value == nullptr || value->data.size() > size) return false;
  type = value->type;
  data = value->data;
  return true;
}

void CloseKey(RegistryKey* key) {
  delete key;
}

constexpr RegistryCalls kFileRegistry{OpenCurrentUserKey, QueryValue, FetchValue, CloseKey};
constinit Replaceable<RegistryCalls> gRegistry(kFileRegistry);

}  // namespace

const RegistryCalls& Registry() {
  return *gRegistry;
}

void ReplaceRegistry(const RegistryCalls* calls) {
  gRegistry.Replace(calls);
}

}  // namespace quillet::platform
