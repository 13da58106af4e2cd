// Storage for the failure that ends a host call.
#include "frame/Boundary.h"

#include <new>
#include <string>

#include "frame/Failure.h"

namespace quillet {
namespace {

std::string gKind;
std::string gMessage;

constexpr char kOutOfMemoryText[] = "Out of memory";

RememberedFailure Keep(const std::string& kind, const std::string& message) noexcept {
  try {
    gKind = kind;
    gMessage = message;
    return {gKind.c_str(), gMessage.c_str(), gMessage.size()};
  } catch (...) {
    return {kEOutOfMemory, kOutOfMemoryText, sizeof kOutOfMemoryText - 1};
  }
}

}  // namespace

RememberedFailure RememberCurrentFailure() noexcept {
  try {
    throw;
  } catch (const Failure& failure) {
    return Keep(failure.kind(), failure.message());
  } catch (const std::bad_alloc&) {
    return {kEOutOfMemory, kOutOfMemoryText, sizeof kOutOfMemoryText - 1};
  } catch (const std::exception& failure) {
    try {
      return Keep(kException, failure.what());
    } catch (...) {
      return {kEOutOfMemory, kOutOfMemoryText, sizeof kOutOfMemoryText - 1};
    }
  } catch (...) {
    return Keep(kException, "Unknown failure inside Quillet");
  }
}

}  // namespace quillet
