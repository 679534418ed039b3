// Sorting and processing of a full baton against a large store.
//
// Builds a data folder of 20 sites with 255 checkpoints each and a year of day
// files, then times on fresh copies of it:
// - SortRaw of a full eight-bank upload (32,000 records over 20 sites and the
//   last 30 days of the year);
// - ProcessRaw of the same upload (text, CSV and PDF reports of every site);
// - DoRaw (both);
// - a coreutils pipeline (awk and sort) doing the same merge into day files.
// Prints records per second, the peak memory and the ratio of SortRaw to the
// pipeline. Usage: sort_bench [records] [days-of-history]

#include "prefs/baton_names.h"
#include "processing/pdf/pdfprint.h"
#include "processing/process_raw.h"
#include "processing/sort_raw.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "shell/text_file.h"
#include "shell/user_interaction.h"
#include "sites/site_store.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <functional>

namespace {

using namespace dorodure;

constexpr int kSites = 20;
constexpr int kCheckpoints = 255;
constexpr int kRecordsPerStoredDay = 48;
constexpr int kUploadDays = 30;
const QDate kLastDay(2009, 12, 31);

QString checkpointId(int site, int point) {
    return QStringLiteral("%1").arg(site * 256 + point + 1, 6, 16, QLatin1Char('0')).toUpper();
}

QString stamp(const QDate& day, int minuteOfDay) {
    return day.toString(QStringLiteral("yyMMdd")) +
           QStringLiteral("%1%2")
               .arg(minuteOfDay / 60, 2, 10, QLatin1Char('0'))
               .arg(minuteOfDay % 60, 2, 10, QLatin1Char('0'));
}

QString storedLine(int site, int point, const QDate& day, int minuteOfDay) {
    return QStringLiteral("000000") + checkpointId(site, point) + stamp(day, minuteOfDay);
}

// Plain writes: the store is scratch, no need to flush every file.
void writeFile(const QString& path, const QStringList& lines) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(1);
    }
    for (const QString& line : lines) {
        file.write(textfile::encode(line) + "\r\n");
    }
}

void writeSite(const QString& root, int site, int historyDays) {
    const QString name = QStringLiteral("Site%1").arg(site, 2, 10, QLatin1Char('0'));
    QDir(root).mkpath(name + QStringLiteral("/Raw"));
    QStringList list{QStringLiteral("//Checkpoint list for ") + name, QString()};
    for (int p = 0; p < kCheckpoints; ++p) {
        list << checkpointId(site, p) + QStringLiteral(" = Point ") + QString::number(p + 1);
    }
    list << QString() << QStringLiteral("//End of File");
    writeFile(root + u'/' + name + QStringLiteral("/checkpt.lst"), list);
    for (int d = 0; d < historyDays; ++d) {
        const QDate day = kLastDay.addDays(-d);
        QStringList lines;
        for (int r = 0; r < kRecordsPerStoredDay; ++r) {
            lines << storedLine(site, (r * 7) % kCheckpoints, day, r * 30);
        }
        writeFile(root + u'/' + name + QStringLiteral("/Raw/") +
                      day.toString(QStringLiteral("yyMMdd")) + QStringLiteral(".txt"),
                  lines);
    }
}

// The upload: a baton walking the sites in turn, one record a minute or so.
QStringList uploadLines(int records) {
    QStringList lines{QStringLiteral("Id : 00012345")};
    for (int r = 0; r < records; ++r) {
        const int site = (r / 80) % kSites;
        const QDate day = kLastDay.addDays(-(kUploadDays - 1) + (r * kUploadDays) / records);
        const int minute = (r * 7) % 1440;
        lines << QStringLiteral("000000") + checkpointId(site, r % kCheckpoints) +
                     stamp(day, minute) + QString::number((r / 2) % 100);
    }
    return lines;
}

class SilentUi final : public UserInteraction {
  public:
    void showMessage(const QString&) override {}
    bool confirm(const QString&) override { return false; }
    std::optional<QString> askText(const QString&, const QString&) override { return {}; }
    void openDocument(const QString&) override {}
};

// The program's objects on one data folder, as the command-line tool sets
// them up.
struct Program {
    explicit Program(const QString& folder)
        : settings(folder + QStringLiteral("/Dorodure.ini")),
          log(folder, clock),
          names(folder),
          pdf(clock),
          store(folder) {
        settings.load();
        texts.loadDefaults();
        names.load();
        store.loadSites();
        store.rebuildSiteIds();
        ctx.dataFolder = folder;
        ctx.settings = &settings;
        ctx.texts = &texts;
        ctx.activityLog = &log;
        ctx.sites = &store;
        ctx.batonNames = &names;
        ctx.pdf = &pdf;
        ctx.clock = &clock;
        ctx.ui = &ui;
    }
    SystemClock clock;
    TSettings settings;
    TLanguageTable texts;
    TActivityLog log;
    BatonNames names;
    PdfPrint pdf;
    TSiteStore store;
    SilentUi ui;
    ProcessingContext ctx;
};

void run(const QString& program, const QStringList& args, const QString& cwd = {}) {
    QProcess p;
    p.setWorkingDirectory(cwd);
    p.start(program, args);
    p.waitForFinished(-1);
    if (p.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program),
                     p.readAllStandardError().constData());
    }
}

// A fresh copy of the pristine store.
QString freshCopy(const QString& pristine, const QString& scratch, const QString& name) {
    const QString target = scratch + u'/' + name;
    QDir(target).removeRecursively();
    run(QStringLiteral("cp"), {QStringLiteral("-a"), pristine, target});
    // An old store is on the disk already: flush the copy before timing.
    run(QStringLiteral("sync"), {});
    return target;
}

double timeMs(const std::function<void()>& body) {
    QElapsedTimer timer;
    timer.start();
    body();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The same merge with awk and sort: the upload's records by checkpoint id to
// their sites, the stored records of the touched days added, everything
// sorted by site, day and key, and written back one day file at a time.
// clang-format off
const char* const kPipeline = R"SH(
set -e
awk -F' = ' 'FNR<=2{next} length($0)>9{split(FILENAME,p,"/"); print substr($0,1,6) "\t" p[1]}' */checkpt.lst > ids.map
awk 'BEGIN{FS="\t"}
  NR==FNR{site[$1]=site[$1] "\t" $2; next}
  { sub(/\r$/,""); if (length($0)<22 || substr($0,1,2)=="Id" || $0=="Done") next
    id=substr($0,7,6); if (!(id in site)) next
    n=split(substr(site[id],2),s,"\t")
    for(i=1;i<=n;i++){ day=substr($0,13,6); print s[i] "\t" substr($0,13,10) substr($0,1,12)
      touched[s[i] "/Raw/" day ".txt"]=s[i] }
  }
  END{ for (f in touched) while ((getline line < f) > 0) { sub(/\r$/,"",line)
         if (length(line)>=22) print touched[f] "\t" substr(line,13,10) substr(line,1,12) } }' ids.map Raw.txt |
LC_ALL=C sort -t"$(printf '\t')" -k1,1 -k2,2 |
awk -F'\t' '{ f=$1 "/Raw/" substr($2,1,6) ".txt"; if (f!=cur){ if(cur!="") close(cur); cur=f; printf "" > cur }
  printf "%s%s\r\n", substr($2,11,12), substr($2,1,10) > cur }'
)SH";
// clang-format on

long peakKb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void report(const char* what, double ms, int records) {
    std::printf("%-28s %10.1f ms %12.0f records/s\n", what, ms, records / (ms / 1000.0));
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int records = argc > 1 ? std::atoi(argv[1]) : 32000;
    const int historyDays = argc > 2 ? std::atoi(argv[2]) : 365;
    QTemporaryDir scratch;
    const QString pristine = scratch.path() + QStringLiteral("/pristine");
    const double buildMs = timeMs([&] {
        for (int s = 0; s < kSites; ++s) {
            writeSite(pristine, s, historyDays);
        }
        writeFile(pristine + QStringLiteral("/Raw.txt"), uploadLines(records));
    });
    std::printf("store: %d sites x %d checkpoints, %d days of %d records (built in %.0f ms)\n",
                kSites, kCheckpoints, historyDays, kRecordsPerStoredDay, buildMs);
    std::printf("upload: %d records over %d days\n\n", records, kUploadDays);

    QString folder = freshCopy(pristine, scratch.path(), QStringLiteral("sort"));
    double sortMs = 0;
    double processMs = 0;
    {
        Program p(folder);
        const QString raw = folder + QStringLiteral("/Raw.txt");
        sortMs = timeMs([&] { SortRaw(p.ctx, raw); });
        processMs = timeMs([&] { ProcessRaw(p.ctx, raw, ProcessOrigin::Download); });
    }
    report("SortRaw", sortMs, records);
    report("ProcessRaw (txt+csv+pdf)", processMs, records);

    // Where SortRaw's time goes: reading and splitting, merging, writing.
    folder = freshCopy(pristine, scratch.path(), QStringLiteral("parts"));
    {
        Program p(folder);
        QStringList lines;
        sortraw::Buckets split;
        std::vector<sortraw::DayFileUpdate> plan;
        const double splitMs = timeMs([&] {
            lines = textfile::readLines(folder + QStringLiteral("/Raw.txt"));
            split = sortraw::distribute(lines, p.store.siteIds(), p.store.siteCount(),
                                        p.store.commonSiteIndex());
        });
        const double mergeMs = timeMs([&] {
            for (int s = 0; s < p.store.siteCount(); ++s) {
                for (auto& u : sortraw::planSiteMerge(p.store, s, split[std::size_t(s)])) {
                    plan.push_back(std::move(u));
                }
            }
        });
        const double writeMs = timeMs([&] { sortraw::commitDayFiles(folder, plan); });
        report("  read and split (pass 1)", splitMs, records);
        report("  merge with day files", mergeMs, records);
        std::printf("  write %zu day files          %10.1f ms\n", plan.size(), writeMs);
    }

    folder = freshCopy(pristine, scratch.path(), QStringLiteral("doraw"));
    double doRawMs = 0;
    {
        Program p(folder);
        doRawMs = timeMs([&] { DoRaw(p.ctx); });
    }
    report("DoRaw", doRawMs, records);

    folder = freshCopy(pristine, scratch.path(), QStringLiteral("pipeline"));
    const double pipelineMs = timeMs([&] {
        run(QStringLiteral("sh"), {QStringLiteral("-c"), QString::fromLatin1(kPipeline)}, folder);
    });
    report("awk+sort pipeline", pipelineMs, records);
    // SortRaw flushes its day files to the disk before it counts the upload as
    // stored; the pipeline does not. The same pipeline followed by a flush:
    const QString synced = freshCopy(pristine, scratch.path(), QStringLiteral("pipesync"));
    const double pipelineSyncMs = timeMs([&] {
        run(QStringLiteral("sh"),
            {QStringLiteral("-c"), QString::fromLatin1(kPipeline) + QStringLiteral("sync -f .\n")},
            synced);
    });
    report("awk+sort pipeline + flush", pipelineSyncMs, records);

    // The pipeline must have written what SortRaw wrote.
    const QString day = kLastDay.toString(QStringLiteral("yyMMdd")) + QStringLiteral(".txt");
    const bool same =
        textfile::readLines(scratch.path() + QStringLiteral("/sort/Site00/Raw/") + day) ==
        textfile::readLines(folder + QStringLiteral("/Site00/Raw/") + day);
    std::printf("\nSortRaw / pipeline time ratio: %.2f; with the flush: %.2f (output %s)\n",
                sortMs / pipelineMs, sortMs / pipelineSyncMs, same ? "identical" : "DIFFERS");
    std::printf("DoRaw of a full baton: %.0f ms (goal: under 1000 ms)\n", doRawMs);
    std::printf("peak memory: %ld kB\n", peakKb());
    return 0;
}
