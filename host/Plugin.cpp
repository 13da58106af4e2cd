// Loading the plug-in and fetching its texts.
#include "host/Plugin.h"

namespace quillet::host {
namespace {

template <typename Function>
bool Resolve(void* library, const char* name, Function& function, std::string& error) {
  function = reinterpret_cast<Function>(FindExport(library, name));
  if (function == nullptr) error = std::string("the plug-in does not export ") + name;
  return function != nullptr;
}

}  // namespace

bool LoadPlugin(const std::string& path, Plugin& plugin, std::string& error) {
  plugin = Plugin{};
  std::string reason;
  plugin.library = OpenLibrary(path, reason);
  if (plugin.library == nullptr) {
    error = "cannot load " + path + ": " + reason;
    return false;
  }
  void* lib = plugin.library;
  if (Resolve(lib, "WRP_GetInfo", plugin.getInfo, error) &&
      Resolve(lib, "WRP_ExecMacro", plugin.execMacro, error) &&
      Resolve(lib, "WRP_GetMacroList", plugin.getMacroList, error) &&
      Resolve(lib, "WRP_NeedCOM", plugin.needCOM, error) &&
      Resolve(lib, "WRP_Setup", plugin.setup, error) &&
      Resolve(lib, "WRP_Initialize", plugin.initialize, error) &&
      Resolve(lib, "WRP_Finalize", plugin.finalize, error) &&
      Resolve(lib, "WRP_GetName", plugin.getName, error) &&
      Resolve(lib, "WRP_GetVersion", plugin.getVersion, error) &&
      Resolve(lib, "WRP_GetStatus", plugin.getStatus, error) &&
      Resolve(lib, "WRP_NeedConfig", plugin.needConfig, error))
    return true;
  UnloadPlugin(plugin);
  return false;
}

void UnloadPlugin(Plugin& plugin) {
  if (plugin.library != nullptr) CloseLibrary(plugin.library);
  plugin = Plugin{};
}

bool FetchText(abi::TextExport fetch, std::string& text, AbnormalEnd& end) {
  int32_t length = 0;
  if (!CallGuarded([&] { length = fetch(nullptr, 0); }, end)) return false;
  text.assign(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  int32_t copied = 0;
  if (!CallGuarded([&] { copied = fetch(text.data(), length); }, end)) return false;
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return true;
}

}  // namespace quillet::host
