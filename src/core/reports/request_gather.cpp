#include "request_gather.h"

#include "processing/raw/raw_file.h"
#include "shell/text_file.h"
#include "sites/site_store.h"

namespace dorodure {

namespace {

int minuteOfDay(int hour, int minute) {
    return hour * 60 + minute;
}

int minuteOfDay(const QTime& t) {
    return minuteOfDay(t.hour(), t.minute());
}

enum class Verdict { Keep, Drop, Unreadable };

Verdict judgeEdgeLine(const QString& line, const QDate& day, const RequestWindow& w) {
    const bool first = day == w.fromDate;
    const bool last = day == w.toDate;
    if (!first && !last) {
        return Verdict::Keep;
    }
    const int hour = rawfile::plainHour(line);
    const int minute = rawfile::plainMinute(line);
    if (hour < 0 || minute < 0) {
        return Verdict::Unreadable;
    }
    if (first && !keptOnFirstDay(hour, minute, w.fromTime)) {
        return Verdict::Drop;
    }
    if (last && !keptOnLastDay(hour, minute, w.toTime)) {
        return Verdict::Drop;
    }
    return Verdict::Keep;
}

void gatherDay(const QString& path, const QDate& day, const RequestWindow& w, GatheredLines& out) {
    for (const QString& line : textfile::readLines(path)) {
        if (rawfile::classify(line) != rawfile::LineKind::Record) {
            continue;
        }
        switch (judgeEdgeLine(line, day, w)) {
            case Verdict::Keep:
                out.lines << line;
                break;
            case Verdict::Unreadable:
                out.unreadable << line;
                break;
            case Verdict::Drop:
                break;
        }
    }
}

}  // namespace

bool keptOnFirstDay(int hour, int minute, const QTime& from) {
    return minuteOfDay(hour, minute) >= minuteOfDay(from);
}

bool keptOnLastDay(int hour, int minute, const QTime& to) {
    return minuteOfDay(hour, minute) <= minuteOfDay(to);
}

QString dayFileStem(const QDate& date) {
    return QStringLiteral("%1%2%3")
        .arg(date.year() % 100, 2, 10, QLatin1Char('0'))
        .arg(date.month(), 2, 10, QLatin1Char('0'))
        .arg(date.day(), 2, 10, QLatin1Char('0'));
}

GatheredLines gatherDayFiles(const TSiteStore& store, const QString& site,
                             const RequestWindow& window) {
    GatheredLines out;
    for (QDate day = window.fromDate; day <= window.toDate; day = day.addDays(1)) {
        const QString path = store.dayFilePath(site, dayFileStem(day));
        if (textfile::exists(path)) {
            gatherDay(path, day, window, out);
        }
    }
    return out;
}

}  // namespace dorodure
