// Fuzzes the response parsers: status and header lines, the header look-up
// and the body rules with chunk decoding, fed from memory in pieces whose
// size the input chooses. A failure must be a Failure of the parsers' own
// kinds; nothing may crash, read past the input or grow past its bounds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "frame/Failure.h"
#include "net/HttpResponse.h"

namespace {

using namespace quillet;

class MemorySource final : public ByteSource {
 public:
  MemorySource(std::string_view bytes, size_t piece) : bytes_(bytes), piece_(piece) {}
  std::string_view Peek() override { return bytes_.substr(0, piece_); }
  void Consume(size_t count) override {
    if (count > Peek().size()) std::abort();
    bytes_.remove_prefix(count);
  }

 private:
  std::string_view bytes_;
  size_t piece_;
};

class CountingSink final : public BodySink {
 public:
  void Expect(uint64_t length) override { expected = length; }
  void Write(std::string_view bytes) override { written += bytes.size(); }
  uint64_t expected = 0;
  uint64_t written = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const size_t piece = data[0] % 64 + 1;
  const std::string input(reinterpret_cast<const char*>(data) + 1, size - 1);
  MemorySource source(input, piece);
  try {
    ResponseHead head = ReadResponseHead(source, [&](const ResponseHead& each) {
      if (each.headBytes > input.size()) std::abort();
      FindHeader(each.headers, "Set-Cookie");
    });
    if (head.headers.size() > input.size()) std::abort();
    CountingSink sink;
    const bool complete = ReadBody(source, head, sink, input.size());
    if (sink.written > input.size()) std::abort();
    if (complete && sink.expected != 0 && sink.written != sink.expected) std::abort();
  } catch (const Failure& failure) {
    const std::string& kind = failure.kind();
    if (kind != kEIdException && kind != kEIdConnClosedGracefully &&
        kind != kEIdReadLnMaxLineLengthExceeded)
      std::abort();
  }
  return 0;
}
