// The reference host's template language: text with macro calls.
//
//   %NAME                 a macro call without parameters
//   %NAME("a", b, "c")    with parameters: quoted texts (a doubled "" stands
//                         for one quote) or bare words, blanks around trimmed
//   %%                    a single percent sign
//
// A NAME is a run of letters, digits and underscores. Everything else is
// copied as it stands.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::host {

// Runs one macro; nullopt when no macro of that name exists (the call is then
// left in the output as written).
using MacroRunner = std::function<std::optional<std::string>(const std::string& name,
                                                             std::vector<std::string>& params)>;

std::string ExpandText(std::string_view text, const MacroRunner& run);

}  // namespace quillet::host
