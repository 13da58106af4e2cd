// Macro lookup by name, the six macros that do no work, and the abnormal end.
#include <cstdint>
#include <string>
#include <vector>

#include "support/Loaded.h"

namespace quillet::conformance {
namespace {

const std::vector<std::string> kNoWorkMacros = {"FIND", "PARENT",   "IPLIST",
                                                "EXEC", "EXECFUNC", "WHOIS"};

// Answers -1 without running anything or delivering anything.
void ExpectUnknown(const char* name, int32_t nameLength) {
  host::HostProvider context;
  host::HostProvider params({"x"});
  const MacroRun run = ExecRaw(name, nameLength, context, params);
  EXPECT_FALSE(run.ended) << run.end.message;
  EXPECT_EQ(run.answer, -1) << (name ? name : "(null)");
  EXPECT_TRUE(context.setTextCalls().empty());
  EXPECT_EQ(params.getCountCalls() + params.getTextCalls(), 0);
}

TEST(Dispatch, NamesMatchWholeWithAsciiCaseFolded) {
  EXPECT_EQ(Result("whois"), "* Not implemented yet *");
  EXPECT_EQ(Result("WhoIs"), "* Not implemented yet *");
  EXPECT_EQ(Result("execfunc"), "* Not implemented yet *");
  ExpectUnknown("WHOIS ", 6);
  ExpectUnknown(" WHOIS", 6);
  ExpectUnknown("WHOI", 4);
  ExpectUnknown("FOLDER", 6);
  ExpectUnknown("EXECFUN", 7);
  ExpectUnknown("", 1);
}

TEST(Dispatch, NonAsciiBytesAreComparedUnchanged) {
  ExpectUnknown("WHO\xC9S", 5);
  ExpectUnknown("\xC6IND", 4);  // a Latin-1 letter is no ASCII letter
  ExpectUnknown("F\xEDND", 4);
  ExpectUnknown("WHOIS\xA0", 6);
  ExpectUnknown("\xFF\xFE\x80", 3);
}

TEST(Dispatch, NameLengthBelowOneRunsNothing) {
  ExpectUnknown("WHOIS", 0);
  ExpectUnknown("WHOIS", -5);
  ExpectUnknown("QLVERSION", INT32_MIN);
}

TEST(Dispatch, NameLengthIsOnlyAGateTheNameIsReadToItsZero) {
  EXPECT_EQ(Result("WHOIS"), "* Not implemented yet *");
  host::HostProvider context, params;
  const MacroRun run = ExecRaw("WHOIS", 1, context, params);
  EXPECT_EQ(run.answer, 0);
  EXPECT_EQ(Delivered(context), "* Not implemented yet *");
}

TEST(Dispatch, NullNameAnswersMinusOne) {
  ExpectUnknown(nullptr, 5);
}

TEST(NoWorkMacros, AnswerNotImplementedWhateverTheParameters) {
  const std::vector<std::vector<std::string>> paramSets = {{}, {"a"}, {"a", "b", "c"}};
  for (const std::string& name : kNoWorkMacros) {
    for (const auto& set : paramSets) {
      host::HostProvider context;
      host::HostProvider params(set);
      params.failGetTextAt = 0;
      const MacroRun run = Exec(name, context, params);
      ASSERT_FALSE(run.ended) << name;
      EXPECT_EQ(run.answer, 0) << name;
      EXPECT_EQ(Delivered(context), "* Not implemented yet *") << name;
      EXPECT_EQ(params.getCountCalls(), 0) << name << " asked for the parameter count";
      EXPECT_EQ(params.getTextCalls(), 0) << name << " read a parameter";
      EXPECT_TRUE(context.expandCalls().empty()) << name;
      EXPECT_EQ(context.getTextCalls(), 0) << name;
    }
  }
}

TEST(AbnormalEnd, CarriesKindAndMessageAndThePluginGoesOn) {
  for (int round = 0; round < 3; ++round) {
    host::HostProvider context;
    host::HostProvider params({"http://127.0.0.1:1/"});
    const MacroRun run = Exec("PUTURL", context, params);
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.end.kind, "Exception") << "PUTURL needs WRP_Initialize";
    EXPECT_NE(run.end.message.find("WRP_Initialize"), std::string::npos) << run.end.message;
    EXPECT_TRUE(context.setTextCalls().empty()) << "nothing is delivered after an abnormal end";
    EXPECT_EQ(Result("WHOIS"), "* Not implemented yet *");
  }
}

TEST(AbnormalEnd, MissingProviderEndsTheCallInsteadOfCrashing) {
  MacroRun run;
  run.ended = !host::CallGuarded(
      [&] { run.answer = Loaded().execMacro("WHOIS", 5, nullptr, nullptr); }, run.end);
  EXPECT_TRUE(run.ended);
  EXPECT_EQ(Result("WHOIS"), "* Not implemented yet *");
}

// A failure the host raises in any call but GetText passes out of the macro
// call as an abnormal end; the plug-in releases what the call held and goes on.
TEST(HostFailures, EndTheMacroCallAndThePluginGoesOn) {
  struct Case {
    const char* macro;
    std::vector<std::string> params;
    bool host::HostProvider::*contextFails;
    bool host::HostProvider::*paramsFails;
  };
  const Case cases[] = {
      {"HASH", {"MD5", "abc"}, nullptr, &host::HostProvider::failGetCount},
      {"EASTERSUNDAY", {"2025"}, nullptr, &host::HostProvider::failGetInt},
      {"ENCODEURL", {"a b"}, &host::HostProvider::failSetText, nullptr},
      {"XFACE", {"face"}, &host::HostProvider::failExpandTemplate, nullptr},
      {"FOLDERPATH", {}, &host::HostProvider::failExpandTemplate, nullptr},
  };
  for (const Case& c : cases) {
    for (int round = 0; round < 50; ++round) {
      host::HostProvider context;
      host::HostProvider params(c.params);
      if (c.contextFails) context.*c.contextFails = true;
      if (c.paramsFails) params.*c.paramsFails = true;
      const MacroRun run = Exec(c.macro, context, params);
      ASSERT_TRUE(run.ended) << c.macro;
      EXPECT_EQ(run.end.kind, "EExternalException") << c.macro;
      EXPECT_FALSE(run.end.message.empty()) << c.macro;
    }
    EXPECT_EQ(Result("WHOIS"), "* Not implemented yet *") << "after " << c.macro;
  }
  EXPECT_EQ(Result("ENCODEURL", {"a b"}), "a%20b");
}

// A host that announces a text of 2 GiB: a 32-bit process cannot hold it and
// ends the call as out of memory; a 64-bit one takes the bytes the host wrote.
TEST(HostFailures, AnAnnouncedLengthTooLargeToHoldEndsAsOutOfMemory) {
  host::HostProvider context;
  host::HostProvider params({"a b"});
  params.announcedLength = INT32_MAX;
  const MacroRun run = Exec("ENCODEURL", context, params);
  if (sizeof(void*) == 4) {
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.end.kind, "EOutOfMemory");
    EXPECT_EQ(run.end.message, "Out of memory");
    EXPECT_TRUE(context.setTextCalls().empty());
  } else {
    ASSERT_FALSE(run.ended) << run.end.kind << ": " << run.end.message;
    EXPECT_EQ(Delivered(context), "a%20b");
  }
  EXPECT_EQ(Result("ENCODEURL", {"a b"}), "a%20b");
}

// A host that cannot deliver a parameter's text leaves it empty.
TEST(HostFailures, AnUnreadableParameterReadsAsEmpty) {
  host::HostProvider context;
  host::HostProvider params({"a b"});
  params.failGetTextAt = 0;
  const MacroRun run = Exec("ENCODEURL", context, params);
  ASSERT_FALSE(run.ended) << run.end.message;
  EXPECT_EQ(run.answer, 0);
  EXPECT_EQ(Delivered(context), "");
}

}  // namespace
}  // namespace quillet::conformance
