#include "process_site_report.h"

#include "pdf/pdfprint.h"
#include "raw/raw_file.h"
#include "shell/activity_log.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "shell/text_file.h"
#include "shell/user_interaction.h"
#include "sites/site_store.h"

#include <QFileInfo>

namespace dorodure {

void appendSection(const QString& path, const QStringList& lines) {
    QStringList out;
    const QFileInfo info(path);
    if (info.exists() && info.size() > 0) {
        out << QString() << QLatin1String(kAppendSeparator) << QString();
    }
    out << lines;
    textfile::appendLines(path, out);
}

SiteReporter::SiteReporter(ProcessingContext& ctx, const ReportRun& run,
                           const TamperCounters& counters, QString stamp)
    : ctx_(ctx), run_(run), counters_(counters), stamp_(std::move(stamp)) {}

QStringList SiteReporter::report(int siteIndex, const QStringList& lines) {
    const QString site = ctx_.sites->siteName(siteIndex);
    ReportCheckpoints checkpoints(*ctx_.sites, *ctx_.texts, site);
    for (const QString& line : lines) {
        if (line.size() >= 22) {
            checkpoints.resolve(rawfile::checkpointId(line));
        }
    }
    const SiteSection section{site, lines, &checkpoints,
                              siteWarnings(counters_, siteIndex, *ctx_.texts)};

    QStringList written{textPath(site), csvPath(site)};
    appendSection(written[0], reportTextSection(run_, section, *ctx_.texts));
    appendSection(written[1], reportCsvSection(run_, section, *ctx_.texts));
    reportPdfSection(*ctx_.pdf, run_, section, *ctx_.texts, documentOpen_);
    if (run_.identity.longIdentity) {
        documentOpen_ = true;
        return written;
    }
    written << stampPath(site, QStringLiteral("pdf"));
    ctx_.pdf->SavePdf(written.last());
    if (!writePending()) {
        openAndLog(site);
    }
    return written;
}

QString SiteReporter::textPath(const QString& site) const {
    return run_.identity.longIdentity ? ctx_.path(QStringLiteral("Processed.txt"))
                                      : stampPath(site, QStringLiteral("txt"));
}

QString SiteReporter::csvPath(const QString& site) const {
    return run_.identity.longIdentity ? ctx_.path(QStringLiteral("Processed.csv"))
                                      : stampPath(site, QStringLiteral("csv"));
}

QString SiteReporter::stampPath(const QString& site, const QString& extension) const {
    return textfile::join(ctx_.sites->sitePath(site), stamp_ + QLatin1Char('.') + extension);
}

void SiteReporter::openAndLog(const QString& site) {
    const SettingsValues settings = ctx_.settings->values();
    if (settings.openReportAfterProcessing) {
        const QString report =
            stampPath(site, settings.secureReports ? QStringLiteral("pdf") : settings.fileType);
        if (textfile::exists(report)) {
            ctx_.ui->openDocument(report);
        }
    }
    if (textfile::exists(stampPath(site, QStringLiteral("pdf"))) ||
        textfile::exists(stampPath(site, QStringLiteral("txt")))) {
        const QString action = settings.clearDorodureMemory
                                   ? QStringLiteral("Dorodure Uploaded and cleared ")
                                   : QStringLiteral("Dorodure Uploaded and Not cleared ");
        ctx_.activityLog->append(site, action + ctx_.baton.idCaption);
    }
}

bool SiteReporter::writePending() const {
    return ctx_.writePending != nullptr && ctx_.writePending->load();
}

}  // namespace dorodure
