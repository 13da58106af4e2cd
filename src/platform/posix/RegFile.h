// The registry editor's export format (REGEDIT4), read for one key: the
// development build keeps the registry values it needs in such a file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::platform {

struct RegFileValue {
  std::string name;
  uint32_t type;     // numbered as in Registry.h
  std::string data;  // the value's bytes as the registry would hold them
};

struct RegFileKey {
  bool present = false;
  std::vector<RegFileValue> values;
};

// Reads the values of the key keyName (such as
// "HKEY_CURRENT_USER\Software\X", matched without regard to ASCII case) from
// a whole export text, applying its entries in order as an import would.
// False when the text is malformed, with the line number and the reason in
// error.
bool ParseRegFile(std::string_view text, std::string_view keyName, RegFileKey& key,
                  std::string& error);

// The value named name (matched without regard to ASCII case), or null.
const RegFileValue* FindRegFileValue(const RegFileKey& key, std::string_view name);

}  // namespace quillet::platform
