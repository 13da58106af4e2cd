// The registry export reader of the development build on arbitrary text:
// it answers a key or a reason, never crashes, and a reason names its line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/posix/RegFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  quillet::platform::RegFileKey key;
  std::string error;
  if (quillet::platform::ParseRegFile(text, "HKEY_CURRENT_USER\\Software\\Kestrel\\Wrenmail", key,
                                      error)) {
    if (!error.empty()) std::abort();
    for (const quillet::platform::RegFileValue& value : key.values)
      if (quillet::platform::FindRegFileValue(key, value.name) != &value) std::abort();
  } else if (error.rfind("line ", 0) != 0 || key.present || !key.values.empty()) {
    std::abort();
  }
  return 0;
}
