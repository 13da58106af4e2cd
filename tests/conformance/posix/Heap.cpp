// The heap in use natively: the sanitizer's count when it runs, else glibc's.
#include "support/Heap.h"

#include <malloc.h>

// Present when AddressSanitizer runs, whose heap replaces glibc's.
extern "C" size_t __sanitizer_get_current_allocated_bytes() __attribute__((weak));

namespace quillet::conformance {

size_t HeapBytesInUse() {
  if (__sanitizer_get_current_allocated_bytes != nullptr)
    return __sanitizer_get_current_allocated_bytes();
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

}  // namespace quillet::conformance
