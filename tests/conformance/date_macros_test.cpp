// The date macros through the exports: their answers whatever the regional
// settings, their failures, and the component set's life across
// WRP_Initialize and WRP_Finalize.
#include <chrono>
#include <string>

#include "support/Loaded.h"

namespace quillet::conformance {
namespace {

// The abnormal end of a macro call; fails the test if it answered normally.
host::AbnormalEnd Ending(const std::string& name, std::vector<std::string> params) {
  host::HostProvider context;
  host::HostProvider parameters(std::move(params));
  const MacroRun run = Exec(name, context, parameters);
  EXPECT_TRUE(run.ended) << name << " answered normally";
  EXPECT_TRUE(context.setTextCalls().empty()) << "nothing is delivered";
  return run.end;
}

bool IsNumberIn(const std::string& text, int low, int high) {
  if (text.empty() || text.size() > 2 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  const int value = std::stoi(text);
  return value >= low && value <= high && std::to_string(value) == text;
}

// "GMT", or a sign and four digits of hours and minutes.
bool IsOffsetText(const std::string& text) {
  return text == "GMT" ||
         (text.size() == 5 && (text[0] == '+' || text[0] == '-') &&
          text.find_first_not_of("0123456789", 1) == std::string::npos && text[3] <= '5');
}

int LocalDayOfYear() {
  const auto now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  return std::localtime(&now)->tm_yday + 1;
}

using DateMacrosThroughExports = WithComponentSet;

TEST_F(DateMacrosThroughExports, NowAnswersTodaysNumbers) {
  const int before = LocalDayOfYear();
  const std::string day = Result("DAYOFYEAR");
  const int after = LocalDayOfYear();
  EXPECT_TRUE(day == std::to_string(before) || day == std::to_string(after)) << day;
  EXPECT_TRUE(IsNumberIn(Result("WEEKOFYEAR"), 0, 53));
  EXPECT_TRUE(IsNumberIn(Result("ISOWEEKOFYEAR"), 1, 53));
  EXPECT_TRUE(IsOffsetText(Result("LOCALTZ"))) << Result("LOCALTZ");
  EXPECT_EQ(Result("localtz", {"ignored", "too"}), Result("LOCALTZ"));
}

TEST_F(DateMacrosThroughExports, WrongParameterCounts) {
  for (const char* name : {"DAYOFYEAR", "WEEKOFYEAR", "ISOWEEKOFYEAR"}) {
    EXPECT_EQ(Result(name, {"1", "2"}), " *** Error: wrong number of parameters *** ");
    EXPECT_EQ(Result(name, {"", "", ""}), " *** Error: wrong number of parameters *** ");
  }
}

TEST_F(DateMacrosThroughExports, TextsThatAreNoDateInAnyFormat) {
  for (const char* name : {"DAYOFYEAR", "WEEKOFYEAR", "ISOWEEKOFYEAR"}) {
    for (const char* text : {"", "x", "1", "99.99.99", "1/1/1/1"}) {
      const host::AbnormalEnd end = Ending(name, {text});
      EXPECT_EQ(end.kind, "EConvertError") << name << " " << text;
      EXPECT_EQ(end.message, std::string("'").append(text).append("' is not a valid date"));
    }
  }
}

TEST_F(DateMacrosThroughExports, EasterSundayNeedsNoComponentSetAndNeverFails) {
  Finalize();
  for (const char* year : {"2025", "0", "-1", "10000", "2147483647", "-2147483648"})
    EXPECT_FALSE(Result("EASTERSUNDAY", {year}).empty()) << year;
  Initialize();
}

TEST(ComponentSetThroughExports, DayAndWeekNeedAnInitialisedPlugin) {
  Finalize();  // whatever an earlier test left
  for (const char* name : {"DAYOFYEAR", "WEEKOFYEAR"}) {
    const host::AbnormalEnd end = Ending(name, {});
    EXPECT_NE(end.message.find("not initialised"), std::string::npos) << end.message;
  }
  EXPECT_FALSE(Result("ISOWEEKOFYEAR").empty());

  Initialize();
  Initialize();  // a second set; the first lives on until unload
  EXPECT_FALSE(Result("DAYOFYEAR").empty());
  Finalize();
  EXPECT_NE(Ending("WEEKOFYEAR", {}).message.find("not initialised"), std::string::npos);
  Finalize();  // nothing left to free
  EXPECT_NE(Ending("DAYOFYEAR", {}).message.find("not initialised"), std::string::npos);
}

TEST(ComponentSetThroughExports, AThousandCycles) {
  for (int i = 0; i < 1000; ++i) {
    Initialize();
    ASSERT_FALSE(Result("WEEKOFYEAR").empty());
    Finalize();
  }
  EXPECT_NE(Ending("DAYOFYEAR", {}).message.find("not initialised"), std::string::npos);
}

}  // namespace
}  // namespace quillet::conformance
