// A host data provider: holds the parameters of a macro call, receives its
// result, carries out the host commands the plug-in issues, and records every
// call the plug-in makes so that tests can check them.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "frame/WrenAPI.h"

namespace quillet::host {

struct SetTextCall {
  int32_t index;
  std::string text;
  bool terminated;  // the bytes were followed by a zero
};

struct ExpandCall {
  std::string text;
  int32_t flags;
  bool providerIsSelf;
  bool providerIsNull;
};

class HostProvider final : public IWRPDataProvider {
 public:
  HostProvider() = default;
  explicit HostProvider(std::vector<std::string> items) : items_(std::move(items)) {}

  // The host's answer to a template command: the text left as item 0.
  std::function<std::string(std::string_view command)> onCommand;
  // GetText of this index fails the way the host's runtime fails.
  std::optional<int32_t> failGetTextAt;
  // GetText with a null buffer answers this length, whatever the item's.
  std::optional<int32_t> announcedLength;
  // These operations fail the same way (after recording the call).
  bool failGetInt = false;
  bool failGetCount = false;
  bool failSetText = false;
  bool failExpandTemplate = false;

  std::vector<std::string>& items() { return items_; }
  const std::vector<SetTextCall>& setTextCalls() const { return setTextCalls_; }
  const std::vector<ExpandCall>& expandCalls() const { return expandCalls_; }
  int32_t getCountCalls() const { return getCountCalls_; }
  int32_t getTextCalls() const { return getTextCalls_; }

  int32_t WRP_CALL QueryInterface(const void* iid, void** object) override;
  uint32_t WRP_CALL AddRef() override { return 1; }
  uint32_t WRP_CALL Release() override { return 1; }
  int32_t WRP_CALL GetText(int32_t index, char* buffer, int32_t size) override;
  int32_t WRP_CALL SetText(int32_t index, const char* text, int32_t length) override;
  int32_t WRP_CALL GetInt(int32_t index) override;
  int32_t WRP_CALL Reserved4() override { return 0; }
  int32_t WRP_CALL Reserved5() override { return 0; }
  int32_t WRP_CALL GetCount() override;
  int32_t WRP_CALL ExpandTemplate(const char* text, int32_t length, int32_t flags,
                                  IWRPDataProvider* provider) override;

 private:
  std::vector<std::string> items_;
  std::vector<SetTextCall> setTextCalls_;
  std::vector<ExpandCall> expandCalls_;
  int32_t getCountCalls_ = 0;
  int32_t getTextCalls_ = 0;
};

}  // namespace quillet::host
