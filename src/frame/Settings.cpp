// The settings location: two candidates composed from the host's registry
// entries, the first one if it exists.
#include "frame/Settings.h"

#include <algorithm>
#include <memory>

#include "frame/Failure.h"
#include "platform/FileInfo.h"
#include "platform/Registry.h"

namespace quillet {
namespace {

// The error kind of every failure to read the host's entries.
constexpr const char* kERegistryException = "ERegistryException";

// Below HKEY_CURRENT_USER.
constexpr char kHostKey[] = "Software\\Kestrel\\Wrenmail";
constexpr char kProgramFiles[] = "Program Files";
constexpr char kWorkingDirectory[] = "Working Directory";

using platform::RegistryKey;
using KeyHolder = std::unique_ptr<RegistryKey, void (*)(RegistryKey*)>;

// A registry value as text: empty when the key or the value is absent or
// the value is empty; a string or expandable string up to its first zero
// byte, left unexpanded; any other type is an error.
std::string ReadText(RegistryKey* key, const std::string& name) {
  if (key == nullptr) return {};
  const platform::RegistryCalls& registry = platform::Registry();
  uint32_t type = 0;
  uint32_t size = 0;
  if (!registry.queryValue(key, name, type, size) || size == 0) return {};
  std::string data;
  if (!registry.fetchValue(key, name, size, type, data))
    Raise(kERegistryException, "Failed to get data for '" + name + "'");
  if (type != platform::kRegSz && type != platform::kRegExpandSz)
    Raise(kERegistryException, "Invalid data type for '" + name + "'");
  data.resize(std::min(data.size(), data.find('\0')));
  return data;
}

}  // namespace

std::string LocateSettingsFile() {
  std::string programFiles;
  std::string workingDirectory;
  {
    const platform::RegistryCalls& registry = platform::Registry();
    // The key is opened for full access but never created; an absent key
    // leaves both texts empty.
    std::string failure;
    const KeyHolder key(registry.openCurrentUserKey(kHostKey, failure), registry.closeKey);
    if (!failure.empty()) Raise(kERegistryException, failure);
    programFiles = ReadText(key.get(), kProgramFiles);
    workingDirectory = ReadText(key.get(), kWorkingDirectory);
  }
  std::string inProgramFiles = programFiles + "\\Quillet.ini";
  if (FileExistsAny(inProgramFiles)) return inProgramFiles;
  // The working directory's text is a prefix that ends with its separator.
  return workingDirectory + "WRPlugin.INI";
}

bool FileExistsAny(const std::string& path) {
  return platform::EntryExists(path);
}

std::string& SettingsFileName() {
  static std::string name;
  return name;
}

}  // namespace quillet
