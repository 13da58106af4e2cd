// Read access to one key of the current user's registry. Windows reads the
// system registry; the POSIX build has none and reads a text file in the
// registry editor's export format (REGEDIT4) instead. The calls can be
// replaced, so that tests can play a registry that misbehaves.
#pragma once

#include <cstdint>
#include <string>

namespace quillet::platform {

// Value types, numbered as the Windows registry numbers them on every build.
inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;

// An open key; only the calls below know what it is.
struct RegistryKey;

struct RegistryCalls {
  // Opens path (relative to HKEY_CURRENT_USER) for full access without ever
  // creating it; null when the key is absent or cannot be opened. Null as
  // well when the registry itself cannot be read (natively: its file cannot
  // be read or is malformed), and then failure says why; otherwise failure is
  // left as it is.
  RegistryKey* (*openCurrentUserKey)(const std::string& path, std::string& failure);
  // The type and size in bytes of the value name; false when the value is
  // absent or cannot be queried.
  bool (*queryValue)(RegistryKey* key, const std::string& name, uint32_t& type, uint32_t& size);
  // The value's bytes, fetched with room for size bytes, and its type as
  // found then; false when they cannot be fetched (the value is gone, or
  // grew beyond size).
  bool (*fetchValue)(RegistryKey* key, const std::string& name, uint32_t size, uint32_t& type,
                     std::string& data);
  void (*closeKey)(RegistryKey* key);
};

// The calls in force: the system's unless a test replaced them.
const RegistryCalls& Registry();

// For tests: replaces the calls until the next replacement; null restores
// the system's.
void ReplaceRegistry(const RegistryCalls* calls);

}  // namespace quillet::platform
