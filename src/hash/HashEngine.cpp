// The engine's dispatch: a constant table maps every identifier to its
// family's operations and to the variant the family needs (digest size,
// transform or selector), so an algorithm is one row.
#include "hash/HashEngine.h"

#include <algorithm>
#include <cstddef>
#include <new>
#include <type_traits>

#include "hash/Adler.h"
#include "hash/CRC.h"
#include "hash/Gost.h"
#include "hash/HAVAL.h"
#include "hash/MD.h"
#include "hash/RIPEMD.h"
#include "hash/SHA.h"
#include "hash/Tiger.h"

namespace quillet {
namespace {

// Every state record is plain data of fundamental alignment, so that one
// can be made in any storage of its size, from the allocator (HashInit) or
// on the stack (HashString), and given up without a destructor.
struct HashFamily {
  size_t size;                                     // of the state record
  void* (*create)(void* where, uint32_t variant);  // initialised in where
  void (*update)(void* state, const uint8_t* data, size_t length, uint32_t variant, int32_t passes);
  void (*finish)(void* state, uint32_t variant, int32_t passes, std::string& hex);
  bool takesPasses;
};

template <class State>
State& As(void* state) {
  return *static_cast<State*>(state);
}

template <class State>
State* Make(void* where) {
  static_assert(std::is_trivially_destructible_v<State>);
  static_assert(alignof(State) <= alignof(std::max_align_t));
  return ::new (where) State;
}

template <class State, void (*Init)(State&)>
void* Create(void* where, uint32_t) {
  State* state = Make<State>(where);
  Init(*state);
  return state;
}

constexpr HashFamily kMD2 = {
    sizeof(MD2State), Create<MD2State, MD2Init>,
    [](void* s, const uint8_t* data, size_t length, uint32_t, int32_t) {
      MD2Update(As<MD2State>(s), data, length);
    },
    [](void* s, uint32_t, int32_t, std::string& hex) { MD2Final(As<MD2State>(s), hex); }, false};

// variant: 4 or 5.
constexpr MDTransform Transform(uint32_t variant) {
  return variant == 4 ? MD4Transform : MD5Transform;
}
constexpr HashFamily kMD = {
    sizeof(MDState), Create<MDState, MDInit>,
    [](void* s, const uint8_t* data, size_t length, uint32_t variant, int32_t) {
      MDUpdate(As<MDState>(s), data, length, Transform(variant));
    },
    [](void* s, uint32_t variant, int32_t, std::string& hex) {
      MDFinal(As<MDState>(s), Transform(variant), hex);
    },
    false};

// variant: 0 most significant bit first, 1 reflected.
constexpr HashFamily kCRC = {
    sizeof(uint32_t), Create<uint32_t, CrcInit>,
    [](void* s, const uint8_t* data, size_t length, uint32_t variant, int32_t) {
      (variant == 0 ? Crc32Update : Crc32BUpdate)(As<uint32_t>(s), data, length);
    },
    [](void* s, uint32_t, int32_t, std::string& hex) { CrcFinal(As<uint32_t>(s), hex); }, false};

constexpr HashFamily kAdler = {
    sizeof(uint32_t), Create<uint32_t, AdlerInit>,
    [](void* s, const uint8_t* data, size_t length, uint32_t, int32_t) {
      AdlerUpdate(As<uint32_t>(s), data, length);
    },
    [](void* s, uint32_t, int32_t, std::string& hex) { AdlerFinal(As<uint32_t>(s), hex); }, false};

constexpr HashFamily kGost = {
    sizeof(GostState), Create<GostState, GostInit>,
    [](void* s, const uint8_t* data, size_t length, uint32_t, int32_t) {
      GostUpdate(As<GostState>(s), data, length);
    },
    [](void* s, uint32_t, int32_t, std::string& hex) { GostFinal(As<GostState>(s), hex); }, false};

// variant: output bits.
constexpr HashFamily kHaval = {
    sizeof(HavalState), Create<HavalState, HavalInit>,
    [](void* s, const uint8_t* data, size_t length, uint32_t, int32_t passes) {
      HavalUpdate(As<HavalState>(s), data, length, passes);
    },
    [](void* s, uint32_t bits, int32_t passes, std::string& hex) {
      HavalFinal(As<HavalState>(s), passes, bits, hex);
    },
    true};

// variant: 1 (SHA-1) or 256.
constexpr HashFamily kSha32 = {
    sizeof(Sha32State),
    [](void* where, uint32_t variant) -> void* {
      Sha32State* state = Make<Sha32State>(where);
      (variant == 1 ? Sha1Init : Sha256Init)(*state);
      return state;
    },
    [](void* s, const uint8_t* data, size_t length, uint32_t variant, int32_t) {
      Sha32Update(As<Sha32State>(s), data, length, variant);
    },
    [](void* s, uint32_t variant, int32_t, std::string& hex) {
      Sha32Final(As<Sha32State>(s), variant, hex);
    },
    false};

// variant: output bits, 384 or 512.
constexpr HashFamily kSha64 = {sizeof(Sha64State),
                               [](void* where, uint32_t bits) -> void* {
                                 Sha64State* state = Make<Sha64State>(where);
                                 (bits == 384 ? Sha384Init : Sha512Init)(*state);
                                 return state;
                               },
                               [](void* s, const uint8_t* data, size_t length, uint32_t, int32_t) {
                                 Sha64Update(As<Sha64State>(s), data, length);
                               },
                               [](void* s, uint32_t bits, int32_t, std::string& hex) {
                                 Sha64Final(As<Sha64State>(s), bits, hex);
                               },
                               false};

// variant: output bits.
constexpr HashFamily kTiger = {
    sizeof(TigerState), Create<TigerState, TigerInit>,
    [](void* s, const uint8_t* data, size_t length, uint32_t, int32_t passes) {
      TigerUpdate(As<TigerState>(s), data, length, passes);
    },
    [](void* s, uint32_t bits, int32_t passes, std::string& hex) {
      TigerFinal(As<TigerState>(s), bits, passes, hex);
    },
    true};

// variant: output bits, 128 or 160.
constexpr HashFamily kRipemd = {
    sizeof(RipemdState),
    [](void* where, uint32_t bits) -> void* {
      RipemdState* state = Make<RipemdState>(where);
      RipemdInit(*state, bits);
      return state;
    },
    [](void* s, const uint8_t* data, size_t length, uint32_t bits, int32_t) {
      RipemdUpdate(As<RipemdState>(s), data, length, bits);
    },
    [](void* s, uint32_t bits, int32_t, std::string& hex) {
      RipemdFinal(As<RipemdState>(s), bits, hex);
    },
    false};

struct AlgorithmRow {
  const HashFamily* family;
  uint32_t variant;
};

constexpr uint32_t kFirstId = htMD2;

// Indexed by identifier - kFirstId.
constexpr AlgorithmRow kAlgorithms[] = {
    {&kMD2, 0},      {&kMD, 4},      {&kMD, 5},      {&kCRC, 0},     {&kCRC, 1},
    {&kAdler, 0},    {&kGost, 0},    {&kHaval, 128}, {&kHaval, 160}, {&kHaval, 192},
    {&kHaval, 224},  {&kHaval, 256}, {&kSha32, 1},   {&kSha32, 256}, {&kSha64, 384},
    {&kSha64, 512},  {&kTiger, 128}, {&kTiger, 160}, {&kTiger, 192}, {&kRipemd, 128},
    {&kRipemd, 160},
};
static_assert(std::size(kAlgorithms) == htRIPEMD160 - kFirstId + 1);

// HashString's state record lives on its stack, in room for the largest.
constexpr size_t kLargestState = [] {
  size_t largest = 0;
  for (const AlgorithmRow& row : kAlgorithms) largest = std::max(largest, row.family->size);
  return largest;
}();

// HAVAL and Tiger always run with three passes: nothing sets another number.
constexpr int32_t kPasses = 3;

const AlgorithmRow* Find(uint32_t algorithm) {
  if (algorithm < kFirstId || algorithm - kFirstId >= std::size(kAlgorithms)) return nullptr;
  return &kAlgorithms[algorithm - kFirstId];
}

// Indexed by HashError. Codes 4 to 6 have texts for callers that pass them,
// though no operation here returns them.
constexpr std::string_view kErrorTexts[] = {"No error",
                                            "Unknown hash type",
                                            "Hash context is null",
                                            "Invalid hash context",
                                            "Could not read file",
                                            "Could not open file",
                                            "Hash test failed"};

}  // namespace

HashError HashInit(HashContext* context, uint32_t algorithm) {
  if (!context) return heNullContext;
  // A context initialised again without being finished gives its state back first.
  if (context->state) {
    ::operator delete(context->state);
    context->state = nullptr;
  }
  context->algorithm = algorithm;
  const AlgorithmRow* row = Find(algorithm);
  if (!row) return heUnknownType;
  context->state = row->family->create(::operator new(row->family->size), row->variant);
  if (row->family->takesPasses) context->passes = kPasses;
  return heNone;
}

HashError HashFeed(HashContext* context, const void* data, size_t length) {
  if (!context) return heNullContext;
  if (!context->state) return heInvalidContext;
  const AlgorithmRow* row = Find(context->algorithm);
  if (!row) return heUnknownType;
  if (length == 0) return heNone;
  if (!data) return heInvalidContext;
  row->family->update(context->state, static_cast<const uint8_t*>(data), length, row->variant,
                      context->passes);
  return heNone;
}

HashError HashUpdate(HashContext* context, const void* data, uint32_t length) {
  return HashFeed(context, data, length);
}

HashError HashFinal(HashContext* context, std::string& hex) {
  if (!context) return heNullContext;
  if (!context->state) return heInvalidContext;
  const AlgorithmRow* row = Find(context->algorithm);
  if (!row) return heUnknownType;
  row->family->finish(context->state, row->variant, context->passes, hex);
  ::operator delete(context->state);
  context->state = nullptr;
  return heNone;
}

// HashInit, HashFeed and HashFinal in one, with the state record on the
// stack: for a short text the allocator would cost more than the hashing.
// Only an unknown identifier can fail, before anything is made.
HashError HashString(uint32_t algorithm, std::string_view text, std::string& hex) {
  const AlgorithmRow* row = Find(algorithm);
  if (!row) return heUnknownType;
  alignas(std::max_align_t) unsigned char storage[kLargestState];
  void* state = row->family->create(storage, row->variant);
  const int32_t passes = row->family->takesPasses ? kPasses : 0;
  if (!text.empty())
    row->family->update(state, reinterpret_cast<const uint8_t*>(text.data()), text.size(),
                        row->variant, passes);
  row->family->finish(state, row->variant, passes, hex);
  return heNone;
}

void HashErrorText(uint32_t code, std::string& text) {
  text = code < std::size(kErrorTexts) ? kErrorTexts[code] : "Unknown error";
}

}  // namespace quillet
