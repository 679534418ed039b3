#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>

namespace dorodure::frames {

// CRC-8/MAXIM (Dallas 1-Wire): reflected polynomial 0x8C, initial value 0, no
// final XOR. The CRC of a frame including its own correct checksum is 0.
std::uint8_t crc8(const QByteArray& bytes);
std::uint8_t crc8(const std::uint8_t* bytes, qsizetype count);
// True when byte n (1-based) is the CRC of bytes 1 .. n-1.
bool checkAt(const QByteArray& bytes, qsizetype n);

// Appends the checksum to command byte and parameters.
QByteArray withCrc(const QByteArray& commandAndParameters);

// Literal frames, written in one call.
inline const QByteArray kReadIdentity = QByteArray::fromHex("015E");
inline const QByteArray kReadClockBcd = QByteArray::fromHex("03E2");
inline const QByteArray kReadClockSeconds = QByteArray::fromHex("335C");
inline const QByteArray kNextPacket = QByteArray::fromHex("0DFD");
inline const QByteArray kGreeting = QByteArray::fromHex("010D");
// The answer to a baton's greeting: twenty bytes 0x55.
inline const QByteArray kGreetingAnswer = QByteArray(20, '\x55');

// Packed BCD of 0-99 (45 -> 0x45).
std::uint8_t toBcd(int value);

// 05 CC YY MM DD hh mm ss WD CRC: the PC's date and time for BCD-clock batons.
QByteArray setClockBcd(const QDateTime& localNow);
// 35 T0 T1 T2 T3 CRC: the local wall-clock time as seconds since 1 January
// 1970 plus one, least significant byte first, for seconds-clock batons.
QByteArray setClockSeconds(const QDateTime& localNow);
// The seconds count of setClockSeconds (no time-zone conversion).
quint32 batonSeconds(const QDateTime& localNow);
// The local wall-clock time a seconds-clock baton reports.
QDateTime fromBatonSeconds(quint32 value);

// 07 c1 c2 c3 c4 CRC: a new four-character baton id.
QByteArray setBatonId(const QString& id);
// 09 BB CRC: read the size of a memory bank.
QByteArray readBankSize(int bank);
// 0B BB AH AL 08 CRC: start reading eight bytes of a bank at an address.
QByteArray startReading(int bank, int address);
// 0F r1..r7 C1 C2: write one record; C2 is the CRC over the nine bytes before it.
QByteArray writeRecord(const std::array<std::uint8_t, 7>& record);
// 11 BB PH PL CRC: set a bank's end-of-data pointer (8 empties the bank).
QByteArray setEndPointer(int bank, int pointer);

// Bytes as two-digit upper-case hex numbers, each followed by a blank.
QString hexBytes(const QByteArray& bytes);
// One byte as two upper-case hex digits.
QString hex2(std::uint8_t value);

}  // namespace dorodure::frames
