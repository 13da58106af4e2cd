// The frame's own helpers: the parameter readers against a failing host, the
// macro table, and the failures the export boundary turns into an abnormal end.
#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "frame/Boundary.h"
#include "frame/Failure.h"
#include "frame/Macros.h"
#include "frame/WrenAPI.h"
#include "host/Plugin.h"
#include "host/Provider.h"

namespace quillet {
namespace {

TEST(GetParamStr, ReadsTextsWithTheirBytes) {
  host::HostProvider params({"abc", std::string("a\0b", 3), "", std::string(100000, 'z')});
  EXPECT_EQ(GetParamStr(&params, 0), "abc");
  EXPECT_EQ(GetParamStr(&params, 1), std::string("a\0b", 3));
  EXPECT_EQ(GetParamStr(&params, 2), "");
  EXPECT_EQ(GetParamStr(&params, 3), std::string(100000, 'z'));
  EXPECT_EQ(GetParamStr(&params, 4), "") << "an index the host does not have";
  EXPECT_EQ(GetParamStr(&params, -1), "");
}

TEST(GetParamStr, AHostFailureReadsAsEmptyAndTheNextReadWorks) {
  host::HostProvider params({"abc", "def"});
  params.failGetTextAt = 0;
  EXPECT_EQ(GetParamStr(&params, 0), "");
  EXPECT_EQ(GetParamStr(&params, 1), "def");
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(GetParamStr(&params, 0), "");
  params.failGetTextAt.reset();
  EXPECT_EQ(GetParamStr(&params, 0), "abc");
}

TEST(GetParamInt, PassesTheHostsNumberThrough) {
  host::HostProvider params({"2025", "-7", "x"});
  EXPECT_EQ(GetParamInt(&params, 0), 2025);
  EXPECT_EQ(GetParamInt(&params, 1), -7);
  EXPECT_EQ(GetParamInt(&params, 2), 0);
}

TEST(MacroTable, TwentyOneUniqueUpperCaseRows) {
  const auto rows = MacroTable();
  ASSERT_EQ(rows.size(), 21u);
  for (size_t i = 0; i < rows.size(); ++i) {
    EXPECT_NE(rows[i].handler, nullptr);
    for (char c : rows[i].name) EXPECT_TRUE(c >= 'A' && c <= 'Z') << rows[i].name;
    for (size_t j = i + 1; j < rows.size(); ++j) EXPECT_NE(rows[i].name, rows[j].name);
    EXPECT_EQ(FindMacro(std::string(rows[i].name).c_str()), &rows[i]);
  }
  EXPECT_EQ(MacroListText().size(), 200u);
  int notImplemented = 0;
  for (const MacroRow& row : rows) notImplemented += row.description == kNotImplemented;
  EXPECT_EQ(notImplemented, 7);
}

TEST(MacroTable, SharedTextsHaveTheirExactLengths) {
  EXPECT_EQ(kWrongParamCount.size(), 43u);
  EXPECT_EQ(kInvalidParamValue.size(), 40u);
  EXPECT_EQ(kNotImplemented.size(), 23u);
}

host::AbnormalEnd EndOf(void (*fail)()) {
  host::AbnormalEnd end;
  EXPECT_FALSE(host::CallGuarded([&] { AtBoundary([&] { fail(); }); }, end));
  return end;
}

TEST(Boundary, EveryFailureBecomesAnAbnormalEndWithKindAndMessage) {
  auto end = EndOf([] { Raise(kEConvertError, "'x' is not a valid date"); });
  EXPECT_EQ(end.kind, "EConvertError");
  EXPECT_EQ(end.message, "'x' is not a valid date");

  end = EndOf([] { throw std::bad_alloc(); });
  EXPECT_EQ(end.kind, "EOutOfMemory");
  EXPECT_EQ(end.message, "Out of memory");

  end = EndOf([] { throw std::length_error("too long"); });
  EXPECT_EQ(end.kind, "Exception");
  EXPECT_EQ(end.message, "too long");

  end = EndOf([] { throw 42; });
  EXPECT_EQ(end.kind, "Exception");
  EXPECT_FALSE(end.message.empty());
}

TEST(Boundary, AMessageWithZeroBytesKeepsItsLength) {
  const auto end = EndOf([] { Raise("EIdSocketError", std::string("a\0b", 3)); });
  EXPECT_EQ(end.message, std::string("a\0b", 3));
}

TEST(Boundary, AnswersPassThroughWhenNothingFails) {
  host::AbnormalEnd end;
  int answer = 0;
  EXPECT_TRUE(host::CallGuarded([&] { answer = AtBoundary([] { return 41 + 1; }); }, end));
  EXPECT_EQ(answer, 42);
}

}  // namespace
}  // namespace quillet
