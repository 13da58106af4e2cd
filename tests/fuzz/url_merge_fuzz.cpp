// Fuzzes URL merging: a sequence of URLs (one per line) merged into one
// current URL. Each merge either takes or raises the unknown-protocol error;
// the path always starts with "/", and the request target never holds a byte
// that would split the request line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "frame/Failure.h"
#include "net/UrlMerge.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quillet;
  const std::string input(reinterpret_cast<const char*>(data), size);
  std::string_view rest(input);
  CurrentUrl url;
  while (!rest.empty()) {
    const size_t end = rest.find('\n');
    const std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
    try {
      MergeUrl(url, line);
    } catch (const Failure& failure) {
      if (failure.kind() != kEIdUnknownProtocol || !failure.message().empty()) std::abort();
    }
    if (url.path.empty() || url.path.front() != '/') std::abort();
    for (const char c : RequestTarget(url))
      if (static_cast<unsigned char>(c) <= ' ' || c == '\x7F') std::abort();
    HostValue(url);
  }
  return 0;
}
