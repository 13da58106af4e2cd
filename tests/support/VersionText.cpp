// The version text's form, read against the version number of the build.
#include "support/VersionText.h"

#include "frame/VersionNumber.h"

namespace quillet::testing {

bool IsVersionText(const std::string& text) {
  const std::string prefix = std::string(kVersionNumber) + " /";
  if (text.size() < prefix.size() + 2 || text.compare(0, prefix.size(), prefix) != 0 ||
      text.back() != '/' || text[prefix.size()] == '0')
    return false;
  const std::string digits = text.substr(prefix.size(), text.size() - prefix.size() - 1);
  return digits.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

}  // namespace quillet::testing
