#include "processing/raw/crc8.h"

namespace dorodure::rawfile {

std::uint8_t crc8Maxim(const std::uint8_t* data, qsizetype length) {
    std::uint8_t crc = 0;
    for (qsizetype i = 0; i < length; ++i) {
        std::uint8_t byte = data[i];
        for (int bit = 0; bit < 8; ++bit) {
            const bool mix = ((crc ^ byte) & 0x01) != 0;
            crc = std::uint8_t(crc >> 1);
            if (mix) {
                crc ^= 0x8C;
            }
            byte = std::uint8_t(byte >> 1);
        }
    }
    return crc;
}

}  // namespace dorodure::rawfile
