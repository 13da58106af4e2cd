// Unloading the library while component sets are still alive: a host that
// never calls WRP_Finalize, or calls WRP_Initialize twice, must be able to
// unload and load the plug-in again.
#include <filesystem>
#include <string>

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

TEST(Unload, FreesComponentSetsStillAliveAndLoadsAgain) {
  PrivateCopy copy;
  for (int round = 0; round < 3; ++round) {
    host::Plugin plugin;
    std::string error;
    ASSERT_TRUE(host::LoadPlugin(copy.path(), plugin, error)) << error;
    host::AbnormalEnd end;
    host::HostProvider context;
    host::HostProvider params;
    int32_t answer = -1;
    ASSERT_TRUE(host::CallGuarded(
        [&] {
          plugin.initialize();
          plugin.initialize();  // a second set; the first lives until unload
          answer = plugin.execMacro("DAYOFYEAR", 9, &context, &params);
        },
        end))
        << end.kind << ": " << end.message;
    EXPECT_EQ(answer, 0);
    ASSERT_EQ(context.setTextCalls().size(), 1u);
    const int day = std::stoi(context.setTextCalls()[0].text);
    EXPECT_TRUE(day >= 1 && day <= 366) << day;
    host::UnloadPlugin(plugin);  // neither set was finalised
  }
}

}  // namespace
}  // namespace quillet::conformance
