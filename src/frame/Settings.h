// Where the plug-in's settings file lives, worked out from the host's
// registry entries when the plug-in starts.
#pragma once

#include <string>

namespace quillet {

// The settings file path; never opened, only shown on the information page.
std::string LocateSettingsFile();

// The path stored by WRP_Initialize (empty before it).
std::string& SettingsFileName();

}  // namespace quillet
