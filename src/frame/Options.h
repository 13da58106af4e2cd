// The user's switches in the plug-in's settings file, read once when the
// plug-in starts: an INI file of which only the section [Quillet] matters.
// The plug-in never creates or writes the file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet {

inline constexpr const char* kESettingsError = "ESettingsError";

// What the keys say; the defaults are the plug-in's classic behaviour.
struct Options {
  // Https=0|1: https URLs are fetched over TLS.
  bool https = false;
  // Redirects=0..20: how many redirects one fetch follows.
  uint32_t redirects = 0;
};

// The most redirects a fetch may be allowed to follow: enough for any chain
// a real site builds, few enough that a loop ends quickly.
inline constexpr uint32_t kMostRedirects = 20;

// The options in text, the file's contents. Section and key names are
// matched without regard to case, values trimmed; the first occurrence of a
// key counts, as the system's own INI reader takes it. A value that is not
// valid raises ESettingsError naming fileName, the line and the key.
Options ParseOptions(std::string_view text, const std::string& fileName);

// Reads the file at path into the options in force; no file, or one that
// cannot be read, leaves the defaults.
void LoadOptions(const std::string& path);

// The options in force: the defaults until LoadOptions.
Options& CurrentOptions();

}  // namespace quillet
