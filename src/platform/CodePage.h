// The system's ANSI code page as far as text handling needs it: which bytes
// start a double-byte character, and how letters compare without regard to
// case. The development build has no code page: every byte is one character
// and only the ASCII letters have a case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace quillet::platform {

// True when byte is the first byte of a double-byte character.
bool IsLeadByte(uint8_t byte);

// text with every letter turned into upper case, byte for byte the same
// length, so that positions in the result are positions in text.
std::string UpperCase(std::string_view text);

// Tests put a code page of their choice in place of the system's lead-byte
// rules; null restores the system's.
using LeadByteTest = bool (*)(uint8_t byte);
void ReplaceLeadByteTest(LeadByteTest test);

}  // namespace quillet::platform
