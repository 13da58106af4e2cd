// The reference host's data provider.
#include "host/Provider.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/Host.h"

namespace quillet::host {

int32_t HostProvider::QueryInterface(const void*, void** object) {
  if (object != nullptr) *object = nullptr;
  return static_cast<int32_t>(0x80004002u);  // E_NOINTERFACE: nobody asks
}

int32_t HostProvider::GetText(int32_t index, char* buffer, int32_t size) {
  ++getTextCalls_;
  if (failGetTextAt && *failGetTextAt == index)
    platform::RaiseHostFailure("List index out of bounds");
  if (index < 0 || static_cast<size_t>(index) >= items_.size()) return 0;
  const std::string& item = items_[static_cast<size_t>(index)];
  const auto length = static_cast<int32_t>(item.size());
  if (buffer == nullptr) return length;
  const int32_t count = std::clamp(size, 0, length);
  if (count > 0) std::memcpy(buffer, item.data(), static_cast<size_t>(count));
  return count;
}

int32_t HostProvider::SetText(int32_t index, const char* text, int32_t length) {
  const std::string value(text, length > 0 ? static_cast<size_t>(length) : 0);
  setTextCalls_.push_back({index, value, text[length > 0 ? length : 0] == '\0'});
  if (index >= 0) {
    if (items_.size() <= static_cast<size_t>(index)) items_.resize(static_cast<size_t>(index) + 1);
    items_[static_cast<size_t>(index)] = value;
  }
  return 0;
}

int32_t HostProvider::GetInt(int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= items_.size()) return 0;
  return static_cast<int32_t>(std::strtol(items_[static_cast<size_t>(index)].c_str(), nullptr, 10));
}

int32_t HostProvider::GetCount() {
  ++getCountCalls_;
  return static_cast<int32_t>(items_.size());
}

int32_t HostProvider::ExpandTemplate(const char* text, int32_t length, int32_t flags,
                                     IWRPDataProvider* provider) {
  const std::string command(text, length > 0 ? static_cast<size_t>(length) : 0);
  expandCalls_.push_back({command, flags, provider == this, provider == nullptr});
  const std::string outcome = onCommand ? onCommand(command) : std::string();
  if (items_.empty()) items_.resize(1);
  items_[0] = outcome;
  return 0;
}

}  // namespace quillet::host
