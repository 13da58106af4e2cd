// The macro table: every macro's name, handler and description, in the order
// the host sees them, plus the result texts that handlers share.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "frame/WrenAPI.h"

namespace quillet {

using MacroHandler = void (*)(IWRPDataProvider* context, IWRPDataProvider* params,
                              std::string& result);

struct MacroRow {
  std::string_view name;
  MacroHandler handler;
  std::string_view description;
};

inline constexpr std::string_view kWrongParamCount = " *** Error: wrong number of parameters *** ";
inline constexpr std::string_view kInvalidParamValue = " *** Error: invalid parameter value *** ";
inline constexpr std::string_view kNotImplemented = "* Not implemented yet *";

std::span<const MacroRow> MacroTable();

// The row whose name equals name with ASCII letters folded, or null.
const MacroRow* FindMacro(const char* name);

// Every name followed by CR LF, in table order.
std::string MacroListText();

}  // namespace quillet
