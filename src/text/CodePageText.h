// Searching text the way the system code page sees it: a byte that follows a
// lead byte belongs to a double-byte character and never matches on its own.
// With a single-byte code page these are plain byte searches.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

// Position of the first occurrence of what that starts on a character, or
// npos.
size_t FindText(std::string_view text, std::string_view what);

// Position of the last character before end that is one of the bytes of
// chars, or npos.
size_t FindLastOf(std::string_view text, std::string_view chars, size_t end);

// text with every backslash turned into a slash; the second byte of a
// double-byte character stays as it is.
std::string SlashesForBackslashes(std::string_view text);

}  // namespace quillet
