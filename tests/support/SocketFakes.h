// The fixture that the address and HOSTNAME tests share: the system's socket
// calls replaced for the life of a test, inside a component set.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "frame/SetMakeUp.h"
#include "host/Provider.h"
#include "net/Address.h"
#include "net/NetMacros.h"
#include "platform/Sockets.h"

namespace quillet::testing {

using platform::Sockets;

// Replaces the system's socket calls for one test with calls that record
// what they were asked and answer as the test says.
class FakeSockets : public ::testing::Test {
 protected:
  static inline std::vector<std::string> asked;
  static inline int resolveError = 0;
  static inline int reverseError = 0;

  void SetUp() override {
    asked.clear();
    resolveError = reverseError = 0;
    calls_ = Sockets();
    calls_.resolveName = [](const std::string& name, platform::Ipv4Address& address) {
      asked.push_back("resolve " + name);
      address = 0x0A000001;
      return resolveError;
    };
    calls_.reverseLookup = [](platform::Ipv4Address address, std::string& name) {
      asked.push_back("reverse " + DottedAddress(address));
      name = "host.example";
      return reverseError;
    };
    calls_.classicAddress = Classic;
    platform::ReplaceSockets(&calls_);
    MakeComponentSet();
  }
  void TearDown() override {
    FreeComponentSet();
    platform::ReplaceSockets(nullptr);
  }

  static platform::Ipv4Address Classic(const std::string& text) {
    asked.push_back("convert [" + text + "]");
    return system_.classicAddress(text);
  }

  static std::string HostName(std::vector<std::string> params) {
    host::HostProvider context;
    host::HostProvider provider(std::move(params));
    std::string result;
    HostNameMacro(&context, &provider, result);
    return result;
  }

  static inline platform::SocketCalls calls_{};
  static inline const platform::SocketCalls system_ = Sockets();
};

}  // namespace quillet::testing
