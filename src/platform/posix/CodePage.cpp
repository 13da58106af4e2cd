// The development build's code page: single-byte throughout, so no byte leads
// a double-byte character, and case is folded for the ASCII letters only
// (bytes above 127 have no known character and compare exactly).
#include "platform/CodePage.h"

namespace quillet::platform {
namespace {

LeadByteTest replacement = nullptr;

}  // namespace

bool IsLeadByte(uint8_t byte) {
  return replacement != nullptr && replacement(byte);
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return upper;
}

void ReplaceLeadByteTest(LeadByteTest test) {
  replacement = test;
}

}  // namespace quillet::platform
