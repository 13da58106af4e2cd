// The response parsers fed from memory: status and header lines, the header
// look-up, the body and the chunk sizes, against hand-computed values.
#include <gtest/gtest.h>

#include <string>

#include "net/HttpResponse.h"

namespace quillet {
namespace {

// Bytes in memory as a response source, handed out in pieces of one size.
class MemorySource final : public ByteSource {
 public:
  MemorySource(std::string bytes, size_t piece) : bytes_(std::move(bytes)), piece_(piece) {}
  std::string_view Peek() override {
    return std::string_view(bytes_).substr(at_, std::min(piece_, bytes_.size() - at_));
  }
  void Consume(size_t count) override { at_ += count; }
  size_t left() const { return bytes_.size() - at_; }

 private:
  std::string bytes_;
  size_t piece_;
  size_t at_ = 0;
};

class TextBody final : public BodySink {
 public:
  void Expect(uint64_t) override {}
  void Write(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

TEST(HttpResponse, StatusLinesHeadersAndLookUp) {
  MemorySource source(
      "HTTP/1.1 100 Continue\n\nHTTP/1.1  201  Created here\r\nX-One: 1\nx-one: 2\r\n"
      "Folded:  a \r\n\t b\r\n  c\r\nContent-Length: 4\r\n\r\nbody",
      3);
  int heads = 0;
  ResponseHead head = ReadResponseHead(source, [&](const ResponseHead&) { ++heads; });
  EXPECT_EQ(heads, 2);
  EXPECT_EQ(head.statusLine, "HTTP/1.1  201  Created here");
  EXPECT_EQ(head.code, 201);
  EXPECT_TRUE(head.complete);
  EXPECT_EQ(FindHeader(head.headers, "X-ONE"), "1") << "the first line of a name counts";
  EXPECT_EQ(FindHeader(head.headers, "folded"), "a b c");
  EXPECT_EQ(FindHeader(head.headers, "Missing"), std::nullopt);
  TextBody body;
  EXPECT_TRUE(ReadBody(source, head, body));
  EXPECT_EQ(body.text, "body");
  EXPECT_EQ(source.left(), 0u);
  for (const auto& [line, code] :
       std::initializer_list<std::pair<const char*, int32_t>>{{"HTTP/1.1 404 Not Found", 404},
                                                              {"HTTP/1.1", -1},
                                                              {"HTTP/1.1 2x0", -1},
                                                              {"HTTP/1.0 99999999999 Big", -1},
                                                              {"X  200", 200}})
    EXPECT_EQ(StatusCode(line), code) << line;
}

TEST(HttpResponse, ChunkSizes) {
  EXPECT_EQ(ChunkSize("1a"), 26u);
  EXPECT_EQ(ChunkSize("FFFFFFFFFFFFFFFF"), UINT64_MAX);
  EXPECT_EQ(ChunkSize("10;x=y"), 16u);
  EXPECT_EQ(ChunkSize("10\tz"), 16u);
  EXPECT_EQ(ChunkSize("10 "), 16u);
  EXPECT_EQ(ChunkSize("10000000000000000"), std::nullopt);
  EXPECT_EQ(ChunkSize(" 10"), std::nullopt);
  EXPECT_EQ(ChunkSize("-1"), std::nullopt);
  EXPECT_EQ(ChunkSize(""), std::nullopt);
}

}  // namespace
}  // namespace quillet
