// SHA-1 and SHA-256 block transforms on the x86 SHA extensions, for the
// processors that have them; SHA.cpp decides whether they are used.
#pragma once

#include "hash/SHA.h"

namespace quillet {

// The accelerated transforms when this processor has the SHA extensions and
// the SSSE3 and SSE4.1 they work with, otherwise null. Asks the processor on
// every call; SHA.cpp asks once.
const Sha32Transforms* X86Sha32Transforms();

}  // namespace quillet
