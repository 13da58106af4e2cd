// The checksum and Tiger kernels side by side: every accelerated variant this
// processor offers against the portable code on random lengths, alignments,
// starting values and splits into consecutive updates; the self-tests that
// decide between them, and the choices they made.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include "hash/Adler.h"
#include "hash/Adler_x86.h"
#include "hash/CRC.h"
#include "hash/CRC_x86.h"
#include "hash/Tiger.h"
#include "hash/Tiger_x86.h"

namespace quillet {
namespace {

using Update = void (*)(uint32_t& reg, const uint8_t* data, size_t length);

constexpr size_t kLongest = 5000;
constexpr size_t kAlignments = 64;

// The register after feeding data in the given pieces (the rest in one last
// piece); an empty piece list feeds everything at once.
uint32_t Fed(Update update, uint32_t reg, const uint8_t* data, size_t length,
             const std::vector<size_t>& pieces) {
  for (size_t piece : pieces) {
    piece = std::min(piece, length);
    update(reg, data, piece);
    data += piece;
    length -= piece;
  }
  update(reg, data, length);
  return reg;
}

std::vector<size_t> RandomPieces(std::mt19937& random, size_t length) {
  std::vector<size_t> pieces;
  for (size_t at = 0; at < length;) {
    // Mostly pieces around the kernels' block and group sizes, some tiny.
    const size_t piece = random() % 3 == 0 ? random() % 20 : random() % 700;
    pieces.push_back(piece);
    at += piece;
  }
  return pieces;
}

// start(random) gives a valid starting register for the checksum.
template <class Start>
void ExpectSameRegisters(Update candidate, Update portable, Start start, int rounds) {
  std::mt19937 random(20261209);
  std::vector<uint8_t> bytes(kLongest + kAlignments);
  for (int round = 0; round < rounds; ++round) {
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
    const size_t length = random() % (kLongest + 1), offset = random() % kAlignments;
    const uint8_t* data = bytes.data() + offset;
    const uint32_t reg = start(random);
    const uint32_t expected = Fed(portable, reg, data, length, {});
    ASSERT_EQ(Fed(candidate, reg, data, length, {}), expected)
        << "length " << length << " offset " << offset;
    ASSERT_EQ(Fed(candidate, reg, data, length, RandomPieces(random, length)), expected)
        << "split, length " << length << " offset " << offset;
  }
}

uint32_t AnyRegister(std::mt19937& random) {
  return static_cast<uint32_t>(random());
}

uint32_t ReducedSums(std::mt19937& random) {
  return static_cast<uint32_t>(random() % kAdlerModulus) << 16 |
         static_cast<uint32_t>(random() % kAdlerModulus);
}

void ExpectCrcAgrees(const CrcKernels& candidate) {
  const CrcKernels& portable = PortableCrcKernels();
  ExpectSameRegisters(candidate.msbFirst, portable.msbFirst, AnyRegister, 1500);
  ExpectSameRegisters(candidate.reflected, portable.reflected, AnyRegister, 1500);
  EXPECT_TRUE(CrcSelfTest(candidate));
}

void ExpectAdlerAgrees(const AdlerKernels& candidate) {
  ExpectSameRegisters(candidate.update, PortableAdlerKernels().update, ReducedSums, 1500);
  // Runs of 0xFF drive both sums to their largest values between reductions;
  // split or not, the longest chunk a kernel sums at once is reached.
  std::mt19937 random(7);
  const std::vector<uint8_t> ones(300000, 0xFF);
  for (size_t length : {65535u, 65536u, 65537u, 131072u + 31u, 300000u}) {
    const uint32_t reg = (kAdlerModulus - 1) << 16 | (kAdlerModulus - 1);
    const uint32_t expected = Fed(PortableAdlerKernels().update, reg, ones.data(), length, {});
    EXPECT_EQ(Fed(candidate.update, reg, ones.data(), length, {}), expected) << length;
    EXPECT_EQ(Fed(candidate.update, reg, ones.data(), length, {70000, 3, 100000}), expected)
        << length;
  }
  EXPECT_TRUE(AdlerSelfTest(candidate));
}

TEST(CrcKernels, PclmulAgreesWithTheTables) {
  const CrcKernels* pclmul = PclmulCrcKernels();
  if (!pclmul) GTEST_SKIP() << "this processor has no PCLMULQDQ with SSSE3 and SSE4.1";
  ExpectCrcAgrees(*pclmul);
}

TEST(CrcKernels, VpclmulAgreesWithTheTables) {
  const CrcKernels* vpclmul = VpclmulCrcKernels();
  if (!vpclmul) GTEST_SKIP() << "this processor has no VPCLMULQDQ with AVX2";
  ExpectCrcAgrees(*vpclmul);
}

TEST(CrcKernels, Avx512AgreesWithTheTables) {
  const CrcKernels* avx512 = Avx512CrcKernels();
  if (!avx512) GTEST_SKIP() << "this processor has no AVX-512 F/VL/BW with VPCLMULQDQ";
  ExpectCrcAgrees(*avx512);
  std::vector<uint8_t> bytes(3 * 4096);
  std::mt19937 random(20261209);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
  // Short inputs take the 64-byte registers without the 256-byte loop, or
  // the tables alone: every length there, at every alignment.
  for (size_t length = 0; length <= 320; ++length)
    for (size_t offset = 0; offset < kAlignments; ++offset) {
      const uint32_t reg = static_cast<uint32_t>(random());
      const uint8_t* data = bytes.data() + offset;
      ASSERT_EQ(Fed(avx512->msbFirst, reg, data, length, {}),
                Fed(PortableCrcKernels().msbFirst, reg, data, length, {}))
          << length << " at " << offset;
      ASSERT_EQ(Fed(avx512->reflected, reg, data, length, {}),
                Fed(PortableCrcKernels().reflected, reg, data, length, {}))
          << length << " at " << offset;
    }
  // Every count of 64-byte registers left after the 256-byte loop, with and
  // without a 16-byte block and a byte tail behind them.
  for (size_t length = 1024; length < bytes.size(); length += 64 + length % 5 * 16 + length % 3) {
    const CrcKernels& portable = PortableCrcKernels();
    EXPECT_EQ(Fed(avx512->msbFirst, 0x12345678, bytes.data(), length, {}),
              Fed(portable.msbFirst, 0x12345678, bytes.data(), length, {}))
        << length;
    EXPECT_EQ(Fed(avx512->reflected, 0x9abcdef0, bytes.data(), length, {}),
              Fed(portable.reflected, 0x9abcdef0, bytes.data(), length, {}))
        << length;
  }
}

TEST(AdlerKernels, Ssse3AgreesWithThePortableSums) {
  const AdlerKernels* ssse3 = Ssse3AdlerKernels();
  if (!ssse3) GTEST_SKIP() << "this processor has no SSSE3";
  ExpectAdlerAgrees(*ssse3);
}

TEST(AdlerKernels, Avx2AgreesWithThePortableSums) {
  const AdlerKernels* avx2 = Avx2AdlerKernels();
  if (!avx2) GTEST_SKIP() << "this processor has no AVX2";
  ExpectAdlerAgrees(*avx2);
}

// The engine uses the best variant the processor has (best first below),
// all of which pass their self-tests here; the portable kernels pass too.
TEST(ChecksumKernels, ChoiceIsTheBestVariantPresent) {
  const char* crc = Avx512CrcKernels()    ? "avx512"
                    : VpclmulCrcKernels() ? "vpclmul"
                    : PclmulCrcKernels()  ? "pclmul"
                                          : "portable";
  EXPECT_STREQ(ChosenCrcKernels().name, crc);
  EXPECT_FALSE(ChosenCrcKernels().passedOver);
  EXPECT_TRUE(CrcSelfTest(PortableCrcKernels()));
  const char* adler = Avx2AdlerKernels() ? "avx2" : Ssse3AdlerKernels() ? "ssse3" : "portable";
  EXPECT_STREQ(ChosenAdlerKernels().name, adler);
  EXPECT_FALSE(ChosenAdlerKernels().passedOver);
  EXPECT_TRUE(AdlerSelfTest(PortableAdlerKernels()));
}

// A variant the processor has but that fails its self-test is passed over
// for the next one, and the choice says so; one the processor lacks is not.
TEST(ChecksumKernels, WrongVariantIsNeverChosen) {
  static const CrcKernels wrong = {PortableCrcKernels().reflected, PortableCrcKernels().msbFirst};
  const std::array<KernelVariant<CrcKernels>, 3> variants = {{
      {"absent", []() -> const CrcKernels* { return nullptr; }},
      {"wrong", []() { return &wrong; }},
      {"right", []() { return &PortableCrcKernels(); }},
  }};
  const KernelChoice<CrcKernels> choice = ChooseKernels(wrong, variants, CrcSelfTest);
  EXPECT_STREQ(choice.name, "right");
  EXPECT_EQ(choice.kernels, &PortableCrcKernels());
  EXPECT_TRUE(choice.passedOver);
  const KernelChoice<CrcKernels> none =
      ChooseKernels(PortableCrcKernels(), std::array{variants[0], variants[1]}, CrcSelfTest);
  EXPECT_STREQ(none.name, "portable");
  EXPECT_TRUE(none.passedOver);
}

// Kernels that go wrong only past some length, or only from some starting
// registers, are caught.
TEST(ChecksumKernels, SelfTestsRejectWrongKernels) {
  const CrcKernels& crc = PortableCrcKernels();
  const auto wrongWhenLong = [](uint32_t& reg, const uint8_t* data, size_t length) {
    PortableCrcKernels().reflected(reg, data, length);
    if (length > 1000) reg ^= 0x100;
  };
  const auto ignoresStart = [](uint32_t& reg, const uint8_t* data, size_t length) {
    reg = 0xFFFFFFFFu;
    PortableCrcKernels().msbFirst(reg, data, length);
  };
  EXPECT_FALSE(CrcSelfTest({crc.msbFirst, wrongWhenLong}));
  EXPECT_FALSE(CrcSelfTest({ignoresStart, crc.reflected}));
  EXPECT_FALSE(CrcSelfTest({crc.reflected, crc.msbFirst}));
  // Wrong only where a kernel folds whole registers without its widest loop.
  const auto wrongWhenShort = [](uint32_t& reg, const uint8_t* data, size_t length) {
    PortableCrcKernels().msbFirst(reg, data, length);
    if (length >= 64 && length < 256) reg = ~reg;
  };
  EXPECT_FALSE(CrcSelfTest({wrongWhenShort, crc.reflected}));
  // Sums reduced once too rarely overflow only on the long runs of 0xFF.
  const auto overflows = [](uint32_t& reg, const uint8_t* data, size_t length) {
    uint32_t s1 = reg & 0xFFFF, s2 = reg >> 16;
    for (size_t i = 0; i < length; ++i) {
      s1 += data[i];
      s2 += s1;
    }
    reg = (s2 % kAdlerModulus) << 16 | (s1 % kAdlerModulus);
  };
  EXPECT_FALSE(AdlerSelfTest({overflows}));
}

// Tiger's compression from random chaining words over runs of 0 to 9
// random blocks at every alignment, with 3 passes (the engine's) and more.
TEST(TigerKernels, Sse2AgreesWithPortable) {
  const TigerKernels* sse2 = Sse2TigerKernels();
  if (!sse2) GTEST_SKIP() << "not 32-bit x86 with SSE2";
  std::mt19937_64 random(20261211);
  std::vector<uint8_t> bytes(64 * 9 + 16);
  for (int round = 0; round < 1000; ++round) {
    uint64_t expected[3], actual[3];
    for (uint64_t& word : expected) word = random();
    std::copy(expected, expected + 3, actual);
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
    const size_t count = round % 10;
    const uint8_t* blocks = bytes.data() + round % 16;
    const int32_t passes = round % 7 == 0 ? 3 + round % 4 : 3;
    PortableTigerKernels().blocks(expected, blocks, count, passes);
    sse2->blocks(actual, blocks, count, passes);
    ASSERT_TRUE(std::equal(expected, expected + 3, actual)) << "round " << round;
  }
  EXPECT_TRUE(TigerSelfTest(*sse2));
}

TEST(TigerKernels, ChoiceAndSelfTest) {
  EXPECT_STREQ(ChosenTigerKernels().name, Sse2TigerKernels() ? "sse2" : "portable");
  EXPECT_FALSE(ChosenTigerKernels().passedOver);
  EXPECT_TRUE(TigerSelfTest(PortableTigerKernels()));
  // Right with 3 passes, wrong with more.
  const auto onlyThree = [](uint64_t(&chain)[3], const uint8_t* blocks, size_t count, int32_t) {
    PortableTigerKernels().blocks(chain, blocks, count, 3);
  };
  EXPECT_FALSE(TigerSelfTest({onlyThree}));
}

}  // namespace
}  // namespace quillet
