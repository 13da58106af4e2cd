// The development build's code page: single-byte throughout, so no byte leads
// a double-byte character, and case is folded for the ASCII letters only
// (bytes above 127 have no known character and compare exactly).
#include "platform/CodePage.h"

#include "base/Ascii.h"

namespace quillet::platform {
namespace {

LeadByteTest replacement = nullptr;

}  // namespace

bool IsLeadByte(uint8_t byte) {
  return replacement != nullptr && replacement(byte);
}

std::string UpperCase(std::string_view text) {
  return AsciiUpperCase(text);
}

void ReplaceLeadByteTest(LeadByteTest test) {
  replacement = test;
}

}  // namespace quillet::platform
