// Where the plug-in's settings file lives, worked out from the host's
// registry entries when the plug-in starts.
#pragma once

#include <string>

namespace quillet {

// The settings file path; never opened, only shown on the information page.
// It is "Quillet.ini" in the host's "Program Files" folder when that entry
// exists, else "WRPlugin.INI" appended to the host's "Working Directory".
// Raises ERegistryException when the registry cannot be read, or when one of
// those registry values is not text or cannot be fetched.
std::string LocateSettingsFile();

// True when an entry of any kind (file, folder, hidden or system entry) is
// named path; the system never prompts the user during the test.
bool FileExistsAny(const std::string& path);

// The path stored by WRP_Initialize (empty before it).
std::string& SettingsFileName();

}  // namespace quillet
