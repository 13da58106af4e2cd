// Fault containment at the host boundary: copying into memory the host owns,
// calling into the host, and ending a host call abnormally. Each platform
// catches faults in its own way (structured exceptions on Windows, C++
// exceptions and system-call checks on POSIX).
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

namespace quillet::platform {

// Copies size bytes to destination; false when destination cannot be written.
bool GuardedCopy(void* destination, const void* source, size_t size);

// Runs call(argument); false when the call failed with whatever the host
// raises (a structured exception on Windows, a C++ exception on POSIX), which
// is then described in failure. A thread's cancellation passes on.
bool CallCatchingHostFailure(void (*call)(void* argument), void* argument, std::string& failure);

// How a host call ends abnormally, as hosts see it. On Windows: the
// structured exception kAbnormalEndCode, whose ExceptionInformation[0]
// points to the zero-terminated message, [1] is its length in bytes and [2]
// points to the zero-terminated error kind. On POSIX: an AbnormalEndException
// thrown out of the export.
inline constexpr uint32_t kAbnormalEndCode = 0xE0514C54u;  // 'QLT' with the customer bit
inline constexpr uint32_t kAbnormalEndArgs = 3;

class AbnormalEndException final : public std::exception {
 public:
  AbnormalEndException(const char* kind, const char* message, size_t length) noexcept
      : kind_(kind), message_(message), length_(length) {}

  const char* what() const noexcept override { return message_; }
  const char* kind() const noexcept { return kind_; }
  const char* message() const noexcept { return message_; }
  size_t length() const noexcept { return length_; }

 private:
  const char* kind_;
  const char* message_;
  size_t length_;
};

// Ends the current host call abnormally with the given kind and message. Both
// texts must live in storage that outlives the call (the host reads them
// after this returns control to it, until its next call into the plug-in).
// Called only when no C++ object of the call is alive any more.
[[noreturn]] void EndHostCall(const char* kind, const char* message, size_t length);

}  // namespace quillet::platform
