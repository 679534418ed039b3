#pragma once

#include <QtGlobal>

#include <cstdint>

namespace dorodure::rawfile {

// The Dallas/Maxim CRC-8 (polynomial x^8 + x^5 + x^4 + 1, bits taken
// least significant first, start value 0) that protects the station's frames
// and the check byte of every clocking record.
std::uint8_t crc8Maxim(const std::uint8_t* data, qsizetype length);

}  // namespace dorodure::rawfile
