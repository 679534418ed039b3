#pragma once

#include "processing_context.h"
#include "report_section.h"
#include "tamper_checks.h"

#include <QString>
#include <QStringList>

namespace dorodure {

// The separator written before a further report appended to an existing file.
inline constexpr const char* kAppendSeparator = "   ---   ---   ---   ---   ---   ---   ---   ---";

// Writes the report of each site that received clockings in one processing
// run: the text report, the CSV file and the PDF, in the site's folder named
// by the report stamp, or, for a secure upload or a clocking list
// (long-identity mode), into "Processed.txt" and "Processed.csv" of the data
// folder and one PDF document that gathers all sites.
class SiteReporter {
  public:
    SiteReporter(ProcessingContext& ctx, const ReportRun& run, const TamperCounters& counters,
                 QString stamp);

    // Writes the site's report from its bucket lines; returns the files
    // written. Opens the report and logs the upload unless in long-identity
    // mode or while records wait to be written to a baton. Throws FileError.
    QStringList report(int siteIndex, const QStringList& lines);

    // Whether a section went into the PDF document still open (long-identity mode).
    bool documentOpen() const { return documentOpen_; }

  private:
    QString textPath(const QString& site) const;
    QString csvPath(const QString& site) const;
    QString stampPath(const QString& site, const QString& extension) const;
    void openAndLog(const QString& site);
    bool writePending() const;

    ProcessingContext& ctx_;
    const ReportRun& run_;
    const TamperCounters& counters_;
    QString stamp_;
    bool documentOpen_ = false;
};

// Appends a report section to a file; a file that already holds text gets an
// empty line, the dashed separator and an empty line first. Throws FileError.
void appendSection(const QString& path, const QStringList& lines);

}  // namespace dorodure
