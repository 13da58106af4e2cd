// The Tiger, HAVAL and GOST R 34.11-94 families on their own: published values
// and this system's texts, padding boundaries, results that must not depend on
// how the input is split, and the details the texts rest on (Tiger's prefixes,
// HAVAL's padding byte and pass clamping, GOST's control-sum carries). Values
// marked as the peer's were computed with an independent library.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "hash/Gost.h"
#include "hash/HAVAL.h"
#include "hash/Tiger.h"

namespace quillet {
namespace {

// Lengths of consecutive updates; what they leave of the message goes in one
// last update.
using Pieces = std::vector<size_t>;

// Calls update for each piece; an empty piece passes a null pointer.
template <typename Update>
void Feed(const std::string& message, const Pieces& pieces, Update update) {
  const auto* data = reinterpret_cast<const uint8_t*>(message.data());
  size_t offset = 0;
  for (size_t piece : pieces) {
    piece = std::min(piece, message.size() - offset);
    update(piece == 0 ? nullptr : data + offset, piece);
    offset += piece;
  }
  update(message.size() == offset ? nullptr : data + offset, message.size() - offset);
}

std::string Tiger(const std::string& message, uint32_t bits, const Pieces& pieces = {}) {
  TigerState state;
  TigerInit(state);
  Feed(message, pieces,
       [&](const uint8_t* data, size_t length) { TigerUpdate(state, data, length, 3); });
  std::string hex = "left over";
  TigerFinal(state, bits, 3, hex);
  return hex;
}

std::string Haval(const std::string& message, uint32_t bits, uint8_t padding = 0x80,
                  int32_t passes = 3, const Pieces& pieces = {}) {
  HavalState state;
  HavalInit(state);
  Feed(message, pieces,
       [&](const uint8_t* data, size_t length) { HavalUpdate(state, data, length, passes); });
  std::string hex = "left over";
  HavalFinalPadded(state, passes, bits, padding, hex);
  return hex;
}

std::string Gost(const std::string& message, const Pieces& pieces = {}) {
  GostState state;
  GostInit(state);
  Feed(message, pieces,
       [&](const uint8_t* data, size_t length) { GostUpdate(state, data, length); });
  std::string hex = "left over";
  GostFinal(state, hex);
  return hex;
}

// Bytes that are neither text nor one repeated value.
std::string Pattern(size_t length) {
  std::string message(length, '\0');
  for (size_t i = 0; i < length; ++i) message[i] = static_cast<char>(i * 7 + 3);
  return message;
}

std::string Random(std::mt19937& random, size_t length) {
  std::string message(length, '\0');
  for (char& byte : message) byte = static_cast<char>(random());
  return message;
}

// Up to eight pieces, empty ones among them, mostly short so that block
// boundaries fall inside pieces as well as between them.
Pieces RandomPieces(std::mt19937& random, size_t length) {
  Pieces pieces(random() % 9);
  for (size_t& piece : pieces) {
    piece = random() % 3 == 0 ? 0 : random() % (random() % 2 == 0 ? 70 : length + 1);
  }
  return pieces;
}

TEST(Tiger, StatedValues) {
  EXPECT_EQ(Tiger("", 192), "24f0130c63ac933216166e76b1bb925ff373de2d49584e7a");
  EXPECT_EQ(Tiger("abc", 192), "f258c1e88414ab2a527ab541ffc5b8bf935f7b951c132951");
  EXPECT_EQ(Tiger("abc", 160), "f258c1e88414ab2a527ab541ffc5b8bf935f7b95");
  EXPECT_EQ(Tiger("abc", 128), "f258c1e88414ab2a527ab541ffc5b8bf");
}

// The reference implementation prints its results word by word, as we do.
TEST(Tiger, ReferenceValues) {
  EXPECT_EQ(Tiger("Tiger", 192), "9f00f599072300dd276abb38c8eb6dec37790c116f9d2bdf");
  EXPECT_EQ(Tiger("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+-", 192),
            "87fb2a9083851cf7470d2cf810e6df9eb586445034a5a386");
  EXPECT_EQ(Tiger("Tiger - A Fast New Hash Function, by Ross Anderson and Eli Biham, "
                  "proceedings of Fast Software Encryption 3, Cambridge, 1996.",
                  192),
            "3d9aeb03d1bd1a6357b2774dfd6d5b24dd68151d503974fc");
  EXPECT_EQ(Tiger(std::string(1000000, 'a'), 192),
            "93adbe9c72e2b06de90263d3a7c615d7414b31bcd2e0ceb3");
}

// Reading each 16-digit group backwards, byte by byte, gives the digest in the
// byte order of the published definition.
TEST(Tiger, GroupsAreTheDigestWordsAsNumbers) {
  const std::string text = Tiger("abc", 192);
  std::string bytes;
  for (size_t group = 0; group < 48; group += 16) {
    for (size_t digit = group + 16; digit > group; digit -= 2) bytes += text.substr(digit - 2, 2);
  }
  EXPECT_EQ(bytes, "2aab1484e8c158f2bfb8c5ff41b57a525129131c957b5f93");
}

TEST(Tiger, PaddingTakesASecondBlockFrom56Bytes) {
  // The peer's values.
  EXPECT_EQ(Tiger(Pattern(55), 192), "bd9422db75ebe52aa2c5008a79e2d837a6b300cafb470143");
  EXPECT_EQ(Tiger(Pattern(56), 192), "a325b26df1517d78968a7de94879b12bfd9d4a419153c815");
  EXPECT_EQ(Tiger(std::string(63, 'a'), 192), "8ee409a14e6066933b63d5b2abca63d71a78f55e29eb4649");
  EXPECT_EQ(Tiger(std::string(64, 'a'), 192), "ed92eabb13f303756843cc3f5d0ca9dc6eb76f36df577423");
}

TEST(Tiger, ShorterTextsArePrefixesOfTheLongest) {
  std::mt19937 random(7);
  for (size_t length : {0, 1, 55, 56, 64, 100, 1000}) {
    const std::string message = Random(random, length);
    const std::string full = Tiger(message, 192);
    ASSERT_EQ(full.size(), 48u);
    EXPECT_EQ(Tiger(message, 160), full.substr(0, 40));
    EXPECT_EQ(Tiger(message, 128), full.substr(0, 32));
  }
}

// A 32-bit counter of message bits would wrap at 512 MiB; the finalisation must
// see the whole 64-bit length (the peer tests compare such an input).
TEST(Tiger, TheLengthTailCarriesMoreThan32Bits) {
  TigerState wrapped;
  TigerInit(wrapped);
  wrapped.length = uint64_t{1} << 29;
  std::string wrappedHex;
  TigerFinal(wrapped, 192, 3, wrappedHex);
  EXPECT_NE(wrappedHex, Tiger("", 192));
}

TEST(Haval, StatedValues) {
  EXPECT_EQ(Haval("", 128), "1bdc556b29ad02ec09af8c66477f2a87");
  EXPECT_EQ(Haval("", 256), "839786ac4f89ee6ae87f2065ac681097d7276a9903b7e972e992566d0de38e0c");
  EXPECT_EQ(Haval("abc", 128), "c79c31129c3fe87e506b46c6913c52ac");
  for (uint32_t bits : {128u, 160u, 192u, 224u, 256u}) {
    EXPECT_EQ(Haval("abc", bits).size(), bits / 4);
  }
}

TEST(Haval, TheEngineEntryPadsWith0x80) {
  HavalState state;
  HavalInit(state);
  HavalUpdate(state, reinterpret_cast<const uint8_t*>("abc"), 3, 3);
  std::string hex;
  HavalFinal(state, 3, 128, hex);
  EXPECT_EQ(hex, Haval("abc", 128, 0x80));
  EXPECT_NE(hex, Haval("abc", 128, 0x01));
}

// With 0x01 the same steps give the published HAVAL: the empty message at all
// five sizes, the reference's certification values for 4 and 5 passes, and
// the peer's values for "abc".
TEST(Haval, Padding0x01GivesThePublishedValues) {
  EXPECT_EQ(Haval("", 128, 0x01), "c68f39913f901f3ddf44c707357a7d70");
  EXPECT_EQ(Haval("", 160, 0x01), "d353c3ae22a25401d257643836d7231a9a95f953");
  EXPECT_EQ(Haval("", 192, 0x01), "e9c48d7903eaf2a91c5b350151efcb175c0fc82de2289a4e");
  EXPECT_EQ(Haval("", 224, 0x01), "c5aae9d47bffcaaf84a8c6e7ccacd60a0dd1932be7b1a192b9214b6d");
  EXPECT_EQ(Haval("", 256, 0x01),
            "4f6938531f0bc8991f62da7bbd6f7de3fad44562b8c6f4ebf146d5b4e46f7c17");
  EXPECT_EQ(Haval("a", 160, 0x01), "4da08f514a7275dbc4cece4a347385983983a830");
  EXPECT_EQ(Haval("abc", 128, 0x01), "9e40ed883fb63e985d299b40cda2b8f2");
  EXPECT_EQ(Haval("abc", 224, 0x01), "5bc955220ba2346a948d2848eca37bdd5eca6ecca7b594bd32923fab");
  EXPECT_EQ(Haval("HAVAL", 192, 0x01, 4), "0c1396d7772689c46773f3daaca4efa982adbfb2f1467eea");
  EXPECT_EQ(Haval("0123456789", 224, 0x01, 4),
            "bebd7816f09baeecf8903b1b9bc672d9fa428e462ba699f814841529");
  EXPECT_EQ(Haval("abcdefghijklmnopqrstuvwxyz", 256, 0x01, 5),
            "c9c7d8afa159fd9e965cb83ff5ee6f58aeda352c0eff005548153a61551c38ee");
  EXPECT_EQ(Haval("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", 256, 0x01, 5),
            "b45cb6e62f2b1320e4f8f1b0b273d45add47c321fd23999dcf403ac37636d963");
}

// From 118 bytes on, padding and tail need a second block (the peer's values).
TEST(Haval, PaddingTakesASecondBlockFrom118Bytes) {
  const std::string m117 = Pattern(117), m118 = Pattern(118);
  EXPECT_EQ(Haval(m117, 128, 0x01), "ccecbc73e1dfe7d8ccd03781ba50086f");
  EXPECT_EQ(Haval(m117, 160, 0x01), "594373891eb80ae87f8aed80429bdbfdc211c2ce");
  EXPECT_EQ(Haval(m117, 192, 0x01), "98ea8038e13e92ed4016831d77f15527d52d1338234219bf");
  EXPECT_EQ(Haval(m117, 224, 0x01), "5f89bd831a41b88117cf82ae10d87072adbac3065031c381183f8eb2");
  EXPECT_EQ(Haval(m117, 256, 0x01),
            "067d1ec51e855c3a7f50de75b9e18e95aa6ea8dba863e1a8b3d91e27630eb129");
  EXPECT_EQ(Haval(m118, 128, 0x01), "9f6036b405fbe595c812446224b7d067");
  EXPECT_EQ(Haval(m118, 160, 0x01), "6308af43059ae0eb87560f1f60b48e56a3a4912f");
  EXPECT_EQ(Haval(m118, 192, 0x01), "7bf561a956dd31ef76782600a9b53e77ca7b57455b8c1085");
  EXPECT_EQ(Haval(m118, 224, 0x01), "6efe018521363ccf46f48e6c21498d08406acd047d00cdbffdec8af5");
  EXPECT_EQ(Haval(m118, 256, 0x01),
            "6847c32992a37f41a8c6b87e823f75c3c977cfd662027d8627f917051351ed0c");
}

TEST(Haval, PassesOutsideThreeToFiveAreClamped) {
  const std::string message = Pattern(150);
  for (uint32_t bits : {128u, 256u}) {
    EXPECT_EQ(Haval(message, bits, 0x80, 0), Haval(message, bits, 0x80, 3));
    EXPECT_EQ(Haval(message, bits, 0x80, -7), Haval(message, bits, 0x80, 3));
    EXPECT_EQ(Haval(message, bits, 0x80, 6), Haval(message, bits, 0x80, 5));
    EXPECT_EQ(Haval(message, bits, 0x80, 1000), Haval(message, bits, 0x80, 5));
    EXPECT_NE(Haval(message, bits, 0x80, 4), Haval(message, bits, 0x80, 3));
    EXPECT_NE(Haval(message, bits, 0x80, 4), Haval(message, bits, 0x80, 5));
  }
}

TEST(Haval, TheFinalisationClearsTheState) {
  HavalState state;
  HavalInit(state);
  HavalUpdate(state, reinterpret_cast<const uint8_t*>("abc"), 3, 3);
  std::string hex;
  HavalFinal(state, 3, 256, hex);
  const HavalState cleared{};
  EXPECT_EQ(state.count, 0u);
  EXPECT_TRUE(std::equal(std::begin(state.fingerprint), std::end(state.fingerprint),
                         std::begin(cleared.fingerprint)));
}

TEST(Gost, StatedValues) {
  EXPECT_EQ(Gost(""), "ce85b99cc46752fffee35cab9a7b0278abb4c2d2055cff685af4912c49490f8d");
  EXPECT_EQ(Gost("abc"), "f3134348c44fb1b2a277729e2285ebb5cb5e0f29c975bc753b70497c06a4d51d");
}

// The example calculations of the standard (test parameter set) and further
// published values.
TEST(Gost, PublishedValues) {
  EXPECT_EQ(Gost("This is message, length=32 bytes"),
            "b1c466d37519b82e8319819ff32595e047a28cb6f83eff1c6916a815a637fffa");
  EXPECT_EQ(Gost("Suppose the original message has length = 50 bytes"),
            "471aba57a60a770d3a76130635c1fbea4ef14de51f78b4ae57dd893b62f55208");
  EXPECT_EQ(Gost("a"), "d42c539e367c66e9c88a801f6649349c21871b4344c6a573f849fdce62f314dd");
  EXPECT_EQ(Gost("message digest"),
            "ad4434ecb18f2c99b60cbe59ec3d2469582b65273f48de72db2fde16a4889a4d");
  EXPECT_EQ(Gost("The quick brown fox jumps over the lazy dog"),
            "77b7fa410c9ac58a25f49bca7d0468c9296529315eaca76bd1a10f376d1f4294");
  EXPECT_EQ(Gost(std::string(1000000, 'a')),
            "5c00ccc2734cdd3332d3d4749576e3c1a7dbaf0e7ea74e9fa602413c90a129fa");
}

// 32 bytes are one full block and no padded one; 33 add a one-byte block; 64
// are two full blocks (the peer's values).
TEST(Gost, BlockBoundaries) {
  EXPECT_EQ(Gost(Pattern(31)), "a1560bede0c43379eb881b25d2f653871b73cbef021c3c884c1218f8cddf5f61");
  EXPECT_EQ(Gost(Pattern(32)), "1ed2cea47a3d011ae7caf0b4775a8bab3bbcebb502f3b82fe25f65ebc1c19e90");
  EXPECT_EQ(Gost(Pattern(33)), "99e401b13ad01260a8cf160546d2243008013f73b7185e987729145f227ec000");
  EXPECT_EQ(Gost(Pattern(64)), "89d6a3abb22ee423fd742cadec06130933693dd0ff908fa0f46761622d5c3798");
  EXPECT_EQ(Gost(Pattern(65)), "f3979c4691c917632533d3b8baebf0f195aca42442b06aeeb064847d70b96e3c");
}

TEST(Gost, TheControlSumCarriesThroughItsWords) {
  GostState state;
  GostInit(state);
  state.sum[0] = ~uint64_t{0};
  state.sum[1] = ~uint64_t{0};
  uint8_t block[32] = {1};
  GostUpdate(state, block, sizeof block);
  EXPECT_EQ(state.sum[0], 0u);
  EXPECT_EQ(state.sum[1], 0u);
  EXPECT_EQ(state.sum[2], 1u);
  EXPECT_EQ(state.sum[3], 0u);

  // Four blocks of 0x55 make a control-sum word 0xFFFFFFFF... that then takes a
  // carry: a published value.
  EXPECT_EQ(Gost(std::string(128, 'U')),
            "53a3a3ed25180cef0c1d85a074273e551c25660a87062a52d926a9e8fe5733a4");
  EXPECT_EQ(Gost(std::string(64, '\xFF')),
            "13416c4ec74a63c3ec90cb1748fd462c7572c6c6b41844e48cc1184d1e916098");
}

TEST(HashFamilies, AnySplitOfTheInputGivesTheSameResult) {
  std::mt19937 random(2024);
  for (int round = 0; round < 400; ++round) {
    const size_t length = round < 300 ? round : random() % 5000;
    const std::string message = Random(random, length);
    const Pieces pieces = RandomPieces(random, length);
    SCOPED_TRACE(testing::Message() << "length " << length << ", " << pieces.size() << " pieces");
    EXPECT_EQ(Tiger(message, 192, pieces), Tiger(message, 192));
    EXPECT_EQ(Gost(message, pieces), Gost(message));
    const int32_t passes = 3 + round % 3;
    const uint32_t bits = 128 + 32 * (round % 5);
    EXPECT_EQ(Haval(message, bits, 0x80, passes, pieces), Haval(message, bits, 0x80, passes));
  }
}

TEST(HashFamilies, EmptyUpdatesChangeNothing) {
  const std::string message = Pattern(100);
  const Pieces empties = {0, 0, 40, 0, 0, 60, 0};
  EXPECT_EQ(Tiger(message, 192, empties), Tiger(message, 192));
  EXPECT_EQ(Gost(message, empties), Gost(message));
  EXPECT_EQ(Haval(message, 256, 0x80, 3, empties), Haval(message, 256));
  EXPECT_EQ(Tiger("", 192, {0, 0}), "24f0130c63ac933216166e76b1bb925ff373de2d49584e7a");
}

}  // namespace
}  // namespace quillet
