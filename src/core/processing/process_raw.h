#pragma once

#include "processing_context.h"

#include <QString>

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
ProcessResult ProcessRaw(ProcessingContext& ctx, const QString& uploadPath,
                         ProcessOrigin origin = ProcessOrigin::Download);

}  // namespace dorodure
