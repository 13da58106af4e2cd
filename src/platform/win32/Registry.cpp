// The current user's registry on Windows, through the system's calls.
#include "platform/Registry.h"
#include "platform/Replaceable.h"

#include <windows.h>

#include <algorithm>

namespace quillet::platform {
namespace {

HKEY Handle(RegistryKey* key) {
  return reinterpret_cast<HKEY>(key);
}

RegistryKey* OpenCurrentUserKey(const std::string& path, std::string&) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return nullptr;
  return reinterpret_cast<RegistryKey*>(key);
}

bool QueryValue(RegistryKey* key, const std::string& name, uint32_t& type, uint32_t& size) {
  DWORD foundType = 0;
  DWORD foundSize = 0;
  if (RegQueryValueExA(Handle(key), name.c_str(), nullptr, &foundType, nullptr, &foundSize) !=
      ERROR_SUCCESS)
    return false;
  type = foundType;
  size = foundSize;
  return true;
}

bool FetchValue(RegistryKey* key, const std::string& name, uint32_t size, uint32_t& type,
                std::string& data) {
  data.assign(size, '\0');
  DWORD foundType = 0;
  DWORD fetched = size;
  if (RegQueryValueExA(Handle(key), name.c_str(), nullptr, &foundType,
                       reinterpret_cast<BYTE*>(data.data()), &fetched) != ERROR_SUCCESS)
    return false;
  data.resize(std::min<DWORD>(fetched, size));
  type = foundType;
  return true;
}

void CloseKey(RegistryKey* key) {
  RegCloseKey(Handle(key));
}

constexpr RegistryCalls kSystemRegistry{OpenCurrentUserKey, QueryValue, FetchValue, CloseKey};
constinit Replaceable<RegistryCalls> gRegistry(kSystemRegistry);

}  // namespace

const RegistryCalls& Registry() {
  return *gRegistry;
}

void ReplaceRegistry(const RegistryCalls* calls) {
  gRegistry.Replace(calls);
}

}  // namespace quillet::platform
