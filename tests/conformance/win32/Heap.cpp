// The heap in use on Windows: the C runtime's heap (msvcrt.dll's, which the
// plug-in and this program share), walked block by block.
#include <malloc.h>

#include "support/Heap.h"

namespace quillet::conformance {

size_t HeapBytesInUse() {
  size_t used = 0;
  _HEAPINFO block{};
  while (_heapwalk(&block) == _HEAPOK)
    if (block._useflag == _USEDENTRY) used += block._size;
  return used;
}

}  // namespace quillet::conformance
