// Storage for the failure that ends a host call.
#include "frame/Boundary.h"

#include <new>
#include <string>
#include <string_view>

#include "frame/Failure.h"

namespace quillet {
namespace {

std::string gKind;
std::string gMessage;

// The texts of failures whose own texts cannot be kept: static, because
// nothing on this path may allocate.
constexpr char kOutOfMemoryText[] = "Out of memory";
constexpr char kUnknownFailureText[] = "Unknown failure inside Quillet";

RememberedFailure OutOfMemory() noexcept {
  return {kEOutOfMemory, kOutOfMemoryText, sizeof kOutOfMemoryText - 1};
}

RememberedFailure Keep(std::string_view kind, std::string_view message) noexcept {
  try {
    gKind.assign(kind);
    gMessage.assign(message);
    return {gKind.c_str(), gMessage.c_str(), gMessage.size()};
  } catch (...) {
    return OutOfMemory();
  }
}

}  // namespace

RememberedFailure RememberCurrentFailure() noexcept {
  try {
    throw;
  } catch (const Failure& failure) {
    return Keep(failure.kind(), failure.message());
  } catch (const std::bad_alloc&) {
    return OutOfMemory();
  } catch (const std::exception& failure) {
    return Keep(kException, failure.what());
  } catch (...) {
    return {kException, kUnknownFailureText, sizeof kUnknownFailureText - 1};
  }
}

}  // namespace quillet
