#include "frames.h"

#include "processing/raw/crc8.h"

namespace dorodure::frames {

std::uint8_t crc8(const std::uint8_t* bytes, qsizetype count) {
    return rawfile::crc8Maxim(bytes, count);
}

std::uint8_t crc8(const QByteArray& bytes) {
    return crc8(reinterpret_cast<const std::uint8_t*>(bytes.constData()), bytes.size());
}

bool checkAt(const QByteArray& bytes, qsizetype n) {
    if (n < 2 || bytes.size() < n) {
        return false;
    }
    auto data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    return crc8(data, n - 1) == data[n - 1];
}

QByteArray withCrc(const QByteArray& commandAndParameters) {
    QByteArray frame = commandAndParameters;
    frame.append(char(crc8(commandAndParameters)));
    return frame;
}

std::uint8_t toBcd(int value) {
    return std::uint8_t(((value / 10) % 10) * 16 + value % 10);
}

QByteArray setClockBcd(const QDateTime& localNow) {
    const QDate d = localNow.date();
    const QTime t = localNow.time();
    QByteArray frame;
    frame.append(char(0x05));
    frame.append(char(toBcd(d.year() / 100)));
    frame.append(char(toBcd(d.year() % 100)));
    frame.append(char(toBcd(d.month())));
    frame.append(char(toBcd(d.day())));
    frame.append(char(toBcd(t.hour())));
    frame.append(char(toBcd(t.minute())));
    frame.append(char(toBcd(t.second())));
    frame.append(char(d.dayOfWeek() % 7));  // Qt: Monday 1 .. Sunday 7; baton: Sunday 0
    return withCrc(frame);
}

namespace {

const QDate kUnixDay(1970, 1, 1);

}  // namespace

quint32 batonSeconds(const QDateTime& localNow) {
    const qint64 days = kUnixDay.daysTo(localNow.date());
    const qint64 secs = days * 86400 + localNow.time().msecsSinceStartOfDay() / 1000;
    return quint32(secs + 1);
}

QDateTime fromBatonSeconds(quint32 value) {
    const qint64 secs = qint64(value) - 1;
    qint64 days = secs / 86400;
    qint64 rest = secs % 86400;
    if (rest < 0) {
        rest += 86400;
        days -= 1;
    }
    return QDateTime(kUnixDay.addDays(days), QTime(0, 0).addSecs(int(rest)));
}

QByteArray setClockSeconds(const QDateTime& localNow) {
    const quint32 value = batonSeconds(localNow);
    QByteArray frame;
    frame.append(char(0x35));
    for (int i = 0; i < 4; ++i) {
        frame.append(char((value >> (8 * i)) & 0xFF));
    }
    return withCrc(frame);
}

QByteArray setBatonId(const QString& id) {
    QByteArray frame;
    frame.append(char(0x07));
    const QByteArray text = id.toLatin1().leftJustified(4, ' ', true);
    frame.append(text);
    return withCrc(frame);
}

QByteArray readBankSize(int bank) {
    QByteArray frame;
    frame.append(char(0x09));
    frame.append(char(bank & 0xFF));
    return withCrc(frame);
}

QByteArray startReading(int bank, int address) {
    QByteArray frame;
    frame.append(char(0x0B));
    frame.append(char(bank & 0xFF));
    frame.append(char((address >> 8) & 0xFF));
    frame.append(char(address & 0xFF));
    frame.append(char(0x08));
    return withCrc(frame);
}

QByteArray writeRecord(const std::array<std::uint8_t, 7>& record) {
    QByteArray frame;
    frame.append(char(0x0F));
    for (std::uint8_t b : record) {
        frame.append(char(b));
    }
    return withCrc(withCrc(frame));
}

QByteArray setEndPointer(int bank, int pointer) {
    QByteArray frame;
    frame.append(char(0x11));
    frame.append(char(bank & 0xFF));
    frame.append(char((pointer >> 8) & 0xFF));
    frame.append(char(pointer & 0xFF));
    return withCrc(frame);
}

QString hex2(std::uint8_t value) {
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

QString hexBytes(const QByteArray& bytes) {
    QString out;
    for (char c : bytes) {
        out += hex2(std::uint8_t(c)) + QLatin1Char(' ');
    }
    return out;
}

}  // namespace dorodure::frames
