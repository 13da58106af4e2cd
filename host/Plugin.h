// A loaded plug-in: its eleven entry points, and calls into it that survive
// its abnormal end. Shared by wrphost and the black-box tests.
#pragma once

#include <cstdint>
#include <string>

#include "frame/WrpAbi.h"
#include "host/Host.h"

namespace quillet::host {

struct Plugin {
  void* library = nullptr;
  abi::TextExport getInfo = nullptr;
  abi::ExecMacroExport execMacro = nullptr;
  abi::TextExport getMacroList = nullptr;
  abi::AnswerExport needCOM = nullptr;
  abi::AnswerExport setup = nullptr;
  abi::VoidExport initialize = nullptr;
  abi::VoidExport finalize = nullptr;
  abi::TextExport getName = nullptr;
  abi::TextExport getVersion = nullptr;
  abi::AnswerExport getStatus = nullptr;
  abi::AnswerExport needConfig = nullptr;
};

// Loads the library and resolves all eleven exports; false with a reason.
bool LoadPlugin(const std::string& path, Plugin& plugin, std::string& error);
void UnloadPlugin(Plugin& plugin);

// Runs body() inside the plug-in; false when the plug-in ended the call
// abnormally, described in end.
template <typename Body>
bool CallGuarded(Body&& body, AbnormalEnd& end) {
  return CallPlugin([](void* argument) { (*static_cast<Body*>(argument))(); }, &body, end);
}

// A text export fetched the way a host does: length first, then the bytes.
bool FetchText(abi::TextExport fetch, std::string& text, AbnormalEnd& end);

}  // namespace quillet::host
