// Tiger, HAVAL and GOST R 34.11-94 against installed libraries. mhash serves
// all three: its Tiger and GOST texts are ours, and its HAVAL is the published
// one, which our finalisation gives with the padding byte 0x01. rhash serves
// Tiger in the byte order of the definition and GOST on long inputs, because
// mhash's GOST goes wrong there: it loses the carry into a control-sum word
// that is all ones (128 bytes of 'U'), and every input from 8161 bytes on.
#include <gtest/gtest.h>
#include <mhash.h>
#include <rhash.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "hash/Gost.h"
#include "hash/HAVAL.h"
#include "hash/Tiger.h"

namespace quillet {
namespace {

using Pieces = std::vector<size_t>;

// Calls feed for consecutive pieces of message; the last takes what is left.
template <typename Feed>
void InPieces(const std::string& message, const Pieces& pieces, Feed feed) {
  const auto* data = reinterpret_cast<const uint8_t*>(message.data());
  size_t offset = 0;
  for (size_t piece : pieces) {
    piece = std::min(piece, message.size() - offset);
    feed(data + offset, piece);
    offset += piece;
  }
  feed(data + offset, message.size() - offset);
}

Pieces RandomPieces(std::mt19937& random, size_t length) {
  Pieces pieces(random() % 7);
  for (size_t& piece : pieces) piece = random() % (random() % 2 == 0 ? 200 : length + 1);
  return pieces;
}

std::string Random(std::mt19937& random, size_t length) {
  std::string message(length, '\0');
  for (char& byte : message) byte = static_cast<char>(random());
  return message;
}

std::string Hex(const unsigned char* bytes, size_t count) {
  std::string hex;
  char digits[3];
  for (size_t i = 0; i < count; ++i) {
    std::snprintf(digits, sizeof digits, "%02x", bytes[i]);
    hex += digits;
  }
  return hex;
}

std::string Mhash(hashid algorithm, const std::string& message, const Pieces& pieces) {
  MHASH context = mhash_init(algorithm);
  InPieces(message, pieces,
           [&](const uint8_t* data, size_t length) { mhash(context, data, length); });
  auto* digest = static_cast<unsigned char*>(mhash_end(context));
  const std::string hex = Hex(digest, mhash_get_block_size(algorithm));
  std::free(digest);
  return hex;
}

std::string Rhash(unsigned algorithm, const std::string& message, const Pieces& pieces = {}) {
  rhash context = rhash_init(algorithm);
  InPieces(message, pieces,
           [&](const uint8_t* data, size_t length) { rhash_update(context, data, length); });
  unsigned char digest[64];
  rhash_final(context, digest);
  rhash_free(context);
  return Hex(digest, rhash_get_digest_size(algorithm));
}

std::string Tiger(const std::string& message, uint32_t bits, const Pieces& pieces) {
  TigerState state;
  TigerInit(state);
  InPieces(message, pieces,
           [&](const uint8_t* data, size_t length) { TigerUpdate(state, data, length, 3); });
  std::string hex;
  TigerFinal(state, bits, 3, hex);
  return hex;
}

std::string Haval(const std::string& message, uint32_t bits, uint8_t padding,
                  const Pieces& pieces) {
  HavalState state;
  HavalInit(state);
  InPieces(message, pieces,
           [&](const uint8_t* data, size_t length) { HavalUpdate(state, data, length, 3); });
  std::string hex;
  HavalFinalPadded(state, 3, bits, padding, hex);
  return hex;
}

std::string Gost(const std::string& message, const Pieces& pieces) {
  GostState state;
  GostInit(state);
  InPieces(message, pieces,
           [&](const uint8_t* data, size_t length) { GostUpdate(state, data, length); });
  std::string hex;
  GostFinal(state, hex);
  return hex;
}

// Our Tiger text with the bytes of each 64-bit group reversed.
std::string ByteOrder(const std::string& tigerText) {
  std::string bytes;
  for (size_t group = 0; group < tigerText.size(); group += 16) {
    for (size_t digit = group + 16; digit > group; digit -= 2) {
      bytes += tigerText.substr(digit - 2, 2);
    }
  }
  return bytes;
}

struct HavalSize {
  uint32_t bits;
  hashid peer;
};
constexpr HavalSize kHavalSizes[] = {{128, MHASH_HAVAL128},
                                     {160, MHASH_HAVAL160},
                                     {192, MHASH_HAVAL192},
                                     {224, MHASH_HAVAL224},
                                     {256, MHASH_HAVAL256}};

class FamiliesPeers : public testing::Test {
 protected:
  static void SetUpTestSuite() { rhash_library_init(); }
};

TEST_F(FamiliesPeers, TigerAgreesForEveryLengthUpTo1100) {
  std::mt19937 random(11);
  for (size_t length = 0; length <= 1100; ++length) {
    const std::string message = Random(random, length);
    const Pieces ours = RandomPieces(random, length), theirs = RandomPieces(random, length);
    SCOPED_TRACE(length);
    const std::string full = Tiger(message, 192, ours);
    ASSERT_EQ(full, Mhash(MHASH_TIGER192, message, theirs));
    ASSERT_EQ(Tiger(message, 160, theirs), Mhash(MHASH_TIGER160, message, ours));
    ASSERT_EQ(Tiger(message, 128, ours), Mhash(MHASH_TIGER128, message, theirs));
    ASSERT_EQ(ByteOrder(full), Rhash(RHASH_TIGER, message, theirs));
  }
}

TEST_F(FamiliesPeers, HavalWithPadding0x01AgreesAtAllSizesForEveryLengthUpTo1100) {
  std::mt19937 random(12);
  for (size_t length = 0; length <= 1100; ++length) {
    const std::string message = Random(random, length);
    SCOPED_TRACE(length);
    for (const HavalSize& size : kHavalSizes) {
      ASSERT_EQ(Haval(message, size.bits, 0x01, RandomPieces(random, length)),
                Mhash(size.peer, message, RandomPieces(random, length)))
          << size.bits << " bits";
    }
  }
}

TEST_F(FamiliesPeers, GostAgreesForEveryLengthUpTo1100) {
  std::mt19937 random(13);
  for (size_t length = 0; length <= 1100; ++length) {
    const std::string message = Random(random, length);
    SCOPED_TRACE(length);
    const std::string ours = Gost(message, RandomPieces(random, length));
    ASSERT_EQ(ours, Rhash(RHASH_GOST94, message, RandomPieces(random, length)));
    ASSERT_EQ(ours, Mhash(MHASH_GOST, message, RandomPieces(random, length)));
  }
}

TEST_F(FamiliesPeers, InputsOfSeveralMebibytesInRandomPieces) {
  std::mt19937 random(14);
  for (size_t length : {(2u << 20) + 1, (3u << 20) + 77, (5u << 20) - 13}) {
    const std::string message = Random(random, length);
    const Pieces pieces = RandomPieces(random, length);
    SCOPED_TRACE(length);
    const std::string tiger = Tiger(message, 192, pieces);
    EXPECT_EQ(tiger, Mhash(MHASH_TIGER192, message, {}));
    EXPECT_EQ(ByteOrder(tiger), Rhash(RHASH_TIGER, message));
    EXPECT_EQ(Gost(message, pieces), Rhash(RHASH_GOST94, message));
    EXPECT_EQ(Haval(message, 256, 0x01, pieces), Mhash(MHASH_HAVAL256, message, {}));
    EXPECT_EQ(Haval(message, 160, 0x01, pieces), Mhash(MHASH_HAVAL160, message, {}));
  }
}

// 2^32 message bits and more: a 32-bit bit counter would wrap here.
TEST_F(FamiliesPeers, TigerCountsTheLengthOfHalfAGibibyteAndMore) {
  std::mt19937 random(15);
  const std::string chunk = Random(random, 1u << 20);
  const auto* data = reinterpret_cast<const uint8_t*>(chunk.data());
  TigerState state;
  TigerInit(state);
  rhash peer = rhash_init(RHASH_TIGER);
  for (int i = 0; i < 512; ++i) {
    TigerUpdate(state, data, chunk.size(), 3);
    rhash_update(peer, data, chunk.size());
  }
  TigerUpdate(state, data, 1001, 3);
  rhash_update(peer, data, 1001);
  std::string ours;
  TigerFinal(state, 192, 3, ours);
  unsigned char digest[24];
  rhash_final(peer, digest);
  rhash_free(peer);
  EXPECT_EQ(ByteOrder(ours), Hex(digest, sizeof digest));
}

}  // namespace
}  // namespace quillet
