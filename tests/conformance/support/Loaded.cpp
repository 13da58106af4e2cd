// Loading the plug-in under test.
#include "support/Loaded.h"

#include <cstdlib>

namespace quillet::conformance {

std::string PluginPath() {
  const char* override = std::getenv("QUILLET_PLUGIN");
  return override != nullptr ? override : host::DefaultPluginPath();
}

host::Plugin& Loaded() {
  static host::Plugin plugin = [] {
    host::Plugin loaded;
    const std::string path = PluginPath();
    std::string error;
    if (!host::LoadPlugin(path, loaded, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      std::abort();
    }
    return loaded;
  }();
  return plugin;
}

MacroRun ExecRaw(const char* name, int32_t nameLength, host::HostProvider& context,
                 host::HostProvider& params) {
  MacroRun run;
  run.ended = !host::CallGuarded(
      [&] { run.answer = Loaded().execMacro(name, nameLength, &context, &params); }, run.end);
  return run;
}

MacroRun Exec(const std::string& name, host::HostProvider& context, host::HostProvider& params) {
  return ExecRaw(name.c_str(), static_cast<int32_t>(name.size()), context, params);
}

std::string Delivered(const host::HostProvider& context) {
  EXPECT_EQ(context.setTextCalls().size(), 1u);
  if (context.setTextCalls().empty()) return {};
  const host::SetTextCall& call = context.setTextCalls().front();
  EXPECT_EQ(call.index, 0);
  EXPECT_TRUE(call.terminated) << "the delivered text is not zero-terminated";
  return call.text;
}

std::string Result(const std::string& name, std::vector<std::string> params) {
  host::HostProvider context;
  host::HostProvider parameters(std::move(params));
  const MacroRun run = Exec(name, context, parameters);
  EXPECT_FALSE(run.ended) << name << " ended abnormally: " << run.end.kind << ": "
                          << run.end.message;
  EXPECT_EQ(run.answer, 0) << name;
  return Delivered(context);
}

void Initialize() {
  host::AbnormalEnd end;
  ASSERT_TRUE(host::CallGuarded([] { Loaded().initialize(); }, end)) << end.message;
}

void Finalize() {
  host::AbnormalEnd end;
  ASSERT_TRUE(host::CallGuarded([] { Loaded().finalize(); }, end)) << end.message;
}

}  // namespace quillet::conformance
