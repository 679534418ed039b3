#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace dorodure {

// One row of the log viewer's month list: the month and year of an activity
// log file, or "Err " + the file name when its name holds no month.
struct LogMonthRow {
    QString text;      // e.g. "August 2011"
    QString fileName;  // e.g. "LG201108.txt"
    bool operator==(const LogMonthRow&) const = default;
};

// One entry of an activity log as the viewer shows it.
struct LogEntryRow {
    QString dateTime;
    QString site;
    QString action;
    bool operator==(const LogEntryRow&) const = default;
};

// The month names of the viewer, January to December (February as the
// program has always spelt it: "Febuary").
QString logMonthName(int month);

// The activity log files "LG*.txt" of the data folder in name order, without
// the files whose third character is "m" (such as "LGm.txt").
std::vector<LogMonthRow> logMonthRows(const QString& dataFolder);

// The entries of one log file: every line split as comma text into date and
// time, site and action (missing fields empty, further fields ignored).
// Throws FileError when the file cannot be read.
std::vector<LogEntryRow> readLogEntries(const QString& path);

// The admin report's lines: the title line with the program version, the
// column titles and one comma-text line per entry.
QStringList adminReportLines(const std::vector<LogEntryRow>& entries);

// Writes the admin report, replacing a file of that name. Throws FileError.
void writeAdminReport(const QString& path, const std::vector<LogEntryRow>& entries);

}  // namespace dorodure
