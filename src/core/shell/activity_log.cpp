#include "activity_log.h"

#include "clock.h"
#include "text_file.h"

#include <QDateTime>

namespace dorodure {

namespace {

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

QString fourDigits(int n) {
    return QStringLiteral("%1").arg(n, 4, 10, QLatin1Char('0'));
}

QString quoted(QString field) {
    field.replace(QLatin1Char('\r'), QLatin1Char(' '));
    field.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QLatin1Char('"') + field + QLatin1Char('"');
}

// "yyyy/mm/dd hh:nn.ss" with these separators whatever the locale.
QString stamp(const QDateTime& when) {
    const QDate d = when.date();
    const QTime t = when.time();
    return fourDigits(d.year()) + QLatin1Char('/') + twoDigits(d.month()) + QLatin1Char('/') +
           twoDigits(d.day()) + QLatin1Char(' ') + twoDigits(t.hour()) + QLatin1Char(':') +
           twoDigits(t.minute()) + QLatin1Char('.') + twoDigits(t.second());
}

}  // namespace

TActivityLog::TActivityLog(QString dataFolder, const Clock& clock)
    : dataFolder_(std::move(dataFolder)), clock_(clock) {}

void TActivityLog::append(const QString& name, const QString& message) {
    // The month is taken from the same reading of the clock as the line, so an
    // entry at midnight never lands in the file of the other month.
    const QDateTime now = clock_.now();
    const QString path = textfile::join(dataFolder_, fileNameFor(now.date()));
    textfile::appendLine(path, formatLine(now, name, message));
}

QString TActivityLog::fileNameFor(const QDate& date) {
    return QStringLiteral("LG") + fourDigits(date.year()) + twoDigits(date.month()) +
           QStringLiteral(".txt");
}

QString TActivityLog::formatLine(const QDateTime& when, const QString& name,
                                 const QString& message) {
    return quoted(stamp(when)) + QLatin1Char(',') + quoted(name) + QLatin1Char(',') +
           quoted(message);
}

}  // namespace dorodure
