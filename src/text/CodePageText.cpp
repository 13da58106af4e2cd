// Character-wise walks over text under the system code page's lead bytes.
#include "text/CodePageText.h"

#include <cstdint>

#include "platform/CodePage.h"

namespace quillet {
namespace {

// The position of the character after the one at position i. A lead byte at
// the very end stands alone.
size_t NextCharacter(std::string_view text, size_t i) {
  if (platform::IsLeadByte(static_cast<uint8_t>(text[i])) && i + 1 < text.size()) return i + 2;
  return i + 1;
}

}  // namespace

size_t FindText(std::string_view text, std::string_view what) {
  for (size_t i = 0; i < text.size(); i = NextCharacter(text, i))
    if (text.substr(i).starts_with(what)) return i;
  return std::string_view::npos;
}

size_t FindLastOf(std::string_view text, std::string_view chars, size_t end) {
  size_t found = std::string_view::npos;
  for (size_t i = 0; i < text.size() && i < end; i = NextCharacter(text, i))
    if (chars.find(text[i]) != std::string_view::npos) found = i;
  return found;
}

std::string SlashesForBackslashes(std::string_view text) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); i = NextCharacter(out, i))
    if (out[i] == '\\') out[i] = '/';
  return out;
}

}  // namespace quillet
