// SHA-1 and SHA-256 on the x86 SHA extensions (formerly SHA_x86.cpp). Only
// the functions below are compiled for those instructions; the rest of the
// library keeps the baseline instruction set, and nothing here runs unless
// the processor says it has them.
#include "hash/SHA_x86.h"

#include "hash/CpuFeatures.h"

#if defined(__i386__) || defined(__x86_64__)

#include <immintrin.h>

#include <utility>

#define QUILLET_SHA_TARGET __attribute__((target("sha,sse4.1,ssse3"))) QUILLET_VECTOR_ENTRY

namespace quillet {
namespace {

__attribute__((target("sha,sse4.1,ssse3"))) inline __m128i Load(const uint8_t* bytes) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}

// Message words are big-endian. SHA-256 keeps word t in lane t % 4 (each
// word's bytes reversed); SHA-1 wants word t in lane 3 - t % 4 (all sixteen
// bytes reversed).
__attribute__((target("sha,sse4.1,ssse3"))) inline __m128i Sha256Words(const uint8_t* bytes) {
  return _mm_shuffle_epi8(Load(bytes), _mm_set_epi64x(0x0c0d0e0f08090a0bLL, 0x0405060700010203LL));
}
__attribute__((target("sha,sse4.1,ssse3"))) inline __m128i Sha1Words(const uint8_t* bytes) {
  return _mm_shuffle_epi8(Load(bytes), _mm_set_epi64x(0x0001020304050607LL, 0x08090a0b0c0d0e0fLL));
}

// SHA-256 rounds 4Q to 4Q + 3. w[Q % 4] holds schedule words 4Q to 4Q + 3;
// from Q = 4 on they are made from the four previous quads. The instructions
// keep the state as {a, b, e, f} and {c, d, g, h}.
template <size_t Q>
__attribute__((target("sha,sse4.1,ssse3"))) inline void Sha256Quad(__m128i& abef, __m128i& cdgh,
                                                                   __m128i (&w)[4],
                                                                   const uint8_t* block) {
  if constexpr (Q < 4) {
    w[Q] = Sha256Words(block + 16 * Q);
  } else {
    // w[t-16] + s0(w[t-15]) + w[t-7] + s1(w[t-2]).
    const __m128i older = _mm_sha256msg1_epu32(w[Q % 4], w[(Q + 1) % 4]);
    const __m128i seventh = _mm_alignr_epi8(w[(Q + 3) % 4], w[(Q + 2) % 4], 4);
    w[Q % 4] = _mm_sha256msg2_epu32(_mm_add_epi32(older, seventh), w[(Q + 3) % 4]);
  }
  const __m128i k =
      _mm_add_epi32(w[Q % 4], Load(reinterpret_cast<const uint8_t*>(kSha256Constants + 4 * Q)));
  cdgh = _mm_sha256rnds2_epu32(cdgh, abef, k);
  abef = _mm_sha256rnds2_epu32(abef, cdgh, _mm_shuffle_epi32(k, 0x0E));
}

template <size_t... Q>
__attribute__((target("sha,sse4.1,ssse3"))) inline void Sha256Block(__m128i& abef, __m128i& cdgh,
                                                                    const uint8_t* block,
                                                                    std::index_sequence<Q...>) {
  __m128i w[4];
  (Sha256Quad<Q>(abef, cdgh, w, block), ...);
}

QUILLET_SHA_TARGET void Sha256Blocks(uint32_t (&h)[8], const uint8_t* blocks, size_t count) {
  // {a, b, c, d} and {e, f, g, h} (lane 0 first) to {a, b, e, f} and {c, d, g, h},
  // the lanes in the order the instructions want them (lane 0 holds f and h).
  const __m128i dcba = _mm_shuffle_epi32(Load(reinterpret_cast<const uint8_t*>(h)), 0xB1);
  const __m128i efgh = _mm_shuffle_epi32(Load(reinterpret_cast<const uint8_t*>(h + 4)), 0x1B);
  __m128i abef = _mm_alignr_epi8(dcba, efgh, 8);
  __m128i cdgh = _mm_blend_epi16(efgh, dcba, 0xF0);
  for (; count > 0; --count, blocks += 64) {
    const __m128i abefBefore = abef, cdghBefore = cdgh;
    Sha256Block(abef, cdgh, blocks, std::make_index_sequence<16>());
    abef = _mm_add_epi32(abef, abefBefore);
    cdgh = _mm_add_epi32(cdgh, cdghBefore);
  }
  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(h), _mm_blend_epi16(feba, dchg, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(h + 4), _mm_alignr_epi8(dchg, feba, 8));
}

// SHA-1 rounds 4Q to 4Q + 3, with w as for SHA-256. The instructions keep
// a to d in one register (a in lane 3) and carry e implicitly: sha1nexte
// derives it from the state four rounds back and adds it to the words.
template <size_t Q>
__attribute__((target("sha,sse4.1,ssse3"))) inline void Sha1Quad(__m128i& abcd, __m128i& back,
                                                                 __m128i e, __m128i (&w)[4],
                                                                 const uint8_t* block) {
  if constexpr (Q < 4) {
    w[Q] = Sha1Words(block + 16 * Q);
  } else {
    // rotl(w[t-3] ^ w[t-8] ^ w[t-14] ^ w[t-16], 1).
    const __m128i older = _mm_sha1msg1_epu32(w[Q % 4], w[(Q + 1) % 4]);
    w[Q % 4] = _mm_sha1msg2_epu32(_mm_xor_si128(older, w[(Q + 2) % 4]), w[(Q + 3) % 4]);
  }
  __m128i words;
  if constexpr (Q == 0)
    words = _mm_add_epi32(e, w[0]);
  else
    words = _mm_sha1nexte_epu32(back, w[Q % 4]);
  back = abcd;
  abcd = _mm_sha1rnds4_epu32(abcd, words, Q / 5);
}

template <size_t... Q>
__attribute__((target("sha,sse4.1,ssse3"))) inline void Sha1Block(__m128i& abcd, __m128i& e,
                                                                  const uint8_t* block,
                                                                  std::index_sequence<Q...>) {
  __m128i w[4];
  __m128i back = abcd;
  const __m128i abcdBefore = abcd;
  (Sha1Quad<Q>(abcd, back, e, w, block), ...);
  e = _mm_sha1nexte_epu32(back, e);
  abcd = _mm_add_epi32(abcd, abcdBefore);
}

QUILLET_SHA_TARGET void Sha1Blocks(uint32_t (&h)[8], const uint8_t* blocks, size_t count) {
  __m128i abcd = _mm_shuffle_epi32(Load(reinterpret_cast<const uint8_t*>(h)), 0x1B);
  __m128i e = _mm_set_epi32(static_cast<int>(h[4]), 0, 0, 0);
  for (; count > 0; --count, blocks += 64)
    Sha1Block(abcd, e, blocks, std::make_index_sequence<20>());
  _mm_storeu_si128(reinterpret_cast<__m128i*>(h), _mm_shuffle_epi32(abcd, 0x1B));
  h[4] = static_cast<uint32_t>(_mm_extract_epi32(e, 3));
}

constexpr Sha32Kernels kShaniKernels = {Sha1Blocks, Sha256Blocks};

}  // namespace

const Sha32Kernels* ShaniSha32Kernels() {
  const CpuFeatures& cpu = ProcessorFeatures();
  return cpu.sha && cpu.ssse3 && cpu.sse41 ? &kShaniKernels : nullptr;
}

}  // namespace quillet

#else

namespace quillet {

const Sha32Kernels* ShaniSha32Kernels() {
  return nullptr;
}

}  // namespace quillet

#endif
