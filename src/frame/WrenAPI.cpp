// Every call into the host's data provider runs here, under the guard that
// turns a host failure into a value or a Failure.
#include "frame/WrenAPI.h"

#include <algorithm>
#include <limits>
#include <memory>
#include <new>

#include "frame/Failure.h"
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

// Runs one call into the host with its failures contained; false (with the
// failure described) when the host failed. The guarded call creates no C++
// object, so nothing is lost when the host's failure skips over it.
template <typename Call>
bool Guarded(Call& call, std::string& failure) {
  return platform::CallCatchingHostFailure(
      [](void* argument) { (*static_cast<Call*>(argument))(); }, &call, failure);
}

// A host failure outside GetText ends the macro call: it becomes a failure of
// our own, which unwinds through the plug-in like any other.
template <typename Call>
void CallHost(Call&& call) {
  std::string failure;
  if (!Guarded(call, failure)) Raise(kEExternalException, failure);
}

bool GuardedGetText(GetTextCall& call) {
  std::string ignored;
  auto getText = [&call] {
    call.answer = call.provider->GetText(call.index, call.buffer, call.size);
  };
  return Guarded(getText, ignored);
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
  // The host may announce up to 2 GiB, more than a 32-bit process holds as
  // text: that is out of memory, not a failure of the string's own. The
  // buffer is left uninitialised, as the host fills it.
  const auto length = static_cast<size_t>(probe.answer);
  if (length > std::string().max_size()) throw std::bad_alloc();
  const std::unique_ptr<char[]> buffer = std::make_unique_for_overwrite<char[]>(length);
  GetTextCall fetch{provider, index, buffer.get(), probe.answer, 0};
  if (!GuardedGetText(fetch) || fetch.answer <= 0) return {};
  return std::string(buffer.get(), static_cast<size_t>(std::min(fetch.answer, probe.answer)));
}

int32_t GetParamInt(IWRPDataProvider* provider, int32_t index) {
  int32_t value = 0;
  CallHost([&] { value = provider->GetInt(index); });
  return value;
}

int32_t GetParamCount(IWRPDataProvider* provider) {
  int32_t count = 0;
  CallHost([&] { count = provider->GetCount(); });
  return count;
}

void SetResultText(IWRPDataProvider* context, const std::string& text) {
  const char* bytes = text.c_str();
  const int32_t length = ClampedLength(text.size());
  CallHost([&] { context->SetText(0, bytes, length); });
}

void ExpandHostTemplate(IWRPDataProvider* context, const std::string& command,
                        IWRPDataProvider* provider) {
  const char* bytes = command.c_str();
  const int32_t length = ClampedLength(command.size());
  CallHost([&] { context->ExpandTemplate(bytes, length, 0, provider); });
}

}  // namespace quillet
