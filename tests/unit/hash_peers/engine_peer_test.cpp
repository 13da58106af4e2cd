// The engine's MD, SHA, RIPEMD and checksum families against installed
// libraries: random inputs of every length up to 1100 bytes and a few of
// several MiB, fed to the engine in random splits.
#include <gtest/gtest.h>
#include <mhash.h>
#include <openssl/evp.h>
#include <zlib.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "hash/HashEngine.h"

namespace quillet {
namespace {

std::string Hex(const unsigned char* bytes, size_t size) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (size_t i = 0; i < size; ++i) {
    hex += kDigits[bytes[i] >> 4];
    hex += kDigits[bytes[i] & 0xF];
  }
  return hex;
}

std::string RandomBytes(std::mt19937_64& random, size_t length) {
  std::string bytes(length, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  return bytes;
}

// The engine fed in random pieces: mostly small, sometimes empty, sometimes large.
std::string EngineInPieces(uint32_t algorithm, const std::string& data, std::mt19937_64& random) {
  HashContext context;
  EXPECT_EQ(HashInit(&context, algorithm), heNone);
  const size_t largest = std::max<size_t>(data.size() / 3, 2);
  size_t at = 0;
  while (at < data.size()) {
    size_t piece;
    switch (random() % 4) {
      case 0:
        piece = random() % 4;
        break;
      case 1:
        piece = random() % 130;
        break;
      default:
        piece = random() % largest;
        break;
    }
    piece = std::min(piece, data.size() - at);
    EXPECT_EQ(HashFeed(&context, data.data() + at, piece), heNone);
    at += piece;
  }
  std::string hex;
  EXPECT_EQ(HashFinal(&context, hex), heNone);
  return hex;
}

struct MhashPeer {
  uint32_t algorithm;
  hashid peer;
  bool reversed;  // the peer's bytes come in the opposite order
};

const MhashPeer kMhashPeers[] = {
    {htMD2, MHASH_MD2, false},
    {htMD4, MHASH_MD4, false},
    {htMD5, MHASH_MD5, false},
    {htCRC32, MHASH_CRC32, false},
    {htCRC32B, MHASH_CRC32B, false},
    {htAdler32, MHASH_ADLER32, true},
    {htSHA1, MHASH_SHA1, false},
    {htSHA256, MHASH_SHA256, false},
    {htSHA384, MHASH_SHA384, false},
    {htSHA512, MHASH_SHA512, false},
    {htRIPEMD128, MHASH_RIPEMD128, false},
    {htRIPEMD160, MHASH_RIPEMD160, false},
};

std::string Mhash(const MhashPeer& peer, const std::string& data) {
  MHASH td = mhash_init(peer.peer);
  EXPECT_NE(td, MHASH_FAILED);
  mhash(td, data.data(), static_cast<mutils_word32>(data.size()));
  auto* digest = static_cast<unsigned char*>(mhash_end(td));
  std::vector<unsigned char> bytes(digest, digest + mhash_get_block_size(peer.peer));
  mhash_free(digest);
  if (peer.reversed) std::reverse(bytes.begin(), bytes.end());
  return Hex(bytes.data(), bytes.size());
}

struct OpensslPeer {
  uint32_t algorithm;
  const char* name;
};

const OpensslPeer kOpensslPeers[] = {{htMD5, "MD5"},       {htSHA1, "SHA1"},
                                     {htSHA256, "SHA256"}, {htSHA384, "SHA384"},
                                     {htSHA512, "SHA512"}, {htRIPEMD160, "RIPEMD160"}};

// OpenSSL's digest of count repetitions of data.
std::string Openssl(const char* name, const std::string& data, uint64_t count = 1) {
  EVP_MD* md = EVP_MD_fetch(nullptr, name, nullptr);
  EXPECT_NE(md, nullptr) << name;
  if (!md) return {};
  EVP_MD_CTX* ctx = EVP_MD_CTX_new();
  EVP_DigestInit_ex(ctx, md, nullptr);
  for (uint64_t i = 0; i < count; ++i) EVP_DigestUpdate(ctx, data.data(), data.size());
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_DigestFinal_ex(ctx, digest, &size);
  EVP_MD_CTX_free(ctx);
  EVP_MD_free(md);
  return Hex(digest, size);
}

// The CRC text shows the checksum's bytes least significant first, Adler-32 most significant first.
std::string ZlibCrc(const std::string& data) {
  const uLong crc =
      crc32_z(crc32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(data.data()), data.size());
  const unsigned char bytes[4] = {
      static_cast<unsigned char>(crc), static_cast<unsigned char>(crc >> 8),
      static_cast<unsigned char>(crc >> 16), static_cast<unsigned char>(crc >> 24)};
  return Hex(bytes, 4);
}

std::string ZlibAdler(const std::string& data) {
  const uLong adler =
      adler32_z(adler32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(data.data()), data.size());
  const unsigned char bytes[4] = {
      static_cast<unsigned char>(adler >> 24), static_cast<unsigned char>(adler >> 16),
      static_cast<unsigned char>(adler >> 8), static_cast<unsigned char>(adler)};
  return Hex(bytes, 4);
}

TEST(EnginePeers, EveryLengthUpTo1100MatchesMhash) {
  std::mt19937_64 random(11);
  for (const MhashPeer& peer : kMhashPeers) {
    for (size_t length = 0; length <= 1100; ++length) {
      const std::string data = RandomBytes(random, length);
      ASSERT_EQ(EngineInPieces(peer.algorithm, data, random), Mhash(peer, data))
          << std::hex << peer.algorithm << std::dec << " length " << length;
    }
  }
}

TEST(EnginePeers, EveryLengthUpTo1100MatchesOpensslAndZlib) {
  std::mt19937_64 random(12);
  for (size_t length = 0; length <= 1100; ++length) {
    const std::string data = RandomBytes(random, length);
    for (const OpensslPeer& peer : kOpensslPeers)
      ASSERT_EQ(EngineInPieces(peer.algorithm, data, random), Openssl(peer.name, data))
          << peer.name << " length " << length;
    ASSERT_EQ(EngineInPieces(htCRC32B, data, random), ZlibCrc(data)) << length;
    ASSERT_EQ(EngineInPieces(htAdler32, data, random), ZlibAdler(data)) << length;
  }
}

TEST(EnginePeers, SeveralMebibytesMatchEveryPeer) {
  std::mt19937_64 random(13);
  for (size_t length : {(3u << 20) + 1, (5u << 20) + 77}) {
    const std::string data = RandomBytes(random, length);
    for (const MhashPeer& peer : kMhashPeers)
      EXPECT_EQ(EngineInPieces(peer.algorithm, data, random), Mhash(peer, data))
          << std::hex << peer.algorithm << std::dec << " length " << length;
    for (const OpensslPeer& peer : kOpensslPeers)
      EXPECT_EQ(EngineInPieces(peer.algorithm, data, random), Openssl(peer.name, data))
          << peer.name << " length " << length;
    EXPECT_EQ(EngineInPieces(htCRC32B, data, random), ZlibCrc(data));
    EXPECT_EQ(EngineInPieces(htAdler32, data, random), ZlibAdler(data));
  }
}

// Long runs of 0xFF push both Adler sums to their largest values between reductions.
TEST(EnginePeers, AdlerOfLongRunsOfOnesMatchesZlib) {
  std::mt19937_64 random(14);
  for (size_t length : {5552u, 5553u, 65536u, 100000u, 1u << 20}) {
    const std::string ones(length, '\xFF');
    EXPECT_EQ(EngineInPieces(htAdler32, ones, random), ZlibAdler(ones)) << length;
  }
}

// Beyond 4 GiB the byte count needs more than 32 bits; the digest must
// still be that of the whole message.
TEST(EnginePeers, RipemdBeyondFourGibibytes) {
  const std::string block(1u << 20, '\x5A');
  const uint64_t blocks = 4096;
  const std::string tail = "tail";
  HashContext context;
  ASSERT_EQ(HashInit(&context, htRIPEMD160), heNone);
  for (uint64_t i = 0; i < blocks; ++i)
    ASSERT_EQ(HashFeed(&context, block.data(), block.size()), heNone);
  ASSERT_EQ(HashFeed(&context, tail.data(), tail.size()), heNone);
  std::string ours;
  ASSERT_EQ(HashFinal(&context, ours), heNone);

  EVP_MD* md = EVP_MD_fetch(nullptr, "RIPEMD160", nullptr);
  ASSERT_NE(md, nullptr);
  EVP_MD_CTX* ctx = EVP_MD_CTX_new();
  EVP_DigestInit_ex(ctx, md, nullptr);
  for (uint64_t i = 0; i < blocks; ++i) EVP_DigestUpdate(ctx, block.data(), block.size());
  EVP_DigestUpdate(ctx, tail.data(), tail.size());
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_DigestFinal_ex(ctx, digest, &size);
  EVP_MD_CTX_free(ctx);
  EVP_MD_free(md);
  EXPECT_EQ(ours, Hex(digest, size));
}

}  // namespace
}  // namespace quillet
