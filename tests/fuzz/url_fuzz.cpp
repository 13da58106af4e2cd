// Fuzzes the URL parser and percent-encoding: neither may crash or read past
// its input, the parser's parts must be pieces of the input, and encoded text
// must decode back to the input byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/CodePage.h"
#include "text/PercentEncode.h"
#include "text/UrlParts.h"

namespace {

using namespace quillet;

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Decodes what PercentEncode wrote: a "%" is always followed by two upper-case
// digits of an escaped byte, every other byte stands for itself.
std::string Decoded(std::string_view encoded) {
  std::string out;
  for (size_t i = 0; i < encoded.size(); ++i) {
    const auto byte = static_cast<uint8_t>(encoded[i]);
    if (encoded[i] != '%') {
      if (Contains(UrlEscapeSet, byte)) std::abort();  // should have been escaped
      out += encoded[i];
      continue;
    }
    if (encoded.size() - i < 3) std::abort();  // a cut escape
    const int high = HexValue(encoded[i + 1]);
    const int low = HexValue(encoded[i + 2]);
    if (high < 0 || low < 0) std::abort();
    const auto value = static_cast<uint8_t>(high * 16 + low);
    if (!Contains(UrlEscapeSet, value)) std::abort();  // escaped without need
    out += static_cast<char>(value);
    i += 2;
  }
  return out;
}

bool HighBytesLead(uint8_t byte) {
  return byte >= 0x80;
}

// Every part of a parsed URL is made of the input's bytes with backslashes
// turned into slashes, so it cannot be longer than the input.
void CheckParts(std::string_view url) {
  const UrlParts parts = ParseUrl(url);
  const size_t total = parts.protocol.size() + parts.userName.size() + parts.password.size() +
                       parts.host.size() + parts.port.size() + parts.path.size() +
                       parts.document.size() + parts.parameters.size() + parts.bookmark.size();
  // The parser adds at most the leading "/" of the path.
  if (total > url.size() + 1) std::abort();
  if (url.empty() && total != 0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // An exact-size copy, so that AddressSanitizer sees any read past the end.
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string_view text(input);

  platform::ReplaceLeadByteTest(nullptr);
  CheckParts(text);
  platform::ReplaceLeadByteTest(HighBytesLead);
  CheckParts(text);
  platform::ReplaceLeadByteTest(nullptr);

  const std::string encoded = PercentEncode(text, '%', UrlEscapeSet);
  if (Decoded(encoded) != input) std::abort();
  return 0;
}
