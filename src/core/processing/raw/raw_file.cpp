#include "raw_file.h"

#include "shell/file_error.h"
#include "shell/text_file.h"

namespace dorodure::rawfile {

namespace {

constexpr int kRecordLength = 22;

bool isDecimal(QChar c) {
    return c >= u'0' && c <= u'9';
}

// The value of one hexadecimal digit (either case), or -1.
int hexDigit(QChar c) {
    if (isDecimal(c)) {
        return c.unicode() - u'0';
    }
    const char16_t lower = QChar::toLower(c.unicode());
    return lower >= u'a' && lower <= u'f' ? lower - u'a' + 10 : -1;
}

// The byte written as two hex digits at 1-based position `pos`, or -1.
int hexByte(const QString& line, int pos) {
    if (line.size() < pos + 1) {
        return -1;
    }
    const int high = hexDigit(line[pos - 1]);
    const int low = hexDigit(line[pos]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

// Two digits at `pos`, the first with its flag bits cleared by `mask`, read
// as a decimal number; -1 when either is not a digit after that.
int flaggedDecimal(const QString& line, int pos, int mask) {
    if (line.size() < pos + 1) {
        return -1;
    }
    const int first = hexDigit(line[pos - 1]);
    if (first < 0 || !isDecimal(line[pos])) {
        return -1;
    }
    const int tens = first & mask;
    return tens > 9 ? -1 : tens * 10 + (line[pos].unicode() - u'0');
}

QString hex2(int byte) {
    return QStringLiteral("%1").arg(byte & 0xFF, 2, 16, QLatin1Char('0')).toUpper();
}

int bcdValue(int byte) {
    return (byte >> 4) * 10 + (byte & 0x0F);
}

}  // namespace

bool isGapLine(const QString& line) {
    return line == QLatin1String("MissingLine") || line == QLatin1String("Missing Line") ||
           line == QLatin1String("ExtraLine") || line == QLatin1String("Extra Line");
}

LineKind classify(const QString& line) {
    if (line.startsWith(QLatin1String("Id"))) {
        return LineKind::Identity;
    }
    if (isDone(line)) {
        return LineKind::Done;
    }
    if (isGapLine(line)) {
        return LineKind::Gap;
    }
    return line.size() >= kRecordLength ? LineKind::Record : LineKind::Other;
}

bool isCorrupt(const QString& line) {
    for (qsizetype i = 12; i < line.size(); ++i) {
        if (i != 18 && !isDecimal(line[i])) {
            return true;
        }
    }
    return false;
}

bool hasUnitMarkerBit(const QString& line) {
    return hexByte(line, 21) > 127;
}

bool hasDigitUnitField(const QString& line) {
    if (line.size() < 12) {
        return false;
    }
    for (qsizetype i = 6; i < 12; ++i) {
        if (!isDecimal(line[i])) {
            return false;
        }
    }
    return true;
}

QString checkpointId(const QString& line) {
    return line.size() >= 12 ? line.mid(6, 6) : QString();
}

QString dayName(const QString& line) {
    return line.size() >= 18 ? line.mid(12, 6) : QString();
}

int plainHour(const QString& line) {
    return flaggedDecimal(line, 19, 0x3);
}

int plainMinute(const QString& line) {
    return flaggedDecimal(line, 21, 0x7);
}

bool bracketFlag(const QString& line) {
    const int digit = line.size() >= 19 ? hexDigit(line[18]) : -1;
    return digit >= 0 && (digit & 0x8) != 0;
}

bool separatorFlag(const QString& line) {
    const int digit = line.size() >= 19 ? hexDigit(line[18]) : -1;
    return digit >= 0 && (digit & 0x4) != 0;
}

QString dayKey(const QString& line) {
    return line.mid(12, 10) + line.left(12);
}

QString lineFromDayKey(const QString& key) {
    return key.mid(10, 12) + key.left(10);
}

QString dayFileName(const QString& line) {
    return dayName(line) + QStringLiteral(".txt");
}

int stampYear(int recordMonth, const QDate& today) {
    const int year = recordMonth > today.month() ? today.year() - 1 : today.year();
    return year % 100;
}

QString formatRecord(const std::array<std::uint8_t, 7>& bytes, const QDate& today,
                     int packetCount) {
    const int month = bytes[3] & 0x1F;
    const int day = bytes[4] & 0x3F;
    const int year = stampYear(bcdValue(month), today);
    const int sequence = ((packetCount % 100) + 100) % 100;
    return QStringLiteral("000000") + hex2(bytes[0]) + hex2(bytes[1]) + hex2(bytes[2]) +
           QStringLiteral("%1").arg(year, 2, 10, QLatin1Char('0')) + hex2(month) + hex2(day) +
           hex2(bytes[5]) + hex2(bytes[6]) + QString::number(sequence);
}

bool isUnprocessed(const QString& path) {
    return textfile::exists(path) && !isDone(textfile::lastLine(path));
}

}  // namespace dorodure::rawfile
