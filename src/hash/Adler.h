// Adler-32 (RFC 1950).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

void AdlerInit(uint32_t& adler);
void AdlerUpdate(uint32_t& adler, const uint8_t* data, size_t length);
// Replaces hex with the checksum, most significant digit first.
void AdlerFinal(uint32_t& adler, std::string& hex);

}  // namespace quillet
