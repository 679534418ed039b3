#include "print_time.h"

namespace dorodure {

namespace {

// Drops the time-zone fields ("t") of a time format, with the blank before
// them; quoted literal text is kept as it is.
QString withoutTimeZone(const QString& format) {
    QString result;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) {
            quoted = !quoted;
        }
        if (!quoted && c == QLatin1Char('t')) {
            while (result.endsWith(QLatin1Char(' '))) {
                result.chop(1);
            }
            continue;
        }
        result += c;
    }
    return result.trimmed();
}

}  // namespace

QString pdfPrintTime(const QDateTime& when, const QLocale& locale) {
    const QString date = locale.toString(when.date(), QLocale::ShortFormat);
    const QString time =
        locale.toString(when.time(), withoutTimeZone(locale.timeFormat(QLocale::LongFormat)));
    return date + QLatin1Char(' ') + time;
}

}  // namespace dorodure
