// Environment look-ups of the development build.
#include "platform/posix/Environment.h"

#include <cstdlib>

namespace quillet::platform {

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string XdgBaseDirectory(const char* variable, const char* underHome) {
  if (std::string base = EnvironmentValue(variable); !base.empty() && base.front() == '/')
    return base;
  if (std::string home = EnvironmentValue("HOME"); !home.empty()) return home + "/" + underHome;
  return {};
}

}  // namespace quillet::platform
