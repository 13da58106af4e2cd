// The HASH macro: an algorithm name (MD5 when only the text is given) and a
// text in, the hash engine's hex result out.
#include "hash/HashMacro.h"

#include <array>
#include <string_view>

#include "base/Ascii.h"
#include "frame/Macros.h"
#include "hash/HashEngine.h"

namespace quillet {
namespace {

// Parallel tables; the names are upper case because the lookup folds the
// template author's name to upper case and compares exactly.
constexpr std::array<std::string_view, 21> AlgorithmNames = {
    "MD2",      "MD4",      "MD5",        "SHA1",       "SHA256",   "SHA384", "SHA512",
    "HAVAL128", "HAVAL160", "HAVAL192",   "HAVAL224",   "HAVAL256", "GOST",   "TIGER128",
    "TIGER160", "TIGER192", "RIPE-MD128", "RIPE-MD160", "CRC32",    "CRC32B", "ADLER32"};
constexpr std::array<uint32_t, 21> AlgorithmIds = {
    htMD2,      htMD4,      htMD5,       htSHA1,      htSHA256,   htSHA384, htSHA512,
    htHAVAL128, htHAVAL160, htHAVAL192,  htHAVAL224,  htHAVAL256, htGOST,   htTiger128,
    htTiger160, htTiger192, htRIPEMD128, htRIPEMD160, htCRC32,    htCRC32B, htAdler32};

// ASCII letters folded to upper case, then bytes 0 to 32 cut from both ends.
std::string NormalisedName(std::string name) {
  for (char& c : name) c = AsciiUpper(c);
  const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  size_t first = 0, end = name.size();
  while (first < end && isBlank(name[first])) ++first;
  while (end > first && isBlank(name[end - 1])) --end;
  return name.substr(first, end - first);
}

}  // namespace

void HashMacro(IWRPDataProvider*, IWRPDataProvider* params, std::string& result) {
  uint32_t algorithm = htMD5;
  std::string text;
  switch (GetParamCount(params)) {
    case 1:
      text = GetParamStr(params, 0);
      break;
    case 2: {
      const std::string name = NormalisedName(GetParamStr(params, 0));
      size_t i = 0;
      while (i < AlgorithmNames.size() && AlgorithmNames[i] != name) ++i;
      if (i == AlgorithmNames.size()) {
        result = kInvalidParamValue;
        return;
      }
      algorithm = AlgorithmIds[i];
      text = GetParamStr(params, 1);
      break;
    }
    default:
      result = kWrongParamCount;
      return;
  }
  std::string hex;
  if (const HashError error = HashString(algorithm, text, hex); error != heNone) {
    HashErrorText(error, result);
    return;
  }
  result = std::move(hex);
}

}  // namespace quillet
