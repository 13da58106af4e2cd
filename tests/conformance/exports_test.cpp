// The text exports, the constant answers and the buffer convention.
#include <array>
#include <cstring>
#include <string>

#include "support/Loaded.h"

namespace quillet::conformance {
namespace {

// Memory that cannot be written on either platform: constant data.
const char kReadOnly[64] = "read-only";

constexpr char kMacroList[] =
    "QLVERSION\r\nDAYOFYEAR\r\nWEEKOFYEAR\r\nISOWEEKOFYEAR\r\nEASTERSUNDAY\r\nLOCALTZ\r\n"
    "XFACE\r\nHASH\r\nFIND\r\nPARENT\r\nFOLDERPATH\r\nCONVERTURL\r\nIPLIST\r\nENCODEURL\r\n"
    "EXEC\r\nEXECFUNC\r\nWHOIS\r\nHOSTNAME\r\nATTACHURL\r\nPING\r\nPUTURL\r\n";

int32_t CallText(abi::TextExport fetch, char* buffer, int32_t size) {
  int32_t answer = -12345;
  host::AbnormalEnd end;
  EXPECT_TRUE(host::CallGuarded([&] { answer = fetch(buffer, size); }, end)) << end.message;
  return answer;
}

TEST(BufferConvention, NullBufferOrNegativeSizeAnswersTheLength) {
  EXPECT_EQ(CallText(Loaded().getName, nullptr, 0), 7);
  EXPECT_EQ(CallText(Loaded().getName, nullptr, 100), 7);
  std::array<char, 8> buffer{'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
  EXPECT_EQ(CallText(Loaded().getName, buffer.data(), -1), 7);
  EXPECT_EQ(CallText(Loaded().getName, buffer.data(), INT32_MIN), 7);
  EXPECT_EQ(std::string(buffer.data(), 8), "xxxxxxxx");
}

TEST(BufferConvention, ShortZeroAndLongBuffers) {
  std::array<char, 16> buffer;
  buffer.fill('#');
  EXPECT_EQ(CallText(Loaded().getName, buffer.data(), 0), 0);
  EXPECT_EQ(std::string(buffer.data(), 16), std::string(16, '#'));

  EXPECT_EQ(CallText(Loaded().getName, buffer.data(), 3), 3);
  EXPECT_EQ(std::string(buffer.data(), 16), "Qui" + std::string(13, '#'));

  buffer.fill('#');
  EXPECT_EQ(CallText(Loaded().getName, buffer.data(), 16), 7);
  EXPECT_EQ(std::string(buffer.data(), 16), "Quillet#########")
      << "no terminating zero, rest untouched";

  buffer.fill('#');
  EXPECT_EQ(CallText(Loaded().getName, buffer.data(), 7), 7);
  EXPECT_EQ(std::string(buffer.data(), 8), "Quillet#");
}

TEST(BufferConvention, UnwritableBufferAnswersZeroAndThePluginGoesOn) {
  EXPECT_EQ(CallText(Loaded().getName, const_cast<char*>(kReadOnly), 64), 0);
  EXPECT_STREQ(kReadOnly, "read-only");
  EXPECT_EQ(CallText(Loaded().getMacroList, reinterpret_cast<char*>(16), 200), 0);
  EXPECT_EQ(CallText(Loaded().getInfo, const_cast<char*>(kReadOnly), 10), 0);
  std::array<char, 7> buffer{};
  EXPECT_EQ(CallText(Loaded().getName, buffer.data(), 7), 7);
  EXPECT_EQ(std::string(buffer.data(), 7), "Quillet");
}

TEST(BufferConvention, EveryTextExportFollowsIt) {
  for (abi::TextExport fetch :
       {Loaded().getName, Loaded().getVersion, Loaded().getInfo, Loaded().getMacroList}) {
    const int32_t length = CallText(fetch, nullptr, 0);
    ASSERT_GT(length, 0);
    std::string text(static_cast<size_t>(length) + 4, '\x7f');
    EXPECT_EQ(CallText(fetch, text.data(), length + 4), length);
    EXPECT_EQ(text.substr(static_cast<size_t>(length)), "\x7f\x7f\x7f\x7f");
    std::string head(2, '\0');
    EXPECT_EQ(CallText(fetch, head.data(), 2), 2);
    EXPECT_EQ(head, text.substr(0, 2));
  }
}

TEST(TextExports, MacroListNamesEveryRowInOrder) {
  EXPECT_EQ(CallText(Loaded().getMacroList, nullptr, 0), 200);
  std::string list(200, '\0');
  EXPECT_EQ(CallText(Loaded().getMacroList, list.data(), 200), 200);
  EXPECT_EQ(list, kMacroList);
}

TEST(TextExports, ConstantAnswers) {
  host::AbnormalEnd end;
  int32_t status = -1, needConfig = -1, setup = -1, needCom = -1;
  ASSERT_TRUE(host::CallGuarded(
      [&] {
        status = Loaded().getStatus();
        needConfig = Loaded().needConfig();
        setup = Loaded().setup();
        needCom = Loaded().needCOM();
      },
      end));
  EXPECT_EQ(status, 0);
  EXPECT_EQ(needConfig, 0);
  EXPECT_EQ(setup, 0);
  EXPECT_EQ(needCom, 1);
}

TEST(Lifecycle, InitializeAndFinalizeInAnyOrderAnyNumberOfTimes) {
  host::AbnormalEnd end;
  ASSERT_TRUE(host::CallGuarded(
      [&] {
        Loaded().finalize();
        Loaded().finalize();
        Loaded().initialize();
        Loaded().initialize();
        Loaded().finalize();
        for (int i = 0; i < 100; ++i) {
          Loaded().initialize();
          Loaded().finalize();
        }
      },
      end))
      << end.kind << ": " << end.message;
  EXPECT_EQ(Result("WHOIS"), "* Not implemented yet *");
}

}  // namespace
}  // namespace quillet::conformance
