// The settings location.
#include "frame/Settings.h"

namespace quillet {

std::string LocateSettingsFile() { return {}; }

std::string& SettingsFileName() {
  static std::string name;
  return name;
}

}  // namespace quillet
