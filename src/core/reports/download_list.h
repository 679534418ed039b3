#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace dorodure {

class UserInteraction;

// One row of the list of a site's stored download reports. A report is named
// MMDDhhnn (month, day, hour and minute of the processing run) with the
// extension ".txt" or ".pdf"; its year is that of the file's modification date.
struct DownloadRow {
    QString date;      // "yyyy/MM/dd"; empty for a file that is no report
    QString time;      // "hh:nn"; empty likewise
    QString fileName;  // the file the row stands for
};

// The site folder's download reports of one type (".pdf" with pdf set, else
// ".txt"), one row per file, sorted by the date text (then the time). A file
// of that type whose first eight name characters are not a number gets an
// empty row and is reported through ui with the "does not belong in the
// directory" message.
std::vector<DownloadRow> listDownloadReports(const QString& siteFolder, bool pdf,
                                             UserInteraction& ui);

// The message for a file that is no download report.
QString foreignFileMessage(const QString& fileName, const QString& siteFolder);

// The file to open for a row: the name MMDDhhnn from the row's date and time;
// the ".txt" file when it exists and pdf is not set, otherwise the ".pdf" file.
// Empty for an empty row.
QString downloadReportToOpen(const QString& siteFolder, const DownloadRow& row, bool pdf);

}  // namespace dorodure
