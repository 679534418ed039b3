#pragma once

#include "distribution_pass.h"
#include "process_checkpoints.h"
#include "shell/startup_checks.h"
#include "tamper_checks.h"

#include <QString>
#include <QStringList>

namespace dorodure {

class TLanguageTable;
class PdfPrint;

// The program version printed at the end of every report.
inline constexpr const char* kReportProgramVersion = kProgramVersion;

// The values that every site section of one processing run shares.
struct ReportRun {
    UploadIdentity identity;  // long-identity mode, sorted and no-separator flags, unit text
    QString downloadTime;     // modification time of the upload file
    QString batonName;        // the unit's name (the window text for a clocking list)
    QString batonVersion;
    bool frequencyPart = true;  // frequency report on and the point filter off
    bool pointFilter = false;   // the Reports window's "Point filter" box
    QString header;
    QString footer;
    QString aboutWeb;
};

// One site's data and what the report needs of it.
struct SiteSection {
    QString site;
    QStringList lines;                               // the site's bucket, in upload order
    const ReportCheckpoints* checkpoints = nullptr;  // names of the site and the common site
    SiteWarnings warnings;
};

// The site's section of the text report, line by line.
QStringList reportTextSection(const ReportRun& run, const SiteSection& section,
                              const TLanguageTable& texts);

// The site's section of the CSV file, row by row.
QStringList reportCsvSection(const ReportRun& run, const SiteSection& section,
                             const TLanguageTable& texts);

// The site's section of the PDF list document. A new document is started
// unless continueDocument is set (a further site of a long-identity run, which
// gathers all sites in one document behind a site heading).
void reportPdfSection(PdfPrint& pdf, const ReportRun& run, const SiteSection& section,
                      const TLanguageTable& texts, bool continueDocument);

}  // namespace dorodure
