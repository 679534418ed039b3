#include "report_texts.h"

#include "shell/language_table.h"

#include <QLocale>
#include <QRegularExpression>

namespace dorodure {

namespace {

// The locale's long time format without its time-zone part ("t"), which
// the reports do not print.
QString longTimeFormatWithoutZone() {
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*\\bt+\\b\\s*"));
    format.replace(zone, QStringLiteral(" "));
    return format.trimmed();
}

bool readNumber(const QString& text, int& value) {
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok;
}

}  // namespace

QString shortDateText(const QDate& date) {
    return QLocale().toString(date, QLocale::ShortFormat);
}

QString longTimeText(const QTime& time) {
    return QLocale().toString(time, longTimeFormatWithoutZone());
}

std::optional<QTime> parseTimeEdit(const QString& timeEdit) {
    int hour = 0;
    int minute = 0;
    if (!readNumber(timeEdit.mid(0, 2), hour) || !readNumber(timeEdit.mid(3, 2), minute)) {
        return std::nullopt;
    }
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) {
        return std::nullopt;
    }
    return QTime(hour, minute);
}

QString invalidTimeMessage(const QString& timeEdit) {
    return QStringLiteral(
               "\"%1\" is not a valid time: the hour must be 00 to 23 and the minute "
               "00 to 59")
        .arg(timeEdit);
}

QString windowText(const TLanguageTable& texts, const RequestWindow& w) {
    const QString blank = QStringLiteral(" ");
    return texts.text(reporttext::kFrom) + blank + longTimeText(w.fromTime) + blank +
           shortDateText(w.fromDate) + blank + texts.text(reporttext::kTo) + blank +
           longTimeText(w.toTime) + blank + shortDateText(w.toDate);
}

QString listIdentityLine(const TLanguageTable& texts, const RequestWindow& w) {
    return QStringLiteral("Id : ") + windowText(texts, w);
}

QString sortedIdentityLine(const TLanguageTable& texts, const RequestWindow& w) {
    return QStringLiteral("Ids: ") + windowText(texts, w);
}

QString overviewIdentityLine(const TLanguageTable& texts, const RequestWindow& w) {
    return QStringLiteral("Idx: ") + windowText(texts, w);
}

QString filterIdFromSelector(const QString& selectorText) {
    QString text = selectorText;
    while (text.size() < 7) {
        text.prepend(QLatin1Char('0'));
    }
    return text.mid(1, 6);
}

QString checkpointEntryText(const QString& id, const QString& locationName) {
    return QStringLiteral("(") + id + QStringLiteral(") ") + locationName;
}

}  // namespace dorodure
