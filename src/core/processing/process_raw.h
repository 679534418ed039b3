#pragma once

#include "processing_context.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace dorodure {

// The result of one processing run, for callers that report it.
struct ProcessResult {
    QStringList reportedSites;  // sites that received a report, in list order
    QStringList reportFiles;    // text, CSV and PDF files written
    int filedRecords = 0;
};

// Turns one upload or request file into the download report of every site
// that received clockings. Throws FileError when a file cannot be read or
// written (the buckets written so far stay until shutdown).
// The origin decides the baton name (a clocking list of the Reports window has
// no baton: its window text stands in its place) and, for an import, adds the
// activity log line "Raw.txt imported" under "unknown".
ProcessResult ProcessRaw(ProcessingContext& ctx, const QString& uploadPath,
                         ProcessOrigin origin = ProcessOrigin::Download);

// The download time printed in the reports: the locale's short date and long
// time (the system's unless a default locale is set).
QString formatDownloadTime(const QDateTime& when);

// The name of a download's report files: month, day, hour and minute, MMDDHHNN.
QString reportStamp(const QDateTime& when);

}  // namespace dorodure
