#include "report_request.h"

#include "checkpoint_sort.h"
#include "overview_chart.h"
#include "overview_shifts.h"
#include "processing/pdf/pdfprint.h"
#include "processing/process_raw.h"
#include "processing/processing_context.h"
#include "processing/raw/raw_file.h"
#include "report_texts.h"
#include "request_gather.h"
#include "shell/file_error.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "shell/text_file.h"
#include "shell/user_interaction.h"
#include "site_information.h"
#include "sites/site_store.h"

#include <QFile>

namespace dorodure {

const char* const kUnprocessedUploadMessage =
    "\"Raw.txt\" holds an upload that has not been processed yet. Process it first (File, "
    "Import), then ask for the report again.";

namespace {

const QString kRequestFile = QStringLiteral("Raw.txt");
const QString kReportPdf = QStringLiteral("Report.pdf");

// Sets the processing run's view of the Reports window for one run and puts
// back what was there, so later downloads are not processed as filtered.
class PointFilterScope {
  public:
    PointFilterScope(ProcessingContext& ctx, bool checked)
        : ctx_(ctx), saved_(ctx.pointFilterChecked) {
        ctx_.pointFilterChecked = checked;
    }
    ~PointFilterScope() { ctx_.pointFilterChecked = saved_; }
    PointFilterScope(const PointFilterScope&) = delete;
    PointFilterScope& operator=(const PointFilterScope&) = delete;

  private:
    ProcessingContext& ctx_;
    bool saved_;
};

// An upload is waiting when "Raw.txt" has content and does not end with "Done".
bool uploadWaiting(const QString& path) {
    return textfile::exists(path) && QFile(path).size() > 0 && rawfile::isUnprocessed(path);
}

std::optional<RequestWindow> readWindow(ProcessingContext& ctx, const ReportRequest& r) {
    if (!r.fromDate.isValid() || !r.toDate.isValid()) {
        ctx.ui->showMessage(QStringLiteral("The report needs a valid from date and to date"));
        return std::nullopt;
    }
    const std::optional<QTime> from = parseTimeEdit(r.fromTime);
    const std::optional<QTime> to = parseTimeEdit(r.toTime);
    if (!from || !to) {
        ctx.ui->showMessage(invalidTimeMessage(from ? r.toTime : r.fromTime));
        return std::nullopt;
    }
    return RequestWindow{r.fromDate, *from, r.toDate, *to};
}

QString filterIdOf(const ReportRequest& r) {
    return r.pointFilter ? filterIdFromSelector(r.pointSelectorText) : QString();
}

QString shiftIdentityLine(const TLanguageTable& texts, const RequestWindow& w, bool night) {
    const QString blank = QStringLiteral(" ");
    return texts.text(night ? reporttext::kNightRequest : reporttext::kDayRequest) + blank +
           texts.text(reporttext::kFrom) + blank + shortDateText(w.fromDate) + blank +
           texts.text(reporttext::kTo) + blank + shortDateText(w.toDate);
}

// The request file's content for a clocking list: sorted by checkpoint when
// asked, or when one checkpoint is filtered out of the list.
QStringList clockingListFile(ProcessingContext& ctx, const ReportRequest& r, const RequestWindow& w,
                             const QStringList& gathered) {
    if (!r.sortByCheckpoints && !r.pointFilter) {
        return QStringList{listIdentityLine(*ctx.texts, w)} + gathered;
    }
    const auto list = readReportCheckpoints(ctx.sites->checkpointListPath(r.site));
    return QStringList{sortedIdentityLine(*ctx.texts, w)} +
           sortByCheckpoint(gathered, list, filterIdOf(r));
}

QStringList overviewFile(ProcessingContext& ctx, const ReportRequest& r, const RequestWindow& w,
                         const QStringList& gathered) {
    const auto list = readReportCheckpoints(ctx.sites->checkpointListPath(r.site));
    const ShiftPlan plan = planShifts(w.fromDate, w.toDate, r.nightShift);
    return QStringList{shiftIdentityLine(*ctx.texts, w, r.nightShift)} +
           gatherByShift(gathered, list, plan, filterIdOf(r));
}

QStringList makeOverview(ProcessingContext& ctx, const ReportRequest& r, const RequestWindow& w) {
    const QStringList file = textfile::readLines(ctx.path(kRequestFile));
    OverviewInput in;
    in.site = r.site;
    in.reportHeader = ctx.settings->values().reportHeader;
    in.reportFooter = ctx.settings->values().reportFooter;
    in.plan = planShifts(w.fromDate, w.toDate, r.nightShift);
    in.checkpoints = readReportCheckpoints(ctx.sites->checkpointListPath(r.site));
    in.filterId = filterIdOf(r);
    in.requestLines = file.mid(1);
    drawOverview(*ctx.pdf, *ctx.texts, *ctx.ui, in);
    const QString pdf = ctx.path(kReportPdf);
    ctx.pdf->SavePdf(pdf);
    ctx.ui->openDocument(pdf);
    return {pdf};
}

QStringList makeClockingList(ProcessingContext& ctx, const ReportRequest& r) {
    SettingsValues values = ctx.settings->values();
    if (values.secureReports != r.createPdf) {
        values.secureReports = r.createPdf;  // the box's state, held in memory only
        ctx.settings->setValues(values);
    }
    PointFilterScope filter(ctx, r.pointFilter);
    return ProcessRaw(ctx, ctx.path(kRequestFile), ProcessOrigin::ReportRequest).reportFiles;
}

int countRequestLines(const QString& path) {
    try {
        return int(textfile::readLines(path).size());
    } catch (const FileError&) {
        return 0;
    }
}

RequestOutcome finish(ProcessingContext& ctx, const RequestWindow& w, RequestOutcome out) {
    out.requestLines = countRequestLines(ctx.path(kRequestFile));
    if (out.requestLines > 2) {
        out.status = RequestOutcome::Status::Made;
    } else if (out.requestLines == 0) {
        out.status = RequestOutcome::Status::RequestUnreadable;
        ctx.ui->showMessage(ctx.texts->text(reporttext::kRequestUnreadable));
    } else {
        out.status = RequestOutcome::Status::NothingFound;
        ctx.ui->showMessage(ctx.texts->text(reporttext::kNothingFound) + QStringLiteral("\n\r") +
                            windowText(*ctx.texts, w));
    }
    return out;
}

RequestOutcome gatherAndMake(ProcessingContext& ctx, const ReportRequest& r,
                             const RequestWindow& w) {
    RequestOutcome out;
    const bool overview = r.kind == ReportKind::Overview;
    const GatheredLines gathered = gatherDayFiles(*ctx.sites, r.site, w);
    for (qsizetype i = 0; i < gathered.unreadable.size(); ++i) {
        ctx.ui->showMessage(ctx.texts->text(reporttext::kLineUnreadable));
    }
    out.gatheredLines = int(gathered.lines.size());
    QStringList file = overview ? overviewFile(ctx, r, w, gathered.lines)
                                : clockingListFile(ctx, r, w, gathered.lines);
    const bool anyClocking = file.size() > 1;
    file << QStringLiteral("Done");
    textfile::writeLinesAtomic(ctx.path(kRequestFile), file);
    if (overview && anyClocking) {
        out.reportFiles = makeOverview(ctx, r, w);
    } else if (!overview && out.gatheredLines > 0) {
        out.reportFiles = makeClockingList(ctx, r);
    }
    return finish(ctx, w, out);
}

}  // namespace

bool removeOldReportPdf(ProcessingContext& ctx, bool createPdf) {
    const QString pdf = ctx.path(kReportPdf);
    if (createPdf || !QFile::exists(pdf) || QFile::remove(pdf)) {
        return true;
    }
    ctx.ui->showMessage(ctx.texts->text(reporttext::kReportPdfLocked));
    return false;
}

RequestOutcome createReport(ProcessingContext& ctx, const ReportRequest& request) {
    if (request.kind == ReportKind::ByDownload) {
        return {};  // a stored report is opened, not made: openDownloadReports
    }
    if (uploadWaiting(ctx.path(kRequestFile))) {
        ctx.ui->showMessage(QString::fromLatin1(kUnprocessedUploadMessage));
        return {};
    }
    if (!removeOldReportPdf(ctx, request.createPdf)) {
        return {};
    }
    const std::optional<RequestWindow> window = readWindow(ctx, request);
    if (!window) {
        return {};
    }
    BusyScope busy(*ctx.ui, ctx.texts->text(reporttext::kProcessingData));
    return gatherAndMake(ctx, request, *window);
}

QStringList openDownloadReports(ProcessingContext& ctx, const QString& site,
                                const std::vector<DownloadRow>& selected, bool createPdf) {
    removeOldReportPdf(ctx, createPdf);  // a report by download goes on all the same
    QStringList opened;
    const QString folder = ctx.sites->sitePath(site);
    for (const DownloadRow& row : selected) {
        const QString file = downloadReportToOpen(folder, row, createPdf);
        if (!file.isEmpty()) {
            ctx.ui->openDocument(file);
            opened << file;
        }
    }
    return opened;
}

}  // namespace dorodure
