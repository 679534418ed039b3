#include "tamper_checks.h"

#include "processing/raw/crc8.h"
#include "shell/language_table.h"

#include <array>

namespace dorodure {

namespace tamper {

namespace {

int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    return -1;
}

// Two hexadecimal digits at a 0-based index, or -1.
int hexByte(const QString& line, int index) {
    const int high = hexDigit(line[index]);
    const int low = hexDigit(line[index + 1]);
    return (high < 0 || low < 0) ? -1 : high * 16 + low;
}

// A BCD byte as its decimal value, or -1 when a nibble is not a decimal digit.
int bcdValue(int byte) {
    const int high = byte >> 4;
    const int low = byte & 0x0F;
    return (high > 9 || low > 9) ? -1 : high * 10 + low;
}

}  // namespace

std::uint8_t crc8Maxim(const std::uint8_t* data, int length) {
    return rawfile::crc8Maxim(data, length);
}

bool recordCheckPasses(const QString& line) {
    if (line.size() < 22) {
        return false;
    }
    std::array<std::uint8_t, 11> bytes{};
    for (int i = 0; i < 11; ++i) {
        const int value = hexByte(line, 2 * i);
        if (value < 0) {
            return false;
        }
        bytes[std::size_t(i)] = std::uint8_t(value);
    }
    return crc8Maxim(bytes.data() + 1, 10) == bytes[0];
}

qint64 plainTimeStamp(const QString& line) {
    if (line.size() < 22) {
        return -1;
    }
    bool ok = false;
    const qint64 day = line.mid(12, 6).toLongLong(&ok);
    const int hourByte = hexByte(line, 18);
    const int minuteByte = hexByte(line, 20);
    if (!ok || hourByte < 0 || minuteByte < 0) {
        return -1;
    }
    const int hour = bcdValue(hourByte & 0x3F);
    const int minute = bcdValue(minuteByte & 0x7F);
    if (hour < 0 || minute < 0) {
        return -1;
    }
    return day * 10000 + hour * 100 + minute;
}

}  // namespace tamper

int TamperCounters::corrupt(int bucket) const {
    const auto it = corrupt_.find(bucket);
    return it == corrupt_.end() ? 0 : it->second;
}

void TamperCounters::fileRecord(const QString& record, const QString& lastKept) {
    ++filed_;
    if (record.size() <= 22 || lastKept.size() <= 22) {
        return;
    }
    const qint64 current = tamper::plainTimeStamp(record);
    const qint64 previous = tamper::plainTimeStamp(lastKept);
    if (current >= 0 && previous >= 0 && previous > current) {
        ++reversals_;
    }
}

SiteWarnings siteWarnings(const TamperCounters& counters, int siteIndex,
                          const TLanguageTable& texts) {
    SiteWarnings warnings;
    const int corrupt = counters.corrupt(siteIndex);
    warnings.any = corrupt > 0 || counters.wrapCondition() || counters.reversals() > 0;
    if (corrupt > 0) {
        warnings.lines << QString::number(corrupt) + QLatin1Char(' ') + texts.text(26);
    }
    if (counters.wrapCondition()) {
        warnings.lines << texts.text(154) << texts.text(155) << texts.text(156);
    } else if (counters.reversals() > 0) {
        warnings.lines << texts.text(157) << texts.text(158);
    }
    return warnings;
}

}  // namespace dorodure
