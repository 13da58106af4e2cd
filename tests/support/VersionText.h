// The one check of the version text's form, shared by the white-box and the
// black-box version tests.
#pragma once

#include <string>

namespace quillet::testing {

// The version number, " /N/" with N in upper-case hexadecimal without
// leading zeros.
bool IsVersionText(const std::string& text);

}  // namespace quillet::testing
