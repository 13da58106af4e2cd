// XFACE: has the host add an X-Face header through its own "%ADDHEADER("
// command and answers what the host leaves as the command's outcome.
#include <array>
#include <cstdint>
#include <limits>
#include <new>
#include <string_view>

#include "frame/Macros.h"
#include "text/TextMacros.h"

namespace quillet {
namespace {

// The quote must not occur in the value, which the host reads up to the next
// quote: the first printable ASCII byte the value lacks, else a byte outside
// printable ASCII.
char QuoteFor(std::string_view value) {
  std::array<bool, 256> present{};
  for (const char c : value) present[static_cast<uint8_t>(c)] = true;
  for (int candidate = '!'; candidate <= '~'; ++candidate)
    if (!present[static_cast<size_t>(candidate)]) return static_cast<char>(candidate);
  return static_cast<char>(0x90);
}

}  // namespace

void XFaceMacro(IWRPDataProvider* context, IWRPDataProvider* params, std::string& result) {
  if (GetParamCount(params) != 1) {
    result = kWrongParamCount;
    return;
  }
  const std::string value = GetParamStr(params, 0);
  const char quote = QuoteFor(value);
  std::string command = "%ADDHEADER(\"X-Face\",";
  command.append(1, quote).append(value).append(1, quote).append(")");
  // The host takes a 32-bit length; a longer command cannot be handed over.
  if (command.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    throw std::bad_alloc();
  ExpandHostTemplate(context, command, nullptr);
  result = GetParamStr(context, 0);
}

}  // namespace quillet
