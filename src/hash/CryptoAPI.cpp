// The engine's dispatch: a constant table maps every identifier to its
// family's operations and to the variant the family needs (digest size,
// transform or selector), so an algorithm is one row.
#include "hash/CryptoAPI.h"

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

struct HashFamily {
  void* (*create)(uint32_t variant);  // allocated and initialised
  void (*update)(void* state, const uint8_t* data, size_t length, uint32_t variant, int32_t passes);
  void (*finish)(void* state, uint32_t variant, int32_t passes, std::string& hex);
  void (*release)(void* state);
  bool takesPasses;
};

template <class State>
State& As(void* state) {
  return *static_cast<State*>(state);
}

template <class State>
void Release(void* state) {
  delete static_cast<State*>(state);
}

template <class State, void (*Init)(State&)>
void* Create(uint32_t) {
  State* state = new State;
  Init(*state);
  return state;
}

constexpr HashFamily kMD2 = {
    Create<MD2State, MD2Init>,
    [](void* s, const uint8_t* data, size_t length, uint32_t, int32_t) {
      MD2Update(As<MD2State>(s), data, length);
    },
    [](void* s, uint32_t, int32_t, std::string& hex) { MD2Final(As<MD2State>(s), hex); },
    Release<MD2State>, false};

// variant: 4 or 5.
constexpr MDTransform Transform(uint32_t variant) {
  return variant == 4 ? MD4Transform : MD5Transform;
}
constexpr HashFamily kMD = {
    Create<MDState, MDInit>,
    [](void* s, const uint8_t* data, size_t length, uint32_t variant, int32_t) {
      MDUpdate(As<MDState>(s), data, length, Transform(variant));
    },
    [](void* s, uint32_t variant, int32_t, std::string& hex) {
      MDFinal(As<MDState>(s), Transform(variant), hex);
    },
    Release<MDState>, false};

// variant: 0 most significant bit first, 1 reflected.
constexpr HashFamily kCRC = {
    Create<uint32_t, CrcInit>,
    [](void* s, const uint8_t* data, size_t length, uint32_t variant, int32_t) {
      (variant == 0 ? Crc32Update : Crc32BUpdate)(As<uint32_t>(s), data, length);
    },
    [](void* s, uint32_t, int32_t, std::string& hex) { CrcFinal(As<uint32_t>(s), hex); },
    Release<uint32_t>, false};

constexpr HashFamily kAdler = {
    Create<uint32_t, AdlerInit>,
    [](void* s, const uint8_t* data, size_t length, uint32_t, int32_t) {
      AdlerUpdate(As<uint32_t>(s), data, length);
    },
    [](void* s, uint32_t, int32_t, std::string& hex) { AdlerFinal(As<uint32_t>(s), hex); },
    Release<uint32_t>, false};

constexpr HashFamily kGost = {
    Create<GostState, GostInit>,
    [](void* s, const uint8_t* data, size_t length, uint32_t, int32_t) {
      GostUpdate(As<GostState>(s), data, length);
    },
    [](void* s, uint32_t, int32_t, std::string& hex) { GostFinal(As<GostState>(s), hex); },
    Release<GostState>, false};

// variant: output bits.
constexpr HashFamily kHaval = {
    Create<HavalState, HavalInit>,
    [](void* s, const uint8_t* data, size_t length, uint32_t, int32_t passes) {
      HavalUpdate(As<HavalState>(s), data, length, passes);
    },
    [](void* s, uint32_t bits, int32_t passes, std::string& hex) {
      HavalFinal(As<HavalState>(s), passes, bits, hex);
    },
    Release<HavalState>, true};

// variant: 1 (SHA-1) or 256.
constexpr HashFamily kSha32 = {
    [](uint32_t variant) -> void* {
      Sha32State* state = new Sha32State;
      (variant == 1 ? Sha1Init : Sha256Init)(*state);
      return state;
    },
    [](void* s, const uint8_t* data, size_t length, uint32_t variant, int32_t) {
      Sha32Update(As<Sha32State>(s), data, length, variant);
    },
    [](void* s, uint32_t variant, int32_t, std::string& hex) {
      Sha32Final(As<Sha32State>(s), variant, hex);
    },
    Release<Sha32State>, false};

// variant: output bits, 384 or 512.
constexpr HashFamily kSha64 = {[](uint32_t bits) -> void* {
                                 Sha64State* state = new Sha64State;
                                 (bits == 384 ? Sha384Init : Sha512Init)(*state);
                                 return state;
                               },
                               [](void* s, const uint8_t* data, size_t length, uint32_t, int32_t) {
                                 Sha64Update(As<Sha64State>(s), data, length);
                               },
                               [](void* s, uint32_t bits, int32_t, std::string& hex) {
                                 Sha64Final(As<Sha64State>(s), bits, hex);
                               },
                               Release<Sha64State>, false};

// variant: output bits.
constexpr HashFamily kTiger = {
    Create<TigerState, TigerInit>,
    [](void* s, const uint8_t* data, size_t length, uint32_t, int32_t passes) {
      TigerUpdate(As<TigerState>(s), data, length, passes);
    },
    [](void* s, uint32_t bits, int32_t passes, std::string& hex) {
      TigerFinal(As<TigerState>(s), bits, passes, hex);
    },
    Release<TigerState>, true};

// variant: output bits, 128 or 160.
constexpr HashFamily kRipemd = {
    [](uint32_t bits) -> void* {
      RipemdState* state = new RipemdState;
      RipemdInit(*state, bits);
      return state;
    },
    [](void* s, const uint8_t* data, size_t length, uint32_t bits, int32_t) {
      RipemdUpdate(As<RipemdState>(s), data, length, bits);
    },
    [](void* s, uint32_t bits, int32_t, std::string& hex) {
      RipemdFinal(As<RipemdState>(s), bits, hex);
    },
    Release<RipemdState>, false};

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
    if (const AlgorithmRow* old = Find(context->algorithm)) old->family->release(context->state);
    context->state = nullptr;
  }
  context->algorithm = algorithm;
  const AlgorithmRow* row = Find(algorithm);
  if (!row) return heUnknownType;
  context->state = row->family->create(row->variant);
  if (row->family->takesPasses) context->passes = 3;
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
  row->family->release(context->state);
  context->state = nullptr;
  return heNone;
}

HashError HashString(uint32_t algorithm, std::string_view text, std::string& hex) {
  HashContext context;
  HashError error = HashInit(&context, algorithm);
  if (error == heNone) error = HashFeed(&context, text.data(), text.size());
  // Only HashInit can fail here (an unknown identifier), and then nothing was allocated.
  if (error == heNone) error = HashFinal(&context, hex);
  return error;
}

void HashErrorText(uint32_t code, std::string& text) {
  text = code < std::size(kErrorTexts) ? kErrorTexts[code] : "Unknown error";
}

}  // namespace quillet
