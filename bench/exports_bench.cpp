// Throughput of HASH through the plug-in's exports, the way a host calls it:
// for each algorithm name and input size, MB/s (10^6 bytes) of text hashed by
// WRP_ExecMacro, parameters fetched and result delivered included; and, for
// comparison, of the hash engine alone (HashString, compiled into this
// program with the library's own flags). The same program is built natively
// and for Windows, so that the product under Wine and the native library are
// measured alike; exports_compare.sh sets the two side by side.
//
// Output: one line per measurement, "exports|engine<TAB>NAME<TAB>SIZE<TAB>MB/s".
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "hash/HashEngine.h"
#include "host/Plugin.h"
#include "host/Provider.h"

using namespace quillet;

namespace {

struct Algorithm {
  const char* name;
  uint32_t id;
};

const Algorithm kAlgorithms[] = {{"MD2", htMD2},
                                 {"MD4", htMD4},
                                 {"MD5", htMD5},
                                 {"SHA1", htSHA1},
                                 {"SHA256", htSHA256},
                                 {"SHA384", htSHA384},
                                 {"SHA512", htSHA512},
                                 {"HAVAL128", htHAVAL128},
                                 {"HAVAL160", htHAVAL160},
                                 {"HAVAL192", htHAVAL192},
                                 {"HAVAL224", htHAVAL224},
                                 {"HAVAL256", htHAVAL256},
                                 {"GOST", htGOST},
                                 {"TIGER128", htTiger128},
                                 {"TIGER160", htTiger160},
                                 {"TIGER192", htTiger192},
                                 {"RIPE-MD128", htRIPEMD128},
                                 {"RIPE-MD160", htRIPEMD160},
                                 {"CRC32", htCRC32},
                                 {"CRC32B", htCRC32B},
                                 {"ADLER32", htAdler32}};

constexpr size_t kSizes[] = {64, 4096, 16u << 20};
// Each measurement hashes for at least this long, best of kTurns.
constexpr double kMinimumSeconds = 0.2;
constexpr int kTurns = 3;

// One HASH call; false when the plug-in ended it abnormally. A fresh context
// each time, since it keeps every text delivered to it.
bool HashOnce(const host::Plugin& plugin, host::HostProvider& params) {
  host::HostProvider context;
  host::AbnormalEnd end;
  int32_t answer = -1;
  const bool finished =
      host::CallGuarded([&] { answer = plugin.execMacro("HASH", 4, &context, &params); }, end);
  return finished && answer == 0 && context.setTextCalls().size() == 1;
}

// MB/s of calls of once (false: stop, failed) on size bytes, best of kTurns.
template <class Once>
double Throughput(size_t size, Once&& once) {
  using Clock = std::chrono::steady_clock;
  double best = 0;
  for (int turn = 0; turn < kTurns; ++turn) {
    size_t calls = 0;
    const Clock::time_point start = Clock::now();
    double seconds = 0;
    do {
      if (!once()) return 0;
      ++calls;
      seconds = std::chrono::duration<double>(Clock::now() - start).count();
    } while (seconds < kMinimumSeconds);
    best = std::max(best, static_cast<double>(size) * static_cast<double>(calls) / seconds / 1e6);
  }
  return best;
}

}  // namespace

// Arguments: the plug-in (default: the one beside this program), then the
// algorithm names to measure (default: all 21).
int main(int argc, char** argv) {
  const std::string path = argc > 1 && argv[1][0] != '\0' ? argv[1] : host::DefaultPluginPath();
  const std::vector<std::string> only(argv + std::min(argc, 2), argv + argc);
  host::Plugin plugin;
  std::string error;
  if (!host::LoadPlugin(path, plugin, error)) {
    std::fprintf(stderr, "exports_bench: %s: %s\n", path.c_str(), error.c_str());
    return 1;
  }
  std::string data(kSizes[std::size(kSizes) - 1], '\0');
  std::mt19937 random(1);
  for (char& c : data) c = static_cast<char>(random());

  int status = 0;
  for (const Algorithm& algorithm : kAlgorithms) {
    if (!only.empty() && std::find(only.begin(), only.end(), algorithm.name) == only.end())
      continue;
    for (size_t size : kSizes) {
      const std::string text = data.substr(0, size);
      host::HostProvider params({algorithm.name, text});
      const double exports = Throughput(size, [&] { return HashOnce(plugin, params); });
      const double engine = Throughput(size, [&] {
        std::string hex;
        return HashString(algorithm.id, text, hex) == heNone;
      });
      if (exports == 0 || engine == 0) status = 1;
      std::printf("exports\t%s\t%zu\t%.1f\nengine\t%s\t%zu\t%.1f\n", algorithm.name, size, exports,
                  algorithm.name, size, engine);
      std::fflush(stdout);
    }
  }
  host::UnloadPlugin(plugin);
  return status;
}
