// Times the two reports over stored data for one busy site: a clocking list
// and a night-shift overview over a year of day files (50 checkpoints, 200
// clockings a day). Goals: the list within 1 s, the overview of 365 shifts
// within 2 s.

#include "prefs/baton_names.h"
#include "processing/pdf/pdfprint.h"
#include "processing/processing_context.h"
#include "processing/unknown_checkpoints.h"
#include "reports/report_request.h"
#include "reports/report_view_state.h"
#include "reports/request_gather.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "shell/text_file.h"
#include "shell/user_interaction.h"
#include "sites/site_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <ctime>

namespace dorodure {
namespace {

constexpr int kCheckpoints = 50;
constexpr int kClockingsPerDay = 200;
const QString kSite = QStringLiteral("Busy Site");
const QDate kFirstDay(2011, 1, 1);

// Answers nothing and opens nothing; counts the messages.
class SilentUi final : public UserInteraction {
  public:
    int messages = 0;
    void showMessage(const QString&) override { ++messages; }
    bool confirm(const QString&) override { return false; }
    std::optional<QString> askText(const QString&, const QString&) override { return std::nullopt; }
    void openDocument(const QString&) override {}
};

QString checkpointId(int n) {
    return QStringLiteral("%1").arg(0x100 + n, 6, 16, QLatin1Char('0')).toUpper();
}

void writeSite(const QString& folder, TSiteStore& store) {
    QDir(folder).mkpath(kSite + QStringLiteral("/Raw"));
    QStringList list{QStringLiteral("//Checkpoint list for ") + kSite, QString()};
    for (int n = 0; n < kCheckpoints; ++n) {
        list << checkpointId(n) + QStringLiteral(" = Checkpoint %1").arg(n + 1);
    }
    list << QString() << QStringLiteral("//End of File");
    store.loadSites();
    textfile::writeLinesAtomic(store.checkpointListPath(kSite), list);
    store.rebuildSiteIds();
}

// One day's clockings, spread over the day in time order.
void writeDay(const TSiteStore& store, const QDate& day) {
    QStringList lines;
    for (int i = 0; i < kClockingsPerDay; ++i) {
        const int minuteOfDay = i * (24 * 60) / kClockingsPerDay;
        lines << QStringLiteral("000000") + checkpointId(i % kCheckpoints) +
                     day.toString(QStringLiteral("yyMMdd")) +
                     QStringLiteral("%1%2")
                         .arg(minuteOfDay / 60, 2, 10, QLatin1Char('0'))
                         .arg(minuteOfDay % 60, 2, 10, QLatin1Char('0'));
    }
    textfile::writeLinesAtomic(store.dayFilePath(kSite, day.toString(QStringLiteral("yyMMdd"))),
                               lines);
}

// Seconds of processor time used by this process; on a busy machine the
// wall-clock time also holds the time other programs had the processor.
double cpuSeconds() {
    return double(std::clock()) / CLOCKS_PER_SEC;
}

struct Timing {
    double wall = 0;
    double cpu = 0;
};

Timing timeRequest(ProcessingContext& ctx, const ReportRequest& r, int& gathered) {
    QElapsedTimer t;
    t.start();
    const double cpu = cpuSeconds();
    const RequestOutcome out = createReport(ctx, r);
    gathered = out.gatheredLines;
    return {double(t.nsecsElapsed()) / 1e9, cpuSeconds() - cpu};
}

int run() {
    QTemporaryDir dir;
    const QString folder = dir.path();
    SystemClock clock;
    TLanguageTable texts;
    SilentUi ui;
    TSettings settings(textfile::join(folder, QStringLiteral("Dorodure.ini")));
    settings.load();
    TActivityLog log(folder, clock);
    TSiteStore store(folder);
    BatonNames batons(folder);
    batons.load();
    PdfPrint pdf(clock);
    FixedUnknownAsker asker;
    ProcessingContext ctx;
    ctx.dataFolder = folder;
    ctx.settings = &settings;
    ctx.texts = &texts;
    ctx.activityLog = &log;
    ctx.sites = &store;
    ctx.batonNames = &batons;
    ctx.pdf = &pdf;
    ctx.clock = &clock;
    ctx.ui = &ui;
    ctx.unknownAsker = &asker;

    writeSite(folder, store);
    const QDate lastDay = kFirstDay.addDays(364);
    for (QDate d = kFirstDay; d <= lastDay; d = d.addDays(1)) {
        writeDay(store, d);
    }

    ReportRequest list;
    list.site = kSite;
    list.kind = ReportKind::ClockingList;
    list.fromDate = kFirstDay;
    list.toDate = lastDay;
    list.fromTime = QStringLiteral("00h00");
    list.toTime = QStringLiteral("23h59");
    QElapsedTimer gatherTimer;
    gatherTimer.start();
    const GatheredLines year =
        gatherDayFiles(store, kSite, {kFirstDay, QTime(0, 0), lastDay, QTime(23, 59)});
    std::printf("gathering alone, %d clockings: %.3f s\n", int(year.lines.size()),
                double(gatherTimer.nsecsElapsed()) / 1e9);

    int gathered = 0;
    const Timing listTime = timeRequest(ctx, list, gathered);
    std::printf("clocking list, 365 days, %d clockings: %.3f s (processor %.3f s; goal < 1 s)\n",
                gathered, listTime.wall, listTime.cpu);

    ReportRequest overview;
    overview.site = kSite;
    overview.kind = ReportKind::Overview;
    overview.nightShift = true;
    overview.fromDate = kFirstDay.addDays(-1);
    overview.toDate = lastDay;
    const Timing overviewTime = timeRequest(ctx, overview, gathered);
    std::printf("night overview, 365 shifts, %d clockings: %.3f s (processor %.3f s; goal < 2 s)\n",
                gathered, overviewTime.wall, overviewTime.cpu);
    return 0;
}

}  // namespace
}  // namespace dorodure

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    return dorodure::run();
}
