// The system's ANSI code page on Windows: its lead bytes and its case rules.
#include "platform/CodePage.h"

#include <windows.h>

namespace quillet::platform {
namespace {

LeadByteTest replacement = nullptr;

}  // namespace

bool IsLeadByte(uint8_t byte) {
  if (replacement != nullptr) return replacement(byte);
  return IsDBCSLeadByte(byte) != FALSE;
}

std::string UpperCase(std::string_view text) {
  std::string upper(text);
  // CharUpperBuffA works in place, so the length cannot change; it takes at
  // most a DWORD's worth of bytes, more than a 32-bit process can hold.
  if (!upper.empty()) CharUpperBuffA(upper.data(), static_cast<DWORD>(upper.size()));
  return upper;
}

void ReplaceLeadByteTest(LeadByteTest test) {
  replacement = test;
}

}  // namespace quillet::platform
