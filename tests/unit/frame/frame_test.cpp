// The frame's own helpers: the parameter readers against a failing host and
// the macro table.
#include <gtest/gtest.h>

#include <string>

#include "frame/Macros.h"
#include "frame/WrenAPI.h"
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

}  // namespace
}  // namespace quillet
