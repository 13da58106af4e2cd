// Fault containment for the development build: the kernel checks a copy into
// host memory, host failures are C++ exceptions, and an abnormal end is an
// AbnormalEndException that escapes the export.
#include "platform/Fault.h"

#include <cxxabi.h>
#include <sys/uio.h>
#include <unistd.h>

namespace quillet::platform {

bool GuardedCopy(void* destination, const void* source, size_t size) {
  // process_vm_writev on our own process writes like memcpy but reports an
  // unwritable destination as EFAULT instead of raising SIGSEGV.
  iovec local{const_cast<void*>(source), size};
  iovec remote{destination, size};
  return process_vm_writev(getpid(), &local, 1, &remote, 1, 0) == static_cast<ssize_t>(size);
}

// A cancellation's abi::__forced_unwind has no object for its handler to bind
// to, which the sanitizer's null check would report.
__attribute__((no_sanitize("null"))) bool CallCatchingHostFailure(void (*call)(void* argument),
                                                                  void* argument,
                                                                  std::string& failure) {
  try {
    call(argument);
    return true;
  } catch (const abi::__forced_unwind&) {
    throw;  // the thread is being cancelled: it must unwind to its end
  } catch (const std::exception& hostFailure) {
    failure = hostFailure.what();
  } catch (...) {
    failure = "External exception";
  }
  return false;
}

void EndHostCall(const char* kind, const char* message, size_t length) {
  throw AbnormalEndException(kind, message, length);
}

}  // namespace quillet::platform
