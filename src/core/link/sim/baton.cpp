#include "link/sim/baton.h"

#include "link/sim/sim_bytes.h"

#include <stdexcept>

namespace dorodure::sim {

namespace {

char byte(int value) {
    return static_cast<char>(static_cast<std::uint8_t>(value));
}

std::uint8_t at(const QByteArray& frame, int index) {
    return static_cast<std::uint8_t>(frame.at(index));
}

// The BCD date and time of a 05 frame: CC YY MM DD hh mm ss at positions 1-7.
std::optional<QDateTime> bcdDateTime(const QByteArray& frame) {
    int f[7];
    for (int i = 0; i < 7; ++i) {
        f[i] = fromBcd(at(frame, i + 1));
        if (f[i] < 0) {
            return std::nullopt;
        }
    }
    const QDate date(f[0] * 100 + f[1], f[2], f[3]);
    const QTime time(f[4], f[5], f[6]);
    if (!date.isValid() || !time.isValid()) {
        return std::nullopt;
    }
    return QDateTime(date, time);
}

}  // namespace

QByteArray BatonRecord::toBytes() const {
    QByteArray out;
    out.append(byte(buttonId >> 16)).append(byte(buttonId >> 8)).append(byte(buttonId));
    out.append(byte(month)).append(byte(day)).append(byte(hour)).append(byte(minute));
    out.append(byte(spare));
    return out;
}

BatonRecord BatonRecord::fromBytes(const QByteArray& eight) {
    BatonRecord r;
    r.buttonId =
        (std::uint32_t{at(eight, 0)} << 16) | (std::uint32_t{at(eight, 1)} << 8) | at(eight, 2);
    r.month = at(eight, 3);
    r.day = at(eight, 4);
    r.hour = at(eight, 5);
    r.minute = at(eight, 6);
    r.spare = at(eight, 7);
    return r;
}

ClockModel BatonSetup::effectiveClockModel() const {
    if (clockModel) {
        return *clockModel;
    }
    return idText.size() >= 4 && idText.at(3) == 'C' ? ClockModel::Seconds : ClockModel::Bcd;
}

void BatonSetup::check() const {
    if (idText.size() != 8) {
        throw std::invalid_argument("a baton id text has 8 characters");
    }
}

Baton::Baton(const BatonSetup& setup, const QDateTime& pcNow)
    : idText_(setup.idText),
      version_(setup.version),
      delay_(setup.delay),
      model_(setup.effectiveClockModel()),
      pcAtSet_(pcNow) {
    setup.check();
    if (!setup.clockUnset) {
        clockValue_ = pcNow.addSecs(setup.clockOffsetSeconds);
    }
    for (int i = 0; i < kBankCount; ++i) {
        Bank& bank = banks_[i];
        bank.memory = bankHeader(i * 2);
        for (const BatonRecord& r : setup.banks[i]) {
            if (bank.memory.size() + kPacketSize > kBankCapacity) {
                throw std::invalid_argument("more records than a bank holds");
            }
            bank.memory.append(r.toBytes());
        }
        bank.end = static_cast<int>(bank.memory.size());
    }
}

int Baton::commandLength(std::uint8_t command) {
    switch (command) {
        case 0x01:
        case 0x03:
        case 0x0D:
        case 0x33:
            return 2;
        case 0x09:
            return 3;
        case 0x11:
            return 5;
        case 0x07:
        case 0x0B:
        case 0x35:
            return 6;
        case 0x05:
        case 0x0F:
            return 10;
        default:
            return 0;
    }
}

QByteArray Baton::execute(const QByteArray& frame, const QDateTime& pcNow, bool refuse) {
    if (frame.isEmpty() || frame.size() != commandLength(at(frame, 0)) || crc8(frame) != 0) {
        return {};
    }
    const bool bcd = model_ == ClockModel::Bcd;
    switch (at(frame, 0)) {
        case 0x01:
            return identity();
        case 0x03:
            return bcd ? clockBcd(pcNow) : QByteArray();
        case 0x33:
            return bcd ? QByteArray() : clockSeconds(pcNow);
        case 0x05:
            return bcd ? setClockBcd(frame, pcNow, refuse) : QByteArray();
        case 0x35:
            return bcd ? QByteArray() : setClockSeconds(frame, pcNow, refuse);
        case 0x07:
            return setId(frame, refuse);
        case 0x09:
            return bankSizeReply(frame);
        case 0x0B:
            return startReading(frame, refuse);
        case 0x0D:
            return nextPacket();
        case 0x0F:
            return writeRecord(frame, refuse);
        case 0x11:
            return setEndPointer(frame, refuse);
        default:
            return {};
    }
}

std::optional<QDateTime> Baton::clockAt(const QDateTime& pcNow) const {
    if (!clockValue_) {
        return std::nullopt;
    }
    return clockValue_->addMSecs(pcAtSet_.msecsTo(pcNow));
}

int Baton::bankSize(int bank) const {
    const int i = bankIndex(static_cast<std::uint8_t>(bank));
    return i < 0 ? 0 : banks_[i].end;
}

std::vector<BatonRecord> Baton::records(int bank) const {
    std::vector<BatonRecord> out;
    const int i = bankIndex(static_cast<std::uint8_t>(bank));
    if (i < 0) {
        return out;
    }
    for (int address = kPacketSize; address + kPacketSize <= banks_[i].end;
         address += kPacketSize) {
        out.push_back(BatonRecord::fromBytes(bytesAt(i, address)));
    }
    return out;
}

QByteArray Baton::bankHeader(int bank) {
    // The baton's own bookkeeping; the PC skips it.
    QByteArray header(kPacketSize, '\0');
    header[0] = byte(0xA5);
    header[1] = byte(bank);
    return header;
}

QByteArray Baton::identity() const {
    QByteArray out;
    out.append(byte(0x02)).append(byte(version_ >> 8)).append(byte(version_ & 0xFF));
    out.append(idText_);
    return withCrc(out);
}

QByteArray Baton::clockBcd(const QDateTime& pcNow) const {
    QByteArray out(1, byte(0x04));
    const std::optional<QDateTime> t = clockAt(pcNow);
    if (!t) {
        out.append(QByteArray::fromHex("FFFF1F3FFFFFFF"));
    } else {
        const QDate d = t->date();
        const QTime c = t->time();
        for (int v : {d.year() / 100, d.year() % 100, d.month(), d.day(), c.hour(), c.minute(),
                      c.second()}) {
            out.append(byte(toBcd(v)));
        }
    }
    out.append(byte(delay_));
    return withCrc(out);
}

QByteArray Baton::clockSeconds(const QDateTime& pcNow) const {
    const std::optional<QDateTime> t = clockAt(pcNow);
    const std::uint32_t value = t ? batonSeconds(*t) : 0;
    QByteArray out(1, byte(0x34));
    for (int shift = 0; shift < 32; shift += 8) {
        out.append(byte(value >> shift));
    }
    return withCrc(out);
}

QByteArray Baton::setClockBcd(const QByteArray& frame, const QDateTime& pcNow, bool refuse) {
    const std::optional<QDateTime> t = bcdDateTime(frame);
    if (refuse || !t) {
        return ack(0x06, false);
    }
    clockValue_ = t;
    pcAtSet_ = pcNow;
    return ack(0x06, true);
}

QByteArray Baton::setClockSeconds(const QByteArray& frame, const QDateTime& pcNow, bool refuse) {
    if (refuse) {
        return ack(0x36, false);
    }
    std::uint32_t value = 0;
    for (int i = 4; i >= 1; --i) {
        value = (value << 8) | at(frame, i);
    }
    clockValue_ = fromBatonSeconds(value);
    pcAtSet_ = pcNow;
    return ack(0x36, true);
}

QByteArray Baton::setId(const QByteArray& frame, bool refuse) {
    if (refuse) {
        return ack(0x08, false);
    }
    idText_ = idText_.left(4) + frame.mid(1, 4);
    return ack(0x08, true);
}

QByteArray Baton::bankSizeReply(const QByteArray& frame) const {
    const int i = bankIndex(at(frame, 1));
    const int size = i < 0 ? 0 : banks_[i].end;
    QByteArray out(1, byte(0x0A));
    if (size <= kPacketSize) {
        out.append(byte(0x80)).append(byte(size));
    } else {
        out.append(byte(size >> 8)).append(byte(size & 0xFF));
    }
    return withCrc(out);
}

QByteArray Baton::startReading(const QByteArray& frame, bool refuse) {
    const int i = bankIndex(at(frame, 1));
    if (refuse || i < 0) {
        return ack(0x0C, false);
    }
    readBank_ = i;
    readAddress_ = (at(frame, 2) << 8) | at(frame, 3);
    if (i == 0) {
        writeAddress_ = readAddress_;
    }
    return ack(0x0C, true);
}

QByteArray Baton::nextPacket() {
    if (readBank_ < 0 || readAddress_ + kPacketSize > 0x10000) {
        return {};
    }
    QByteArray out = QByteArray(1, byte(0x0E)) + bytesAt(readBank_, readAddress_);
    readAddress_ += kPacketSize;
    return withCrc(out);
}

QByteArray Baton::writeRecord(const QByteArray& frame, bool refuse) {
    Bank& bank = banks_[0];
    const int address = writeAddress_ < 0 ? bank.end : writeAddress_;
    if (refuse || address < kPacketSize || address + kPacketSize > kBankCapacity) {
        return ack(0x10, false);
    }
    if (bank.memory.size() < address + kPacketSize) {
        bank.memory.resize(address + kPacketSize, byte(0xFF));
    }
    bank.memory.replace(address, kPacketSize, frame.mid(1, 7) + QByteArray(1, '\0'));
    writeAddress_ = address + kPacketSize;
    return ack(0x10, true);
}

QByteArray Baton::setEndPointer(const QByteArray& frame, bool refuse) {
    const int i = bankIndex(at(frame, 1));
    const int pointer = (at(frame, 2) << 8) | at(frame, 3);
    if (refuse || i < 0 || pointer < kPacketSize || pointer > kBankCapacity) {
        return ack(0x12, false);
    }
    Bank& bank = banks_[i];
    for (int address = pointer; address + kPacketSize <= bank.end; address += kPacketSize) {
        cleared_.push_back(BatonRecord::fromBytes(bytesAt(i, address)));
    }
    bank.end = pointer;
    if (i == 0) {
        writeAddress_ = pointer;
    }
    return ack(0x12, true);
}

QByteArray Baton::bytesAt(int bankIndex, int address) const {
    QByteArray out = banks_[bankIndex].memory.mid(address, kPacketSize);
    out.append(QByteArray(kPacketSize - out.size(), byte(0xFF)));
    return out;
}

QByteArray Baton::ack(std::uint8_t code, bool accepted) {
    QByteArray out;
    out.append(byte(code)).append(byte(accepted ? 1 : 0));
    return withCrc(out);
}

int Baton::bankIndex(std::uint8_t bank) {
    return bank <= 14 && bank % 2 == 0 ? bank / 2 : -1;
}

}  // namespace dorodure::sim
