// The host side on Windows: LoadLibrary, the plug-in's structured exception
// caught and read, and a host failure raised the way a native host raises one.
#include "host/Host.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "base/Ascii.h"
#include "platform/Fault.h"
#include "platform/win32/Seh.h"

namespace quillet::host {
namespace {

constexpr DWORD kHostFailureCode = 0x0EEDFADE;  // what the host's own runtime raises

std::string SystemMessage(DWORD code) {
  char text[512] = {};
  const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                      nullptr, code, 0, text, sizeof text, nullptr);
  const std::string message(TrimRight(std::string_view(text, length)));
  return message.empty() ? "system error " + std::to_string(code) : message;
}

}  // namespace

std::string DefaultPluginPath() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory(path, length);
  const size_t slash = directory.find_last_of("\\/");
  directory.resize(slash == std::string::npos ? 0 : slash + 1);
  return directory + "Quillet.WRP";
}

void* OpenLibrary(const std::string& path, std::string& error) {
  HMODULE module = LoadLibraryA(path.c_str());
  if (module == nullptr) error = SystemMessage(GetLastError());
  return reinterpret_cast<void*>(module);
}

void* FindExport(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void CloseLibrary(void* library) {
  FreeLibrary(static_cast<HMODULE>(library));
}

bool CallPlugin(void (*call)(void* argument), void* argument, AbnormalEnd& end) {
  EXCEPTION_RECORD record{};
  if (platform::QuilletRunRegistered(call, argument, &record)) return true;
  if (record.ExceptionCode == platform::kAbnormalEndCode &&
      record.NumberParameters >= platform::kAbnormalEndArgs) {
    const auto* message = reinterpret_cast<const char*>(record.ExceptionInformation[0]);
    const auto length = static_cast<size_t>(record.ExceptionInformation[1]);
    end.message.assign(message, length);
    end.kind = reinterpret_cast<const char*>(record.ExceptionInformation[2]);
  } else {
    char code[16];
    std::snprintf(code, sizeof code, "%08lX", static_cast<unsigned long>(record.ExceptionCode));
    end.kind = "EExternalException";
    end.message = std::string("External exception ") + code;
  }
  return false;
}

void RaiseHostFailure(const char* message) {
  const ULONG_PTR information[2] = {reinterpret_cast<ULONG_PTR>(message),
                                    static_cast<ULONG_PTR>(std::strlen(message))};
  RaiseException(kHostFailureCode, EXCEPTION_NONCONTINUABLE, 2, information);
  __builtin_unreachable();
}

void SetBinaryStdout() {
  std::fflush(stdout);
  _setmode(_fileno(stdout), _O_BINARY);
}

}  // namespace quillet::host
