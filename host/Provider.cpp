// The reference host's data provider.
#include "host/Provider.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "host/Host.h"

namespace quillet::host {

int32_t HostProvider::QueryInterface(const void*, void** object) {
  if (object != nullptr) *object = nullptr;
  return static_cast<int32_t>(0x80004002u);  // E_NOINTERFACE: nobody asks
}

int32_t HostProvider::GetText(int32_t index, char* buffer, int32_t size) {
  ++getTextCalls_;
  if (failGetTextAt && *failGetTextAt == index) RaiseHostFailure("List index out of bounds");
  if (index < 0 || static_cast<size_t>(index) >= items_.size()) return 0;
  const std::string& item = items_[static_cast<size_t>(index)];
  const auto length = static_cast<int32_t>(item.size());
  if (buffer == nullptr) return announcedLength.value_or(length);
  const int32_t count = std::clamp(size, 0, length);
  if (count > 0) std::memcpy(buffer, item.data(), static_cast<size_t>(count));
  return count;
}

// A failure is raised while no object of this frame is alive: on Windows it
// leaves the frame without running destructors, as a real host's would.
int32_t HostProvider::SetText(int32_t index, const char* text, int32_t length) {
  const size_t size = length > 0 ? static_cast<size_t>(length) : 0;
  setTextCalls_.push_back({index, std::string(text, size), text[size] == '\0'});
  if (failSetText) RaiseHostFailure("Cannot insert the text");
  if (index >= 0) {
    if (items_.size() <= static_cast<size_t>(index)) items_.resize(static_cast<size_t>(index) + 1);
    items_[static_cast<size_t>(index)] = setTextCalls_.back().text;
  }
  return 0;
}

int32_t HostProvider::GetInt(int32_t index) {
  if (failGetInt) RaiseHostFailure("'x' is not a valid integer value");
  if (index < 0 || static_cast<size_t>(index) >= items_.size()) return 0;
  return static_cast<int32_t>(std::strtol(items_[static_cast<size_t>(index)].c_str(), nullptr, 10));
}

int32_t HostProvider::GetCount() {
  ++getCountCalls_;
  if (failGetCount) RaiseHostFailure("The parameter list is gone");
  return static_cast<int32_t>(items_.size());
}

int32_t HostProvider::ExpandTemplate(const char* text, int32_t length, int32_t flags,
                                     IWRPDataProvider* provider) {
  const size_t size = length > 0 ? static_cast<size_t>(length) : 0;
  expandCalls_.push_back({std::string(text, size), flags, provider == this, provider == nullptr});
  if (failExpandTemplate) RaiseHostFailure("Unknown template command");
  if (items_.empty()) items_.resize(1);
  items_[0] = onCommand ? onCommand(expandCalls_.back().text) : std::string();
  return 0;
}

}  // namespace quillet::host
