// SHA-1 and SHA-256 block transforms on the x86 SHA extensions, for the
// processors that have them; SHA.cpp decides whether they are used. The
// kernel is SHA_shani.cpp (ShaniSha32Kernels was X86Sha32Transforms).
#pragma once

#include "hash/SHA.h"

namespace quillet {

// The accelerated kernels when this processor has the SHA extensions and
// the SSSE3 and SSE4.1 they work with, otherwise null.
const Sha32Kernels* ShaniSha32Kernels();

}  // namespace quillet
