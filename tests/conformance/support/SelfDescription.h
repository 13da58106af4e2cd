// What the plug-in says about itself: its version text, its information page
// and the settings path that page shows, with the page's expected bytes
// composed independently of the plug-in.
#pragma once

#include <string>

#include "support/Loaded.h"

namespace quillet::conformance {

// WRP_GetVersion's text; the test fails if the call ends abnormally.
std::string VersionText();

// WRP_GetInfo's text; the test fails if the call ends abnormally.
std::string InfoPage();

// Runs WRP_Initialize; false when it ended abnormally, described in end.
bool Initialize(host::AbnormalEnd& end);

// Runs WRP_Initialize, failing the test if it ends abnormally, and answers
// the settings path that the information page then shows.
std::string InitializedSettingsPath();

// The settings path shown on the information page (the text between the
// version and "</h2>").
std::string ShownSettingsPath();

// The information page expected for the given version and settings path.
std::string ExpectedInfoPage(const std::string& version, const std::string& settingsPath);

}  // namespace quillet::conformance
