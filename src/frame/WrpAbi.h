// The binary contract with the host: calling convention, export visibility and
// the entry points' signatures. This is the one header outside src/platform
// that may look at the target platform.
#pragma once

#include <cstdint>

#ifdef _WIN32
#define WRP_CALL __stdcall
#define WRP_EXPORT
#else
#define WRP_CALL
#define WRP_EXPORT __attribute__((visibility("default")))
#endif

namespace quillet {
struct IWRPDataProvider;
}

extern "C" {
WRP_EXPORT int32_t WRP_CALL WRP_GetInfo(char* buffer, int32_t size);
WRP_EXPORT int32_t WRP_CALL WRP_ExecMacro(const char* name, int32_t nameLength,
                                          quillet::IWRPDataProvider* context,
                                          quillet::IWRPDataProvider* params);
WRP_EXPORT int32_t WRP_CALL WRP_GetMacroList(char* buffer, int32_t size);
WRP_EXPORT int32_t WRP_CALL WRP_NeedCOM();
WRP_EXPORT int32_t WRP_CALL WRP_Setup();
WRP_EXPORT void WRP_CALL WRP_Initialize();
WRP_EXPORT void WRP_CALL WRP_Finalize();
WRP_EXPORT int32_t WRP_CALL WRP_GetName(char* buffer, int32_t size);
WRP_EXPORT int32_t WRP_CALL WRP_GetVersion(char* buffer, int32_t size);
WRP_EXPORT int32_t WRP_CALL WRP_GetStatus();
WRP_EXPORT int32_t WRP_CALL WRP_NeedConfig();
}

// Function pointer shapes for hosts that load the library at run time.
namespace quillet::abi {
using TextExport = int32_t(WRP_CALL*)(char* buffer, int32_t size);
using AnswerExport = int32_t(WRP_CALL*)();
using VoidExport = void(WRP_CALL*)();
using ExecMacroExport = int32_t(WRP_CALL*)(const char* name, int32_t nameLength,
                                           IWRPDataProvider* context, IWRPDataProvider* params);
}  // namespace quillet::abi

// How an export ends abnormally is part of the contract too: see
// platform/Fault.h.
