// Throughput of the hash engine for each of its 21 identifiers at 64 B,
// 4 KiB and 16 MiB, beside the fastest installed peer library for the same
// algorithm, measured in the same run. Run the Release build's hash_bench.
#include <isa-l.h>
#include <mhash.h>
#include <openssl/evp.h>
#include <openssl/provider.h>
#include <rhash.h>
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "hash/HashEngine.h"

using namespace quillet;

namespace {

using Hasher = std::function<void(const unsigned char* data, size_t size)>;

struct Peer {
  std::string name;
  Hasher hash;
};

struct Row {
  const char* name;
  uint32_t id;
  std::vector<Peer> peers;
};

volatile unsigned sink;  // keeps results observable

// The engine as the HASH macro calls it: one HashString per text.
Hasher Ours(uint32_t id) {
  return [id](const unsigned char* data, size_t size) {
    std::string hex;
    HashString(id, {reinterpret_cast<const char*>(data), size}, hex);
    sink = sink + static_cast<unsigned char>(hex[0]);
  };
}

Peer Mhash(hashid id) {
  return {"mhash", [id](const unsigned char* data, size_t size) {
            MHASH td = mhash_init(id);
            mhash(td, data, static_cast<mutils_word32>(size));
            auto* digest = static_cast<unsigned char*>(mhash_end(td));
            sink = sink + digest[0];
            mhash_free(digest);
          }};
}

Peer Rhash(unsigned id) {
  return {"rhash", [id](const unsigned char* data, size_t size) {
            unsigned char digest[64];
            rhash_msg(id, data, size, digest);
            sink = sink + digest[0];
          }};
}

Peer Openssl(const char* name) {
  const EVP_MD* md = EVP_MD_fetch(nullptr, name, nullptr);
  if (!md) return {};
  return {"OpenSSL", [md](const unsigned char* data, size_t size) {
            unsigned char digest[EVP_MAX_MD_SIZE];
            unsigned int length = 0;
            EVP_Digest(data, size, digest, &length, md, nullptr);
            sink = sink + digest[0];
          }};
}

Peer ZlibCrc() {
  return {"zlib", [](const unsigned char* data, size_t size) {
            sink = sink + static_cast<unsigned>(crc32_z(0, data, size));
          }};
}

// ISA-L's crc32_ieee is the most-significant-bit-first CRC-32, crc32_gzip_refl
// the reflected one.
Peer IsalCrc(uint32_t (*crc)(uint32_t, const unsigned char*, uint64_t)) {
  return {"ISA-L",
          [crc](const unsigned char* data, size_t size) { sink = sink + crc(0, data, size); }};
}

Peer IsalAdler() {
  return {"ISA-L", [](const unsigned char* data, size_t size) {
            sink = sink + isal_adler32(1, data, size);
          }};
}

Peer ZlibAdler() {
  return {"zlib", [](const unsigned char* data, size_t size) {
            sink = sink + static_cast<unsigned>(adler32_z(1, data, size));
          }};
}

// MB/s (10^6 bytes) of hash over size bytes, repeated for at least 0.15 s of
// processor time; processor time rather than wall time, so that time spent
// waiting for the processor while other programs run does not count.
double Throughput(const Hasher& hash, const std::vector<unsigned char>& data, size_t size) {
  size_t rounds = 0;
  const std::clock_t start = std::clock();
  double seconds = 0;
  // Small inputs run in batches so that reading the clock costs next to nothing.
  const size_t batch = std::max<size_t>(1, (1u << 20) / size);
  do {
    for (size_t i = 0; i < batch; ++i) hash(data.data(), size);
    rounds += batch;
    seconds = static_cast<double>(std::clock() - start) / CLOCKS_PER_SEC;
  } while (seconds < 0.15);
  return static_cast<double>(size) * static_cast<double>(rounds) / seconds / 1e6;
}

// Ours and the peer take turns, best of three each, so that load from other
// processes disturbs both alike.
void Compare(const Hasher& ours, const Hasher& peer, const std::vector<unsigned char>& data,
             size_t size, double& oursBest, double& peerBest) {
  oursBest = peerBest = 0;
  for (int turn = 0; turn < 3; ++turn) {
    oursBest = std::max(oursBest, Throughput(ours, data, size));
    peerBest = std::max(peerBest, Throughput(peer, data, size));
  }
}

}  // namespace

// Arguments, if any, name the algorithms to measure (e.g. hash_bench MD2 CRC32B).
int main(int argc, char** argv) {
  const std::vector<std::string> only(argv + 1, argv + argc);
  OSSL_PROVIDER_load(nullptr, "legacy");  // MD4 lives there
  OSSL_PROVIDER_load(nullptr, "default");
  rhash_library_init();

  std::vector<Row> rows = {
      {"MD2", htMD2, {Mhash(MHASH_MD2)}},
      {"MD4", htMD4, {Openssl("MD4")}},
      {"MD5", htMD5, {Openssl("MD5")}},
      {"CRC32", htCRC32, {IsalCrc(crc32_ieee), Mhash(MHASH_CRC32)}},
      {"CRC32B", htCRC32B, {IsalCrc(crc32_gzip_refl), ZlibCrc()}},
      {"ADLER32", htAdler32, {IsalAdler(), ZlibAdler()}},
      {"GOST", htGOST, {Rhash(RHASH_GOST94), Mhash(MHASH_GOST)}},
      {"HAVAL128", htHAVAL128, {Mhash(MHASH_HAVAL128)}},
      {"HAVAL160", htHAVAL160, {Mhash(MHASH_HAVAL160)}},
      {"HAVAL192", htHAVAL192, {Mhash(MHASH_HAVAL192)}},
      {"HAVAL224", htHAVAL224, {Mhash(MHASH_HAVAL224)}},
      {"HAVAL256", htHAVAL256, {Mhash(MHASH_HAVAL256)}},
      {"SHA1", htSHA1, {Openssl("SHA1")}},
      {"SHA256", htSHA256, {Openssl("SHA256")}},
      {"SHA384", htSHA384, {Openssl("SHA384")}},
      {"SHA512", htSHA512, {Openssl("SHA512")}},
      {"TIGER128", htTiger128, {Rhash(RHASH_TIGER), Mhash(MHASH_TIGER128)}},
      {"TIGER160", htTiger160, {Rhash(RHASH_TIGER), Mhash(MHASH_TIGER160)}},
      {"TIGER192", htTiger192, {Rhash(RHASH_TIGER), Mhash(MHASH_TIGER192)}},
      {"RIPE-MD128", htRIPEMD128, {Mhash(MHASH_RIPEMD128)}},
      {"RIPE-MD160", htRIPEMD160, {Openssl("RIPEMD160")}},
  };

  const size_t sizes[] = {64, 4096, 16u << 20};
  std::vector<unsigned char> data(sizes[2]);
  std::mt19937 random(1);
  for (unsigned char& b : data) b = static_cast<unsigned char>(random());

  std::printf("%-11s %-8s %10s %10s %10s %10s %10s %10s %7s %7s %7s\n", "algorithm", "peer",
              "ours 64B", "peer 64B", "ours 4K", "peer 4K", "ours 16M", "peer 16M", "x 64B", "x 4K",
              "x 16M");
  for (const Row& row : rows) {
    if (!only.empty() && std::find(only.begin(), only.end(), row.name) == only.end()) continue;
    double ours[3] = {0, 0, 0}, peer[3] = {0, 0, 0};
    std::string peerName = "-";
    // Where there are several peers, the fastest at 16 MiB is the one shown.
    for (const Peer& candidate : row.peers) {
      if (!candidate.hash) continue;
      double mine[3], theirs[3];
      for (size_t s = 0; s < 3; ++s)
        Compare(Ours(row.id), candidate.hash, data, sizes[s], mine[s], theirs[s]);
      if (theirs[2] > peer[2]) {
        std::copy(mine, mine + 3, ours);
        std::copy(theirs, theirs + 3, peer);
        peerName = candidate.name;
      }
    }
    std::printf("%-11s %-8s", row.name, peerName.c_str());
    for (size_t s = 0; s < 3; ++s) std::printf(" %10.1f %10.1f", ours[s], peer[s]);
    for (size_t s = 0; s < 3; ++s) std::printf(" %7.2f", peer[s] > 0 ? ours[s] / peer[s] : 0.0);
    std::printf("\n");
    std::fflush(stdout);
  }
  return 0;
}
