#pragma once

#include <QByteArray>
#include <QDateTime>

#include <cstdint>

// Small byte helpers of the simulated station and batons. They are kept apart
// from the program's own frame code on purpose: the simulator checks that code
// and must not share its mistakes.
namespace dorodure::sim {

// CRC-8/MAXIM (reflected polynomial 0x8C, initial value 0, no final XOR).
std::uint8_t crc8(const QByteArray& bytes);
// The bytes followed by their CRC-8/MAXIM.
QByteArray withCrc(QByteArray bytes);

// Packed BCD: 45 -> 0x45. Values above 99 are not representable.
std::uint8_t toBcd(int value);
// 0x45 -> 45; -1 when a nibble is not a decimal digit.
int fromBcd(std::uint8_t bcd);

// The seconds count of the seconds-clock batons for a local wall-clock time:
// the local time counted as if it were UTC in seconds since 1 January 1970,
// plus one.
std::uint32_t batonSeconds(const QDateTime& local);
QDateTime fromBatonSeconds(std::uint32_t value);

// "0B 02 00 08" style text for logs and test messages.
QString hexText(const QByteArray& bytes);

}  // namespace dorodure::sim
