// XFACE through the exports: the quote chosen for each value, the exact
// command the host is asked to carry out, and the outcome handed back.
#include <string>
#include <vector>

#include "support/Loaded.h"

namespace quillet::conformance {
namespace {

struct XFaceRun {
  MacroRun run;
  std::vector<host::ExpandCall> commands;
  std::string result;
};

XFaceRun RunXFace(std::vector<std::string> params, const std::string& outcome = "") {
  host::HostProvider context;
  context.onCommand = [&](std::string_view) { return outcome; };
  host::HostProvider parameters(std::move(params));
  XFaceRun x;
  x.run = Exec("XFACE", context, parameters);
  x.commands = context.expandCalls();
  if (!x.run.ended) x.result = Delivered(context);
  return x;
}

std::string Command(char quote, const std::string& value) {
  return "%ADDHEADER(\"X-Face\"," + std::string(1, quote) + value + std::string(1, quote) + ")";
}

// The one command XFACE issued for value, with the arguments a host expects.
void ExpectCommand(const std::string& value, char quote) {
  const XFaceRun x = RunXFace({value});
  ASSERT_FALSE(x.run.ended) << x.run.end.message;
  ASSERT_EQ(x.commands.size(), 1u);
  EXPECT_EQ(x.commands[0].text, Command(quote, value));
  EXPECT_EQ(x.commands[0].flags, 0);
  EXPECT_TRUE(x.commands[0].providerIsNull);
}

TEST(XFace, QuoteIsTheFirstPrintableByteTheValueLacks) {
  struct QuoteCase {
    std::string value;
    char quote;
  };
  const std::vector<QuoteCase> cases = {
      {"abc", '!'},
      {"", '!'},
      {"a!b", '"'},
      {"!\"", '#'},
      {"\"", '!'},
      {"!#", '"'},
      {"a b", '!'},
      {"\xE9\x90\xFF", '!'},
      {"!\x90", '"'},
      {"!\"#$%&'()*+,-./0123456789:;<=>?@", 'A'},
      {std::string("!\0", 2), '"'},
  };
  for (const QuoteCase& c : cases) ExpectCommand(c.value, c.quote);
}

TEST(XFace, EveryPrintableCharacterInTurn) {
  // A value holding "!" up to c is quoted with the byte after c; with all 94
  // printable characters the quote is 0x90.
  std::string value;
  for (int c = '!'; c <= '~'; ++c) {
    value += static_cast<char>(c);
    ExpectCommand(value, c < '~' ? static_cast<char>(c + 1) : '\x90');
  }
  // The order inside the value does not matter, nor do other bytes.
  const std::string reversed(value.rbegin(), value.rend());
  ExpectCommand(reversed, '\x90');
  ExpectCommand(value + "\x90\x80\xFF \t", '\x90');
  std::string withoutTilde = value;
  withoutTilde.pop_back();
  ExpectCommand("\x90" + withoutTilde + "\xFF", '~');
  std::string withoutA = value;
  withoutA.erase(withoutA.find('A'), 1);
  ExpectCommand(withoutA + withoutA, 'A');
}

TEST(XFace, ATypicalFaceValuePassesUnaltered) {
  const std::string face =
      "\"Ngl-yK^xR1`M'x/4TR.Yk%p<b:y3Ws9~QF=9+HGd!8l}nJ3(1,&U5oE`vc*Dw}sA`;[%D)qN{8a]hT?-6$#|_";
  ExpectCommand(face, '0');
  const std::string longValue(200000, 'x');
  ExpectCommand(longValue, '!');
}

TEST(XFace, AnswersWhatTheHostLeavesAsOutcome) {
  EXPECT_EQ(RunXFace({"abc"}, "added").result, "added");
  EXPECT_EQ(RunXFace({"abc"}, "").result, "");
  EXPECT_EQ(RunXFace({"abc"}, std::string("x\0y", 3)).result, std::string("x\0y", 3));

  host::HostProvider context;
  context.onCommand = [](std::string_view) { return std::string("added"); };
  context.failGetTextAt = 0;
  host::HostProvider params({"abc"});
  const MacroRun run = Exec("XFACE", context, params);
  ASSERT_FALSE(run.ended);
  EXPECT_EQ(context.expandCalls().size(), 1u);
  EXPECT_EQ(Delivered(context), "") << "an outcome the host fails to give reads as empty";
}

TEST(XFace, ExactlyOneParameter) {
  const std::string wrongCount = " *** Error: wrong number of parameters *** ";
  for (const std::vector<std::string>& params :
       {std::vector<std::string>{}, std::vector<std::string>{"a", "b"},
        std::vector<std::string>{"a", "b", "c"}}) {
    const XFaceRun x = RunXFace(params, "never");
    ASSERT_FALSE(x.run.ended);
    EXPECT_EQ(x.run.answer, 0);
    EXPECT_EQ(x.result, wrongCount);
    EXPECT_TRUE(x.commands.empty()) << "a command reached the host";
  }
  // A parameter the host fails to give is the empty value.
  host::HostProvider context;
  host::HostProvider params({"abc"});
  params.failGetTextAt = 0;
  ASSERT_FALSE(Exec("XFACE", context, params).ended);
  ASSERT_EQ(context.expandCalls().size(), 1u);
  EXPECT_EQ(context.expandCalls()[0].text, "%ADDHEADER(\"X-Face\",!!)");
}

}  // namespace
}  // namespace quillet::conformance
