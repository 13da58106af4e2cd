// Adler-32. Both sums are only ever needed modulo 65521, so they are reduced
// once per chunk instead of once per byte; within a chunk sixteen lanes add
// independently, which lets the compiler use vector adds. Processors with
// SSSE3 or AVX2 take the vector kernels of Adler_x86.h instead.
#include "hash/Adler.h"

#include <array>
#include <vector>

#include "hash/Adler_x86.h"
#include "hash/CryptoUtils.h"

namespace quillet {
namespace {

constexpr uint32_t kModulus = kAdlerModulus;
constexpr size_t kLanes = 16;
// Groups per chunk: a lane's running sum of sums stays below
// 255 * n * (n + 1) / 2, which must fit in 32 bits.
constexpr size_t kGroupsPerChunk = 4096;
static_assert(255ull * kGroupsPerChunk * (kGroupsPerChunk + 1) / 2 < (1ull << 32));

// Adds n whole groups of kLanes bytes to s1 and s2 (both reduced).
void AddGroups(uint32_t& s1, uint32_t& s2, const uint8_t* data, size_t n) {
  // sums[j]: total of the bytes at lane j; nested[j]: the total of sums[j]
  // after each group, i.e. each byte weighted by the groups from it to the end.
  uint32_t sums[kLanes] = {};
  uint32_t nested[kLanes] = {};
  for (size_t g = 0; g < n; ++g, data += kLanes) {
    // Kept as a loop so that it becomes vector adds rather than 32 scalars.
#pragma GCC unroll 1
    for (size_t j = 0; j < kLanes; ++j) {
      sums[j] += data[j];
      nested[j] += sums[j];
    }
  }
  // Byte j of group g is followed by (n - g) * kLanes - j additions to s2.
  uint64_t total = 0, weighted = 0;
  for (size_t j = 0; j < kLanes; ++j) {
    total += sums[j];
    weighted += kLanes * uint64_t{nested[j]} - j * uint64_t{sums[j]};
  }
  const uint64_t bytes = uint64_t{n} * kLanes;
  s2 = static_cast<uint32_t>((s2 + bytes % kModulus * s1 + weighted) % kModulus);
  s1 = static_cast<uint32_t>((s1 + total) % kModulus);
}

void PortableUpdate(uint32_t& adler, const uint8_t* data, size_t length) {
  uint32_t s1 = adler & 0xFFFF, s2 = adler >> 16;
  while (length >= kLanes) {
    const size_t groups = length / kLanes < kGroupsPerChunk ? length / kLanes : kGroupsPerChunk;
    AddGroups(s1, s2, data, groups);
    data += groups * kLanes;
    length -= groups * kLanes;
  }
  for (; length > 0; --length, ++data) {
    s1 += *data;
    if (s1 >= kModulus) s1 -= kModulus;
    s2 += s1;
    if (s2 >= kModulus) s2 -= kModulus;
  }
  adler = (s2 << 16) | s1;
}

constexpr AdlerKernels kPortable = {PortableUpdate};

constexpr std::array<KernelVariant<AdlerKernels>, 2> kVariants = {{
    {"avx2", Avx2AdlerKernels},
    {"ssse3", Ssse3AdlerKernels},
}};

bool AgreesOn(const AdlerKernels& candidate, const uint8_t* data, size_t length, uint32_t start) {
  uint32_t expected = start, actual = start;
  kPortable.update(expected, data, length);
  candidate.update(actual, data, length);
  return expected == actual;
}

}  // namespace

const AdlerKernels& PortableAdlerKernels() {
  return kPortable;
}

bool AdlerSelfTest(const AdlerKernels& candidate) {
  constexpr size_t kOffsets = 16;
  for (size_t length = 0; length + kOffsets <= kSelfTestBytes; length += 1 + length / 4) {
    // Starting sums near the modulus, so that the first additions wrap.
    const uint32_t start = (kModulus - 1 - length % 7) << 16 | (kModulus - 1 - length % 5);
    for (size_t offset = 0; offset < kOffsets; offset += 5)
      if (!AgreesOn(candidate, kSelfTestData.data() + offset, length, start)) return false;
  }
  // A run of 0xFF longer than the longest chunk the kernels sum before
  // reducing.
  const std::vector<uint8_t> ones(3 * 65536 + 77, 0xFF);
  return AgreesOn(candidate, ones.data(), ones.size(), (kModulus - 1) << 16 | (kModulus - 1));
}

const KernelChoice<AdlerKernels>& ChosenAdlerKernels() {
  static const KernelChoice<AdlerKernels> choice =
      ChooseKernels(kPortable, kVariants, AdlerSelfTest);
  return choice;
}

void AdlerInit(uint32_t& adler) {
  adler = 1;
}

void AdlerUpdate(uint32_t& adler, const uint8_t* data, size_t length) {
  ChosenAdlerKernels().kernels->update(adler, data, length);
}

void AdlerFinal(uint32_t& adler, std::string& hex) {
  hex.clear();
  AppendValueHex(hex, 8, adler);
}

}  // namespace quillet
