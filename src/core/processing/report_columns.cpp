#include "report_columns.h"

#include "raw/raw_file.h"
#include "tamper_checks.h"

namespace dorodure::report {

namespace {

int hexPair(const QString& line, int index) {
    if (line.size() < index + 2) {
        return -1;
    }
    bool ok = false;
    const int value = line.mid(index, 2).toInt(&ok, 16);
    return ok ? value : -1;
}

int decimal(const QString& line, int index, int width) {
    return line.mid(index, width).toInt();
}

// A BCD byte as a decimal number (nibbles above 9 count as they are).
int fromBcd(int byte) {
    return (byte >> 4) * 10 + (byte & 0x0F);
}

}  // namespace

int hourByte(const QString& line) {
    return hexPair(line, 18);
}

int minuteByte(const QString& line) {
    return hexPair(line, 20);
}

bool isUnitMarker(const QString& line) {
    return minuteByte(line) >= 0x80;
}

bool hasBracketFlag(const QString& line) {
    const int hour = hourByte(line);
    return hour >= 0 && (hour & 0x80) != 0;
}

bool hasSeparatorFlag(const QString& line) {
    const int hour = hourByte(line);
    return hour >= 0 && (hour & 0x40) != 0;
}

bool isPlainRecord(const QString& line) {
    return !isUnitMarker(line) && !hasBracketFlag(line) && !hasSeparatorFlag(line);
}

QString recordDate(const QString& line) {
    return QStringLiteral("20") + line.mid(12, 2) + QLatin1Char('/') + line.mid(14, 2) +
           QLatin1Char('/') + line.mid(16, 2);
}

QString recordTime(const QString& line) {
    QString hour = line.mid(18, 2);
    bool ok = false;
    const int first = hour.left(1).toInt(&ok, 16);
    if (ok) {
        hour[0] = QChar(u'0' + (first & 0x3));
    }
    return hour + QLatin1Char(':') + line.mid(20, 2);
}

QString markerTime(const QString& line) {
    bool ok = false;
    const int first = line.mid(20, 1).toInt(&ok, 16);
    const QString minuteHigh = ok ? QString::number(first - 8, 16).toUpper() : line.mid(20, 1);
    return line.mid(18, 2) + QLatin1Char(':') + minuteHigh + line.mid(21, 1);
}

QString markerUnit(const QString& line) {
    return line.mid(8, 4);
}

QString IntervalClock::next(const QString& record) {
    const int year = decimal(record, 12, 2);
    const int month = decimal(record, 14, 2);
    const int day = decimal(record, 16, 2);
    const int byte = hourByte(record);
    const int hour = byte < 0 ? 0 : fromBcd(byte & 0x3F);
    const int minute = decimal(record, 20, 2);

    int minutes = minute - minute_;
    int hours = hour - hour_;
    if (minutes < 0) {
        minutes += 60;
        --hours;
    }
    const bool blank = !started_ || hours < 0 || year != year_ || month != month_ || day != day_;
    started_ = true;
    year_ = year;
    month_ = month;
    day_ = day;
    hour_ = hour;
    minute_ = minute;
    if (blank) {
        return QStringLiteral("     ");
    }
    return QStringLiteral("%1:%2")
        .arg(hours, 2, 10, QLatin1Char('0'))
        .arg(minutes, 2, 10, QLatin1Char('0'));
}

Period sectionPeriod(const QStringList& lines, bool checkedOnly) {
    Period period;
    for (const QString& line : lines) {
        if (line.size() < 22 || isUnitMarker(line)) {
            continue;
        }
        if (checkedOnly && !tamper::recordCheckPasses(line)) {
            continue;
        }
        const QString when = recordDate(line) + QLatin1Char(' ') + recordTime(line);
        if (period.from.isEmpty()) {
            period.from = when;
        }
        period.to = when;
    }
    return period;
}

IdCounts::IdCounts(const QStringList& lines) {
    for (const QString& line : lines) {
        ++counts_[rawfile::checkpointId(line)];
    }
}

QList<int> IdCounts::of(const std::vector<TCheckpoint>& entries) const {
    QList<int> counts;
    counts.reserve(qsizetype(entries.size()));
    for (const TCheckpoint& entry : entries) {
        counts << of(entry.id);
    }
    return counts;
}

QString quoted(const QString& field) {
    QString inner = field;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

}  // namespace dorodure::report
