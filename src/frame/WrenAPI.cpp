// The buffer convention and the parameter readers.
#include "frame/WrenAPI.h"

#include <algorithm>
#include <limits>

#include "platform/Fault.h"

namespace quillet {
namespace {

int32_t ClampedLength(size_t length) {
  return static_cast<int32_t>(std::min<size_t>(length, std::numeric_limits<int32_t>::max()));
}

struct GetTextCall {
  IWRPDataProvider* provider;
  int32_t index;
  char* buffer;
  int32_t size;
  int32_t answer;
};

// One GetText call with every host failure contained; false when it failed.
// No C++ object lives inside the guarded call, so nothing is lost when the
// host's failure skips over it.
bool GuardedGetText(GetTextCall& call) {
  return platform::CallCatchingHostFailure(
      [](void* argument) {
        auto* c = static_cast<GetTextCall*>(argument);
        c->answer = c->provider->GetText(c->index, c->buffer, c->size);
      },
      &call);
}

}  // namespace

int32_t CopyToBuffer(std::string_view text, char* buffer, int32_t size) {
  const int32_t length = ClampedLength(text.size());
  if (buffer == nullptr || size < 0) return length;
  const int32_t count = std::min(size, length);
  if (count > 0 && !platform::GuardedCopy(buffer, text.data(), static_cast<size_t>(count)))
    return 0;
  return count;
}

std::string GetParamStr(IWRPDataProvider* provider, int32_t index) {
  GetTextCall probe{provider, index, nullptr, 0, 0};
  if (!GuardedGetText(probe) || probe.answer <= 0) return {};
  std::string text(static_cast<size_t>(probe.answer), '\0');
  GetTextCall fetch{provider, index, text.data(), probe.answer, 0};
  if (!GuardedGetText(fetch) || fetch.answer <= 0) return {};
  text.resize(static_cast<size_t>(std::min(fetch.answer, probe.answer)));
  return text;
}

int32_t GetParamInt(IWRPDataProvider* provider, int32_t index) {
  return provider->GetInt(index);
}

}  // namespace quillet
