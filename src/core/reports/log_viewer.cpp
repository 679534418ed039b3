#include "log_viewer.h"

#include "comma_text.h"
#include "shell/startup_checks.h"
#include "shell/text_file.h"

#include <QDir>

#include <array>

namespace dorodure {

namespace {

constexpr std::array<const char*, 12> kMonthNames = {
    "January", "Febuary", "March",     "April",   "May",      "June",
    "July",    "August",  "September", "October", "November", "December"};

// The row of one log file "LG" + yyyymm + ".txt": the text from the third
// character up to the first "." holds the year and the month.
LogMonthRow monthRowFor(const QString& fileName) {
    const qsizetype dot = fileName.indexOf(u'.');
    const QString yearMonth = fileName.mid(2, dot < 0 ? -1 : dot - 2);
    bool ok = false;
    const int month = yearMonth.mid(4, 2).toInt(&ok);
    const bool twoDigits = yearMonth.mid(4, 2).size() == 2;
    if (!ok || !twoDigits || month < 1 || month > 12) {
        return {QStringLiteral("Err ") + fileName, fileName};
    }
    return {logMonthName(month) + u' ' + yearMonth.left(4), fileName};
}

}  // namespace

QString logMonthName(int month) {
    if (month < 1 || month > 12) {
        return {};
    }
    return QString::fromLatin1(kMonthNames[static_cast<std::size_t>(month - 1)]);
}

std::vector<LogMonthRow> logMonthRows(const QString& dataFolder) {
    const QStringList names =
        QDir(dataFolder)
            .entryList({QStringLiteral("LG*.txt")}, QDir::Files | QDir::Hidden, QDir::Name);
    std::vector<LogMonthRow> rows;
    for (const QString& name : names) {
        // The file name pattern is matched without regard to case, as the
        // system's folder listing does.
        if (name.size() > 2 && name[2] == u'm') {
            continue;
        }
        rows.push_back(monthRowFor(name));
    }
    return rows;
}

std::vector<LogEntryRow> readLogEntries(const QString& path) {
    std::vector<LogEntryRow> rows;
    for (const QString& line : textfile::readLines(path)) {
        const QStringList f = commatext::split(line);
        rows.push_back({f.value(0), f.value(1), f.value(2)});
    }
    return rows;
}

QStringList adminReportLines(const std::vector<LogEntryRow>& entries) {
    QStringList lines;
    lines << u'"' + QStringLiteral("Admin Report Created by Dorodure Ver") +
                 QString::fromLatin1(kProgramVersion) + u'"';
    lines << commatext::join({QStringLiteral("Date & Time"), QStringLiteral("Site Affected"),
                              QStringLiteral("Action Taken")});
    for (const LogEntryRow& e : entries) {
        lines << commatext::join({e.dateTime, e.site, e.action});
    }
    return lines;
}

void writeAdminReport(const QString& path, const std::vector<LogEntryRow>& entries) {
    textfile::writeLinesAtomic(path, adminReportLines(entries));
}

}  // namespace dorodure
