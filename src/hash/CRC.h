// CRC-32 of the polynomial 0x04C11DB7 in both bit orders: CRC32 shifts the
// most significant bit first, CRC32B is the reflected (zlib) form.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quillet {

void CrcInit(uint32_t& crc);
void Crc32Update(uint32_t& crc, const uint8_t* data, size_t length);
void Crc32BUpdate(uint32_t& crc, const uint8_t* data, size_t length);
// Replaces hex with the checksum's four bytes, least significant first.
void CrcFinal(uint32_t& crc, std::string& hex);

}  // namespace quillet
