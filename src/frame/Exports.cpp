// The eleven entry points the host calls. Each runs its work at the export
// boundary, so a failure reaches the host as an abnormal end and never as an
// escaped C++ exception or a crash.
#include <string>

#include "frame/Boundary.h"
#include "frame/Failure.h"
#include "frame/Macros.h"
#include "frame/Options.h"
#include "frame/SetMakeUp.h"
#include "frame/Settings.h"
#include "frame/Version.h"
#include "frame/WrenAPI.h"
#include "frame/WrpAbi.h"

using namespace quillet;

namespace {

constexpr char kProductName[] = "Quillet";

int32_t RunMacro(const char* name, int32_t nameLength, IWRPDataProvider* context,
                 IWRPDataProvider* params) {
  if (nameLength < 1) return -1;
  const MacroRow* row = FindMacro(name);
  if (row == nullptr) return -1;
  if (context == nullptr || params == nullptr)
    Raise(kException, "The host passed no data provider for " + std::string(row->name));
  std::string result;
  row->handler(context, params, result);
  SetResultText(context, result);
  return 0;
}

}  // namespace

extern "C" {

int32_t WRP_CALL WRP_GetInfo(char* buffer, int32_t size) {
  return AtBoundary([&] { return CopyToBuffer(GetInfoPage(), buffer, size); });
}

int32_t WRP_CALL WRP_ExecMacro(const char* name, int32_t nameLength, IWRPDataProvider* context,
                               IWRPDataProvider* params) {
  return AtBoundary([&] { return RunMacro(name, nameLength, context, params); });
}

int32_t WRP_CALL WRP_GetMacroList(char* buffer, int32_t size) {
  return AtBoundary([&] { return CopyToBuffer(MacroListText(), buffer, size); });
}

int32_t WRP_CALL WRP_NeedCOM() {
  return 1;
}

int32_t WRP_CALL WRP_Setup() {
  return 0;
}

void WRP_CALL WRP_Initialize() {
  AtBoundary([] {
    MakeComponentSet();
    SettingsFileName() = LocateSettingsFile();
    LoadOptions(SettingsFileName());
  });
}

void WRP_CALL WRP_Finalize() {
  AtBoundary([] { FreeComponentSet(); });
}

int32_t WRP_CALL WRP_GetName(char* buffer, int32_t size) {
  return AtBoundary([&] { return CopyToBuffer(kProductName, buffer, size); });
}

int32_t WRP_CALL WRP_GetVersion(char* buffer, int32_t size) {
  return AtBoundary([&] { return CopyToBuffer(GetVersionText(), buffer, size); });
}

int32_t WRP_CALL WRP_GetStatus() {
  return 0;
}

int32_t WRP_CALL WRP_NeedConfig() {
  return 0;
}

}  // extern "C"
