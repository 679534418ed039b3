#include "link/sim/sim_bytes.h"

#include <QStringList>

namespace dorodure::sim {

std::uint8_t crc8(const QByteArray& bytes) {
    std::uint8_t crc = 0;
    for (char c : bytes) {
        auto data = static_cast<std::uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) {
            const bool low = ((crc ^ data) & 0x01) != 0;
            crc = low ? static_cast<std::uint8_t>(((crc ^ 0x18) >> 1) | 0x80)
                      : static_cast<std::uint8_t>(crc >> 1);
            data = static_cast<std::uint8_t>(data >> 1);
        }
    }
    return crc;
}

QByteArray withCrc(QByteArray bytes) {
    const std::uint8_t crc = crc8(bytes);
    bytes.append(static_cast<char>(crc));
    return bytes;
}

std::uint8_t toBcd(int value) {
    return static_cast<std::uint8_t>(((value / 10) % 10) * 16 + value % 10);
}

int fromBcd(std::uint8_t bcd) {
    const int high = bcd >> 4;
    const int low = bcd & 0x0F;
    if (high > 9 || low > 9) {
        return -1;
    }
    return high * 10 + low;
}

std::uint32_t batonSeconds(const QDateTime& local) {
    const QDateTime asUtc(local.date(), local.time(), Qt::UTC);
    return static_cast<std::uint32_t>(asUtc.toSecsSinceEpoch() + 1);
}

QDateTime fromBatonSeconds(std::uint32_t value) {
    const QDateTime asUtc = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(value) - 1, Qt::UTC);
    return QDateTime(asUtc.date(), asUtc.time());
}

QString hexText(const QByteArray& bytes) {
    QStringList parts;
    for (char c : bytes) {
        parts << QStringLiteral("%1").arg(static_cast<std::uint8_t>(c), 2, 16, QLatin1Char('0'));
    }
    return parts.join(QLatin1Char(' ')).toUpper();
}

}  // namespace dorodure::sim
