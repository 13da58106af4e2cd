// How much of the C runtime's heap the process uses now, for tests that
// check that the plug-in gives back what it took.
#pragma once

#include <cstddef>

namespace quillet::conformance {

// Bytes in blocks handed out by the heap that malloc and operator new use in
// the plug-in and in this program (the sanitizer's heap where there is one).
size_t HeapBytesInUse();

}  // namespace quillet::conformance
