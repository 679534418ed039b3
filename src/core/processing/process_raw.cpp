#include "process_raw.h"

#include "buckets.h"
#include "distribution_pass.h"
#include "pdf/pdfprint.h"
#include "prefs/baton_names.h"
#include "process_site_report.h"
#include "processing/line_gauge.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "shell/text_file.h"
#include "shell/user_interaction.h"
#include "sites/site_store.h"
#include "unknown_checkpoints.h"

#include <QFileInfo>
#include <QLocale>

namespace dorodure {

QString formatDownloadTime(const QDateTime& when) {
    const QLocale locale;
    return locale.toString(when, locale.dateFormat(QLocale::ShortFormat) + QLatin1Char(' ') +
                                     locale.timeFormat(QLocale::LongFormat));
}

QString reportStamp(const QDateTime& when) {
    return when.toString(QStringLiteral("MMddhhmm"));
}

namespace {

class ProcessRun {
  public:
    ProcessRun(ProcessingContext& ctx, QString uploadPath, ProcessOrigin origin)
        : ctx_(ctx), uploadPath_(std::move(uploadPath)), origin_(origin), gauge_(*ctx.ui) {}

    ProcessResult execute();

  private:
    Distribution distribute();
    void writeBuckets(const Distribution& distribution);
    void handleUnknown(const Distribution& distribution);
    ReportRun reportValues(const Distribution& distribution) const;
    void reportSites(SiteReporter& reporter);
    void finishSecureRun(const SiteReporter& reporter);
    bool writePending() const { return ctx_.writePending != nullptr && ctx_.writePending->load(); }

    ProcessingContext& ctx_;
    QString uploadPath_;
    ProcessOrigin origin_;
    LineGauge gauge_;
    QString downloadTime_;
    ProcessResult result_;
};

ProcessResult ProcessRun::execute() {
    BusyScope busy(*ctx_.ui, ctx_.texts->text(37));
    const QString stamp = reportStamp(ctx_.clock->now());
    // Taken before "Done" is appended, which changes the file's time.
    downloadTime_ = formatDownloadTime(QFileInfo(uploadPath_).lastModified());
    const Distribution distribution = distribute();
    handleUnknown(distribution);
    if (distribution.identity.longIdentity) {
        textfile::createEmpty(ctx_.path(QStringLiteral("Processed.txt")));
    }
    const ReportRun run = reportValues(distribution);
    SiteReporter reporter(ctx_, run, distribution.counters, stamp);
    reportSites(reporter);
    buckets::removeAll(ctx_.dataFolder, ctx_.sites->siteCount());
    if (distribution.identity.longIdentity) {
        finishSecureRun(reporter);
    }
    if (origin_ == ProcessOrigin::Import) {
        ctx_.activityLog->append(QStringLiteral("unknown"), QStringLiteral("Raw.txt imported"));
    }
    result_.filedRecords = distribution.counters.filed();
    result_.reportFiles.removeDuplicates();
    return result_;
}

// Files the upload into fresh buckets and marks the upload as processed.
Distribution ProcessRun::distribute() {
    const int siteCount = ctx_.sites->siteCount();
    buckets::createAll(ctx_.dataFolder, siteCount);
    DistributionOptions options;
    options.siteCount = siteCount;
    options.commonSite = ctx_.sites->commonSiteIndex();
    options.removeDuplicates = ctx_.settings->values().removeDuplicatePoints;
    options.onLine = [this] { gauge_.step(); };
    Distribution distribution =
        distributeUpload(textfile::readLines(uploadPath_), ctx_.sites->siteIds(), options);
    writeBuckets(distribution);
    if (!distribution.endsWithDone) {
        textfile::appendLine(uploadPath_, QStringLiteral("Done"));
    }
    return distribution;
}

void ProcessRun::writeBuckets(const Distribution& distribution) {
    for (std::size_t bucket = 0; bucket < distribution.buckets.size(); ++bucket) {
        if (!distribution.buckets[bucket].isEmpty()) {
            buckets::append(ctx_.dataFolder, int(bucket), distribution.buckets[bucket]);
        }
    }
}

void ProcessRun::handleUnknown(const Distribution& distribution) {
    if (distribution.buckets.back().isEmpty() ||
        ctx_.settings->values().discardUnknownCheckpoints) {
        return;
    }
    HandleUnknownCheckpoints(ctx_, ctx_.dataFolder, int(distribution.buckets.size()) - 1);
}

ReportRun ProcessRun::reportValues(const Distribution& distribution) const {
    const SettingsValues settings = ctx_.settings->values();
    ReportRun run;
    run.identity = distribution.identity;
    run.downloadTime = downloadTime_;
    run.batonVersion = ctx_.baton.versionText;
    run.pointFilter = ctx_.pointFilterChecked;
    run.frequencyPart = settings.generateFrequencyReport && !ctx_.pointFilterChecked;
    run.header = settings.reportHeader;
    run.footer = settings.reportFooter;
    run.aboutWeb = settings.aboutWeb;
    // A clocking list comes from no baton: its window text stands for the name.
    run.batonName = origin_ == ProcessOrigin::ReportRequest
                        ? distribution.identity.unitText
                        : ctx_.batonNames->batonName(distribution.identity.unitText);
    return run;
}

void ProcessRun::reportSites(SiteReporter& reporter) {
    const int siteCount = ctx_.sites->siteCount();
    for (int site = 0; site < siteCount; ++site) {
        const QStringList lines = buckets::read(ctx_.dataFolder, site);
        if (lines.isEmpty()) {
            continue;
        }
        gauge_.step();
        gauge_.show();
        result_.reportFiles << reporter.report(site, lines);
        result_.reportedSites << ctx_.sites->siteName(site);
    }
}

// A secure upload or a clocking list: one report for all sites in the data
// folder, opened as PDF or as text; a message when no site had data.
void ProcessRun::finishSecureRun(const SiteReporter& reporter) {
    const QString processed = ctx_.path(QStringLiteral("Processed.txt"));
    if (!reporter.documentOpen() || QFileInfo(processed).size() == 0) {
        ctx_.ui->showMessage(ctx_.texts->text(150));
        return;
    }
    QString report = processed;
    if (ctx_.settings->values().secureReports) {
        report = ctx_.path(QStringLiteral("Report.pdf"));
        ctx_.pdf->SavePdf(report);
        result_.reportFiles << report;
    }
    if (!writePending()) {
        ctx_.ui->openDocument(report);
    }
}

}  // namespace

ProcessResult ProcessRaw(ProcessingContext& ctx, const QString& uploadPath, ProcessOrigin origin) {
    return ProcessRun(ctx, uploadPath, origin).execute();
}

}  // namespace dorodure
