// The HASH macro through the exports: algorithm names, parameter counts,
// empty and unreadable texts, and the published digests of "abc".
#include <string>
#include <vector>

#include "support/Loaded.h"

namespace quillet::conformance {
namespace {

const std::string kWrongCount = " *** Error: wrong number of parameters *** ";
const std::string kInvalidValue = " *** Error: invalid parameter value *** ";

TEST(HashMacro, OneParameterIsMd5OfIt) {
  EXPECT_EQ(Result("HASH", {"abc"}), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Result("hash", {""}), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(HashMacro, PublishedDigestsOfAbc) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"MD2", "da853b0d3f88d99b30283a69e6ded6bb"},
      {"MD4", "a448017aaf21d8525fc10ae87aa6729d"},
      {"MD5", "900150983cd24fb0d6963f7d28e17f72"},
      {"SHA1", "a9993e364706816aba3e25717850c26c9cd0d89d"},
      {"SHA256", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"SHA384",
       "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed8086072ba1e7cc2358baeca134"
       "c825a7"},
      {"SHA512",
       "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3"
       "feebbd454d4423643ce80e2a9ac94fa54ca49f"},
      {"RIPE-MD128", "c14a12199c66e4ba84636b0f69144c77"},
      {"RIPE-MD160", "8eb208f7e05d987a9b044a8e98c6b087f15a0bfc"},
      {"CRC32", "73bb8c64"},
      {"CRC32B", "c2412435"},
      {"ADLER32", "024d0127"},
      {"TIGER128", "f258c1e88414ab2a527ab541ffc5b8bf"},
      {"TIGER160", "f258c1e88414ab2a527ab541ffc5b8bf935f7b95"},
      {"TIGER192", "f258c1e88414ab2a527ab541ffc5b8bf935f7b951c132951"},
      {"GOST", "f3134348c44fb1b2a277729e2285ebb5cb5e0f29c975bc753b70497c06a4d51d"},
      {"HAVAL128", "c79c31129c3fe87e506b46c6913c52ac"},
  };
  for (const auto& [name, hex] : cases) EXPECT_EQ(Result("HASH", {name, "abc"}), hex) << name;
}

// The HAVAL sizes of this system pad with 0x80, so no published value exists
// beyond 128 bits; their lengths and mutual independence are what can be said.
TEST(HashMacro, EveryHavalSizeAnswersItsOwnDigest) {
  std::vector<std::string> seen;
  for (const auto& [name, digits] : std::vector<std::pair<std::string, size_t>>{{"HAVAL128", 32},
                                                                                {"HAVAL160", 40},
                                                                                {"HAVAL192", 48},
                                                                                {"HAVAL224", 56},
                                                                                {"HAVAL256", 64}}) {
    const std::string hex = Result("HASH", {name, "abc"});
    EXPECT_EQ(hex.size(), digits) << name;
    EXPECT_EQ(hex.find_first_not_of("0123456789abcdef"), std::string::npos) << name;
    for (const std::string& other : seen) EXPECT_NE(hex.substr(0, 32), other.substr(0, 32)) << name;
    seen.push_back(hex);
  }
  EXPECT_EQ(Result("HASH", {"haval256", ""}),
            "839786ac4f89ee6ae87f2065ac681097d7276a9903b7e972e992566d0de38e0c");
  EXPECT_EQ(Result("HASH", {"HAVAL128", ""}), "1bdc556b29ad02ec09af8c66477f2a87");
  EXPECT_EQ(Result("HASH", {"TIGER192", ""}), "24f0130c63ac933216166e76b1bb925ff373de2d49584e7a");
  EXPECT_EQ(Result("HASH", {"gost", ""}),
            "ce85b99cc46752fffee35cab9a7b0278abb4c2d2055cff685af4912c49490f8d");
}

TEST(HashMacro, NamesIgnoreAsciiCaseAndSurroundingBlanks) {
  for (const std::string& name : std::vector<std::string>{
           "crc32b", "Crc32B", "  CRC32B ", "\tcrc32b\r\n", std::string("\x01 cRc32b\x1F\x20", 10)})
    EXPECT_EQ(Result("HASH", {name, "abc"}), "c2412435") << name;
  EXPECT_EQ(Result("HASH", {"ripe-md160", "abc"}), "8eb208f7e05d987a9b044a8e98c6b087f15a0bfc");
  EXPECT_EQ(Result("HASH", {" Md5 ", ""}), "d41d8cd98f00b204e9800998ecf8427e");
}

TEST(HashMacro, OtherNamesAreInvalid) {
  for (const std::string name : {"RIPEMD160", "SHA-1", "MD 5", "MD\t5", "", "   ", "MD", "MD55",
                                 "SHA", "CRC", "RIPE_MD160", "MD5\xA0", "\xB5MD5",
                                 "M\xC4"
                                 "D5"})
    EXPECT_EQ(Result("HASH", {name, "abc"}), kInvalidValue) << name;
}

TEST(HashMacro, WrongCountsHashNothing) {
  for (const std::vector<std::string>& set :
       {std::vector<std::string>{}, {"MD5", "abc", "x"}, {"CRC32", "a", "b", "c"}}) {
    host::HostProvider context;
    host::HostProvider params(set);
    const MacroRun run = Exec("HASH", context, params);
    ASSERT_FALSE(run.ended) << run.end.message;
    EXPECT_EQ(run.answer, 0);
    EXPECT_EQ(Delivered(context), kWrongCount) << set.size();
    EXPECT_EQ(params.getTextCalls(), 0) << set.size();
  }
}

TEST(HashMacro, EmptyTextIsTheEmptyInputsDigest) {
  EXPECT_EQ(Result("HASH", {"CRC32", ""}), "00000000");
  EXPECT_EQ(Result("HASH", {"CRC32B", ""}), "00000000");
  EXPECT_EQ(Result("HASH", {"ADLER32", ""}), "00000001");
  EXPECT_EQ(Result("HASH", {"SHA1", ""}), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
}

// A parameter the host fails to deliver reads as empty text.
TEST(HashMacro, UnreadableParametersReadAsEmpty) {
  struct Case {
    std::vector<std::string> params;
    int32_t failing;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {{"abc"}, 0, "d41d8cd98f00b204e9800998ecf8427e"},
      {{"ADLER32", "abc"}, 1, "00000001"},
      {{"CRC32", "abc"}, 0, kInvalidValue},
  };
  for (const Case& c : cases) {
    host::HostProvider context;
    host::HostProvider params(c.params);
    params.failGetTextAt = c.failing;
    const MacroRun run = Exec("HASH", context, params);
    ASSERT_FALSE(run.ended) << run.end.message;
    EXPECT_EQ(run.answer, 0);
    EXPECT_EQ(Delivered(context), c.expected);
  }
}

TEST(HashMacro, LongTextsAreHashedWhole) {
  const std::string millionA(1000000, 'a');
  EXPECT_EQ(Result("HASH", {"RIPE-MD160", millionA}), "52783243c1697bdbe16d37f97f68f08325dc1528");
  EXPECT_EQ(Result("HASH", {"SHA256", millionA}),
            "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
  EXPECT_EQ(Result("HASH", {millionA}), "7707d6ae4e027c70eea2a935c2296f21");
}

}  // namespace
}  // namespace quillet::conformance
