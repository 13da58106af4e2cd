// The SHA block transforms side by side: the portable ones, the accelerated
// ones where this processor has them, the self-tests that decide between
// them and the choices they made.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "hash/CpuFeatures.h"
#include "hash/SHA.h"
#include "hash/SHA512_x86.h"
#include "hash/SHA_x86.h"

namespace quillet {
namespace {

using State = std::vector<uint32_t>;

State Transformed(Sha32Transform transform, const uint32_t (&start)[8], const uint8_t* blocks,
                  size_t count) {
  uint32_t h[8];
  std::memcpy(h, start, sizeof h);
  transform(h, blocks, count);
  return State(h, h + 8);
}

struct Start {
  uint32_t sha1[8];
  uint32_t sha256[8];
};

Start InitialStates() {
  Sha32State sha1, sha256;
  Sha1Init(sha1);
  Sha256Init(sha256);
  Start start;
  std::memcpy(start.sha1, sha1.h, sizeof start.sha1);
  std::memcpy(start.sha256, sha256.h, sizeof start.sha256);
  return start;
}

// The message padded to whole blocks by hand, as the final update pads it.
std::vector<uint8_t> Padded(const std::string& message) {
  std::vector<uint8_t> bytes(message.begin(), message.end());
  bytes.push_back(0x80);
  while (bytes.size() % 64 != 56) bytes.push_back(0);
  const uint64_t bits = uint64_t{message.size()} * 8;
  for (int i = 7; i >= 0; --i) bytes.push_back(static_cast<uint8_t>(bits >> (8 * i)));
  return bytes;
}

// The FIPS 180-2 examples straight through a transform pair: one block ("abc")
// and two in one run (the 448-bit message).
void ExpectFipsStates(const Sha32Kernels& transforms) {
  const Start start = InitialStates();
  const std::vector<uint8_t> abc = Padded("abc");
  const std::vector<uint8_t> two =
      Padded("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq");
  ASSERT_EQ(two.size(), 128u);
  EXPECT_EQ(Transformed(transforms.sha1, start.sha1, abc.data(), 1),
            (State{0xa9993e36, 0x4706816a, 0xba3e2571, 0x7850c26c, 0x9cd0d89d, 0, 0, 0}));
  EXPECT_EQ(Transformed(transforms.sha1, start.sha1, two.data(), 2),
            (State{0x84983e44, 0x1c3bd26e, 0xbaae4aa1, 0xf95129e5, 0xe54670f1, 0, 0, 0}));
  EXPECT_EQ(Transformed(transforms.sha256, start.sha256, abc.data(), 1),
            (State{0xba7816bf, 0x8f01cfea, 0x414140de, 0x5dae2223, 0xb00361a3, 0x96177a9c,
                   0xb410ff61, 0xf20015ad}));
  EXPECT_EQ(Transformed(transforms.sha256, start.sha256, two.data(), 2),
            (State{0x248d6a61, 0xd20638b8, 0xe5c02693, 0x0c3e6039, 0xa33ce459, 0x64ff2167,
                   0xf6ecedd4, 0x19db06c1}));
}

TEST(ShaKernels, PortableGiveTheFipsStates) {
  ExpectFipsStates(PortableSha32Kernels());
}

TEST(ShaKernels, AcceleratedGiveTheFipsStates) {
  const Sha32Kernels* accelerated = ShaniSha32Kernels();
  if (!accelerated) GTEST_SKIP() << "this processor has no SHA extensions";
  ExpectFipsStates(*accelerated);
}

// Random states, random blocks, runs of 1 to 9 blocks and every alignment of
// the data: both kinds must leave the same state.
TEST(ShaKernels, AcceleratedAgreeWithPortableOnRandomBlocks) {
  const Sha32Kernels* accelerated = ShaniSha32Kernels();
  if (!accelerated) GTEST_SKIP() << "this processor has no SHA extensions";
  const Sha32Kernels& portable = PortableSha32Kernels();
  std::mt19937 random(20261208);
  std::vector<uint8_t> bytes(64 * 9 + 16);
  for (int round = 0; round < 2000; ++round) {
    uint32_t start[8];
    for (uint32_t& word : start) word = static_cast<uint32_t>(random());
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
    const size_t count = 1 + round % 9;
    const uint8_t* blocks = bytes.data() + round % 16;
    // SHA-1 must leave the last three words alone, as the portable one does.
    EXPECT_EQ(Transformed(accelerated->sha1, start, blocks, count),
              Transformed(portable.sha1, start, blocks, count))
        << "SHA-1, round " << round;
    EXPECT_EQ(Transformed(accelerated->sha256, start, blocks, count),
              Transformed(portable.sha256, start, blocks, count))
        << "SHA-256, round " << round;
  }
}

// Where the processor has the extensions, the engine must be using them: the
// self-test passed. Elsewhere it uses the portable code.
TEST(ShaKernels, ChoiceFollowsTheProcessorAndTheSelfTest) {
  const bool present = ShaniSha32Kernels() != nullptr;
  EXPECT_STREQ(ChosenSha32Kernels().name, present ? "sha" : "portable");
  EXPECT_FALSE(ChosenSha32Kernels().passedOver);
  if (present) {
    EXPECT_TRUE(Sha32SelfTest(*ShaniSha32Kernels()));
  }
  EXPECT_TRUE(Sha32SelfTest(PortableSha32Kernels()));
  const char* sha64 = Avx512Sha64Kernels()  ? "avx512"
                      : Avx2Sha64Kernels()  ? "avx2"
                      : Ssse3Sha64Kernels() ? "ssse3"
                                            : "portable";
  EXPECT_STREQ(ChosenSha64Kernels().name, sha64);
  EXPECT_FALSE(ChosenSha64Kernels().passedOver);
  EXPECT_TRUE(Sha64SelfTest(PortableSha64Kernels()));
}

TEST(ShaKernels, SelfTestRejectsWrongKernels) {
  const Sha32Kernels& portable = PortableSha32Kernels();
  // One bit wrong in the result.
  const Sha32Transform flipsABit = [](uint32_t(&h)[8], const uint8_t* blocks, size_t count) {
    PortableSha32Kernels().sha256(h, blocks, count);
    h[7] ^= 1;
  };
  // Right for single blocks, wrong for runs: only the first block counts.
  const Sha32Transform firstBlockOnly = [](uint32_t(&h)[8], const uint8_t* blocks, size_t) {
    PortableSha32Kernels().sha1(h, blocks, 1);
  };
  EXPECT_FALSE(Sha32SelfTest({portable.sha1, flipsABit}));
  EXPECT_FALSE(Sha32SelfTest({firstBlockOnly, portable.sha256}));
  // The algorithms swapped.
  EXPECT_FALSE(Sha32SelfTest({portable.sha256, portable.sha1}));
}

using State64 = std::vector<uint64_t>;

State64 Transformed64(Sha64Transform transform, const uint64_t (&start)[8], const uint8_t* blocks,
                      size_t count) {
  uint64_t h[8];
  std::memcpy(h, start, sizeof h);
  transform(h, blocks, count);
  return State64(h, h + 8);
}

// The SHA-512 transforms: random states, runs of 0 to 9 random blocks at
// every alignment (odd runs leave a single block to the two-block kernel),
// and the FIPS 180-2 state of "abc".
void ExpectSha64Agrees(const Sha64Kernels& candidate) {
  const Sha64Kernels& portable = PortableSha64Kernels();
  std::mt19937_64 random(20261210);
  std::vector<uint8_t> bytes(128 * 9 + 16);
  for (int round = 0; round < 1000; ++round) {
    uint64_t start[8];
    for (uint64_t& word : start) word = random();
    for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
    const size_t count = round % 10;
    const uint8_t* blocks = bytes.data() + round % 16;
    ASSERT_EQ(Transformed64(candidate.sha512, start, blocks, count),
              Transformed64(portable.sha512, start, blocks, count))
        << "round " << round;
  }
  Sha64State sha512;
  Sha512Init(sha512);
  std::vector<uint8_t> abc(128, 0);
  abc[0] = 'a';
  abc[1] = 'b';
  abc[2] = 'c';
  abc[3] = 0x80;
  abc[127] = 24;
  EXPECT_EQ(
      Transformed64(candidate.sha512, sha512.h, abc.data(), 1),
      (State64{0xddaf35a193617aba, 0xcc417349ae204131, 0x12e6fa4e89a97ea2, 0x0a9eeee64b55d39a,
               0x2192992a274fc1a8, 0x36ba3c23a3feebbd, 0x454d4423643ce80e, 0x2a9ac94fa54ca49f}));
  EXPECT_TRUE(Sha64SelfTest(candidate));
}

TEST(ShaKernels, Sha512OnAvx2AgreesWithPortable) {
  const Sha64Kernels* avx2 = Avx2Sha64Kernels();
  if (!avx2) GTEST_SKIP() << "not 64-bit x86 with AVX2, BMI1 and BMI2";
  ExpectSha64Agrees(*avx2);
}

TEST(ShaKernels, Sha512OnAvx512AgreesWithPortable) {
  const Sha64Kernels* avx512 = Avx512Sha64Kernels();
  if (!avx512) GTEST_SKIP() << "this processor has no AVX-512 F/VL/BW with AVX2 (and BMI1, BMI2)";
  ExpectSha64Agrees(*avx512);
}

TEST(ShaKernels, Sha512OnSsse3AgreesWithPortable) {
  const Sha64Kernels* ssse3 = Ssse3Sha64Kernels();
  if (!ssse3) GTEST_SKIP() << "not 32-bit x86 with SSSE3";
  ExpectSha64Agrees(*ssse3);
}

// Long runs carry the schedule made ahead from pair to pair many times over,
// and an odd count ends on a pair of one block after such a pair: every
// vector variant the processor has against the portable kernel, at every
// count from 10 to 40 blocks.
TEST(ShaKernels, Sha512VariantsAgreeWithPortableOnLongRuns) {
  constexpr size_t kMostBlocks = 40;
  std::mt19937_64 random(20261209);
  std::vector<uint8_t> bytes(128 * kMostBlocks + 8);
  for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random());
  uint64_t start[8];
  for (uint64_t& word : start) word = random();
  for (const Sha64Kernels* variant :
       {Avx512Sha64Kernels(), Avx2Sha64Kernels(), Ssse3Sha64Kernels()}) {
    if (!variant) continue;
    for (size_t count = 10; count <= kMostBlocks; ++count) {
      const uint8_t* blocks = bytes.data() + count % 8;
      ASSERT_EQ(Transformed64(variant->sha512, start, blocks, count),
                Transformed64(PortableSha64Kernels().sha512, start, blocks, count))
          << "count " << count;
    }
  }
}

// The variants are offered exactly where the processor features read once
// have what they need.
TEST(ShaKernels, VariantsFollowTheProcessorFeatures) {
  const CpuFeatures& cpu = ProcessorFeatures();
  EXPECT_EQ(ShaniSha32Kernels() != nullptr, cpu.sha && cpu.ssse3 && cpu.sse41);
#if defined(__x86_64__)
  EXPECT_EQ(Avx512Sha64Kernels() != nullptr, cpu.avx512 && cpu.avx2 && cpu.bmi1 && cpu.bmi2);
#elif defined(__i386__)
  EXPECT_EQ(Avx512Sha64Kernels() != nullptr, cpu.avx512 && cpu.avx2);
#else
  EXPECT_EQ(Avx512Sha64Kernels(), nullptr);
#endif
}

TEST(ShaKernels, Sha64SelfTestRejectsWrongKernels) {
  // Right for single blocks, wrong for runs of two.
  const Sha64Transform pairsWrong = [](uint64_t(&h)[8], const uint8_t* blocks, size_t count) {
    PortableSha64Kernels().sha512(h, blocks, count);
    if (count >= 2) h[0] ^= 1;
  };
  EXPECT_FALSE(Sha64SelfTest({pairsWrong}));
}

}  // namespace
}  // namespace quillet
