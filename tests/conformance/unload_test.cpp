// Unloading the library while component sets are still alive: a host that
// never calls WRP_Finalize, or calls WRP_Initialize twice, must be able to
// unload and load the plug-in again, and gets back the memory of those sets.
#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>

#include "support/Heap.h"
#include "support/Loaded.h"

namespace quillet::conformance {
namespace {

namespace fs = std::filesystem;

// A copy of the plug-in under a name of its own, so that loading it gives a
// module instance of its own, which unloading really removes.
class PrivateCopy {
 public:
  PrivateCopy() {
    const fs::path original = PluginPath();
    path_ = fs::temp_directory_path() / ("unload-" + original.filename().string());
    fs::copy_file(original, path_, fs::copy_options::overwrite_existing);
  }
  ~PrivateCopy() {
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  std::string path() const { return path_.string(); }

 private:
  fs::path path_;
};

// How much more heap is in use after loading the plug-in, starting it twice,
// running DAYOFYEAR and unloading it, than before. With finalize each
// component set is freed by WRP_Finalize, else both are left to the unload.
int64_t HeapGrowthOfOneLoad(const std::string& path, bool finalize) {
  const size_t before = HeapBytesInUse();
  {
    host::Plugin plugin;
    std::string error;
    EXPECT_TRUE(host::LoadPlugin(path, plugin, error)) << error;
    if (plugin.library == nullptr) return 0;
    host::AbnormalEnd end;
    host::HostProvider context;
    host::HostProvider params;
    int32_t answer = -1;
    EXPECT_TRUE(host::CallGuarded(
        [&] {
          plugin.initialize();
          if (finalize) plugin.finalize();
          plugin.initialize();  // without WRP_Finalize a second set; the first lives on
          answer = plugin.execMacro("DAYOFYEAR", 9, &context, &params);
          if (finalize) plugin.finalize();
        },
        end))
        << end.kind << ": " << end.message;
    EXPECT_EQ(answer, 0);
    EXPECT_EQ(context.setTextCalls().size(), 1u);
    if (!context.setTextCalls().empty()) {
      const int day = std::stoi(context.setTextCalls()[0].text);
      EXPECT_TRUE(day >= 1 && day <= 366) << day;
    }
    host::UnloadPlugin(plugin);
  }
  return static_cast<int64_t>(HeapBytesInUse()) - static_cast<int64_t>(before);
}

// Loading itself may keep a little now and then (the loader's own records),
// so the least growth over several loads is compared: a set left alive and
// not freed at unload would add to every load.
TEST(Unload, FreesComponentSetsStillAliveAndLoadsAgain) {
  PrivateCopy copy;
  HeapGrowthOfOneLoad(copy.path(), true);  // what only the first load costs
  int64_t finalized = INT64_MAX;
  int64_t leftToUnload = INT64_MAX;
  for (int round = 0; round < 4; ++round) {
    finalized = std::min(finalized, HeapGrowthOfOneLoad(copy.path(), true));
    leftToUnload = std::min(leftToUnload, HeapGrowthOfOneLoad(copy.path(), false));
  }
  EXPECT_LE(leftToUnload, finalized) << "the sets still alive were not freed at unload";
}

}  // namespace
}  // namespace quillet::conformance
