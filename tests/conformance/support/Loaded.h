// The plug-in under test, loaded once for the whole program the way a host
// loads it, and small helpers for calling its exports.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/Plugin.h"
#include "host/Provider.h"

namespace quillet::conformance {

// The plug-in under test: the file beside the test program, or $QUILLET_PLUGIN.
std::string PluginPath();

// The plug-in under test, loaded once.
host::Plugin& Loaded();

struct MacroRun {
  bool ended = false;  // the call ended abnormally
  host::AbnormalEnd end;
  int32_t answer = 0;
};

// Runs one macro through WRP_ExecMacro with the given providers.
MacroRun Exec(const std::string& name, host::HostProvider& context, host::HostProvider& params);
MacroRun ExecRaw(const char* name, int32_t nameLength, host::HostProvider& context,
                 host::HostProvider& params);

// The macro's delivered text, failing the test unless it was delivered once.
std::string Delivered(const host::HostProvider& context);

// WRP_Initialize and WRP_Finalize, failing the test if either ends abnormally.
void Initialize();
void Finalize();

// A test that runs inside one component set's life.
class WithComponentSet : public ::testing::Test {
 protected:
  void SetUp() override { Initialize(); }
  void TearDown() override { Finalize(); }
};

// Runs a macro with params and answers its delivered result; the test fails
// unless the call answered 0 and delivered exactly once.
std::string Result(const std::string& name, std::vector<std::string> params = {});

}  // namespace quillet::conformance
