// The environment variables that place the development build's stand-ins for
// Windows' registry and drives.
#pragma once

#include <string>

namespace quillet::platform {

// The variable's value; empty when it is not set.
std::string EnvironmentValue(const char* name);

// A base directory of the XDG layout: $variable when it holds an absolute
// path, else $HOME followed by "/" and underHome; empty without either.
std::string XdgBaseDirectory(const char* variable, const char* underHome);

}  // namespace quillet::platform
