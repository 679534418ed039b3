#pragma once

#include <QByteArray>
#include <QDateTime>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace dorodure::sim {

// How a baton keeps and reports its clock: packed BCD date and time (commands
// 03/05, replies 04/06) or a seconds count (commands 33/35, replies 34/36).
enum class ClockModel { Bcd, Seconds };

// One 8-byte slot of baton memory as it is stored and sent in a 0E packet:
// the button id as three bytes, the month (BCD, low 5 bits), the day (BCD,
// low 6 bits), the hour byte (BCD hour with the bracket flag in bit 7 and the
// separator flag in bit 6), the minute byte (BCD minute, bit 7 marks a unit
// marker) and one unused byte.
struct BatonRecord {
    std::uint32_t buttonId = 0;  // 24 bits, e.g. 0x0000A1
    std::uint8_t month = 0x01;
    std::uint8_t day = 0x01;
    std::uint8_t hour = 0x00;
    std::uint8_t minute = 0x00;
    std::uint8_t spare = 0x00;

    QByteArray toBytes() const;  // 8 bytes
    static BatonRecord fromBytes(const QByteArray& eight);
    bool operator==(const BatonRecord&) const = default;
};

// Number of memory banks (0, 2, ..., 14) and the size of a packet.
inline constexpr int kBankCount = 8;
inline constexpr int kPacketSize = 8;
// The largest end-of-data pointer a bank accepts (16-bit pointer).
inline constexpr int kBankCapacity = 0xFFF8;

// What a baton is when it is put on the station.
struct BatonSetup {
    QByteArray idText = "Ziru0001";  // exactly 8 characters; the first 4 are the model tag
    std::uint16_t version = 0x1905;  // V1 = high byte, V2 = low byte
    std::uint8_t delay = 0;          // checkpoint delay setting, reported in the 04 reply
    // Clock model; when not given, a fourth id character "C" means seconds.
    std::optional<ClockModel> clockModel;
    // A clock that was never set reports 3F 1F FF FF FF (BCD) or 0 (seconds)
    // until the PC sets it.
    bool clockUnset = false;
    // How far the baton's clock is ahead of the PC when it is placed.
    qint64 clockOffsetSeconds = 0;
    // Records per bank, index = bank number / 2.
    std::array<std::vector<BatonRecord>, kBankCount> banks;

    ClockModel effectiveClockModel() const;
    // Reject an id that is not 8 characters (a programming error in a test).
    void check() const;
};

// A baton's memory and state while it is on the station, and its command
// interpreter. Commands arrive as complete frames (the station splits the
// byte stream); the reply is returned as bytes, empty for no reply.
class Baton {
  public:
    Baton(const BatonSetup& setup, const QDateTime& pcNow);

    // Length of the command frame that starts with this byte; 0 when the
    // baton does not know the command.
    static int commandLength(std::uint8_t command);

    // Runs one command frame at the given PC time. Frames with a wrong
    // checksum and commands of the other clock model get no reply.
    // refuse: answer an acknowledgement with status 0 and leave the state
    // unchanged (fault injection).
    QByteArray execute(const QByteArray& frame, const QDateTime& pcNow, bool refuse = false);

    // Inspection.
    QByteArray idText() const { return idText_; }
    std::uint16_t version() const { return version_; }
    std::uint8_t delay() const { return delay_; }
    ClockModel clockModel() const { return model_; }
    // The baton's clock at the PC time, nullopt while it was never set.
    std::optional<QDateTime> clockAt(const QDateTime& pcNow) const;
    // End-of-data pointer of a bank (bank 0, 2, ..., 14): header + records.
    int bankSize(int bank) const;
    // Records between the header and the end-of-data pointer.
    std::vector<BatonRecord> records(int bank) const;
    // Every record that an 11 command cut off, in the order they were cut.
    const std::vector<BatonRecord>& clearedRecords() const { return cleared_; }
    // The bank header packet (address 0 of each bank).
    static QByteArray bankHeader(int bank);

  private:
    struct Bank {
        QByteArray memory;  // grows as written; unwritten bytes read as FF
        int end = kPacketSize;
    };

    QByteArray identity() const;
    QByteArray clockBcd(const QDateTime& pcNow) const;
    QByteArray clockSeconds(const QDateTime& pcNow) const;
    QByteArray setClockBcd(const QByteArray& frame, const QDateTime& pcNow, bool refuse);
    QByteArray setClockSeconds(const QByteArray& frame, const QDateTime& pcNow, bool refuse);
    QByteArray setId(const QByteArray& frame, bool refuse);
    QByteArray bankSizeReply(const QByteArray& frame) const;
    QByteArray startReading(const QByteArray& frame, bool refuse);
    QByteArray nextPacket();
    QByteArray writeRecord(const QByteArray& frame, bool refuse);
    QByteArray setEndPointer(const QByteArray& frame, bool refuse);
    QByteArray bytesAt(int bankIndex, int address) const;
    static QByteArray ack(std::uint8_t code, bool accepted);
    static int bankIndex(std::uint8_t bank);  // -1 when not an even bank 0-14

    QByteArray idText_;
    std::uint16_t version_;
    std::uint8_t delay_;
    ClockModel model_;
    std::optional<QDateTime> clockValue_;  // baton time at pcAtSet_
    QDateTime pcAtSet_;
    std::array<Bank, kBankCount> banks_;
    int readBank_ = -1;  // cursor of 0B/0D, -1 before the first 0B
    int readAddress_ = 0;
    int writeAddress_ = -1;  // 0F cursor in bank 0; -1: at the end pointer
    std::vector<BatonRecord> cleared_;
};

}  // namespace dorodure::sim
