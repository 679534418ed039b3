// The sorting run: an upload filed under its sites' day files, then DoRaw.

#include "sort_raw.h"

#include "buckets.h"
#include "process_raw.h"
#include "processing/line_gauge.h"
#include "processing/raw/raw_file.h"
#include "shell/language_table.h"
#include "shell/text_file.h"
#include "shell/user_interaction.h"
#include "sites/site_store.h"

#include <QFile>

namespace dorodure {

namespace {

class SilentInteraction final : public UserInteraction {
  public:
    void showMessage(const QString&) override {}
    bool confirm(const QString&) override { return false; }
    std::optional<QString> askText(const QString&, const QString&) override { return {}; }
    void openDocument(const QString&) override {}
};

// Whether the file is empty or its last byte ends a line.
bool endsWithLineEnd(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() == 0) {
        return true;
    }
    file.seek(file.size() - 1);
    char last = 0;
    return file.getChar(&last) && last == '\n';
}

// Appends the end marker; a last line without its line end is ended first so
// that "Done" stands on a line of its own.
void appendDone(const QString& uploadPath) {
    QStringList lines{QStringLiteral("Done")};
    if (!endsWithLineEnd(uploadPath)) {
        lines.prepend(QString());
    }
    textfile::appendLines(uploadPath, lines, true);
}

void writeBuckets(const QString& folder, const sortraw::Buckets& split) {
    for (std::size_t n = 0; n < split.size(); ++n) {
        buckets::append(folder, int(n), split[n]);
    }
}

std::vector<sortraw::DayFileUpdate> planMerge(const TSiteStore& store,
                                              const sortraw::Buckets& split) {
    std::vector<sortraw::DayFileUpdate> updates;
    for (int site = 0; site < store.siteCount(); ++site) {
        for (auto& update : sortraw::planSiteMerge(store, site, split[std::size_t(site)])) {
            updates.push_back(std::move(update));
        }
    }
    return updates;
}

}  // namespace

void SortRaw(ProcessingContext& ctx, const QString& uploadPath) {
    SilentInteraction silent;
    UserInteraction& ui = ctx.ui ? *ctx.ui : silent;
    BusyScope busy(ui);
    if (ctx.texts) {
        ui.setStatus(ctx.texts->text(37));
    }
    const TSiteStore& store = *ctx.sites;
    const int siteCount = store.siteCount();
    buckets::createAll(ctx.dataFolder, siteCount);

    const QStringList lines = textfile::readLines(uploadPath);
    LineGauge gauge(ui);
    const sortraw::Buckets split = sortraw::distribute(
        lines, store.siteIds(), siteCount, store.commonSiteIndex(), [&gauge] { gauge.step(); });
    writeBuckets(ctx.dataFolder, split);
    gauge.finish();

    textfile::createEmpty(ctx.path(QStringLiteral("empty.txt")));
    sortraw::commitDayFiles(ctx.dataFolder, planMerge(store, split), [&gauge] { gauge.step(); });
    // Only now is every record in the store: the upload counts as sorted.
    if (lines.isEmpty() || !rawfile::isDone(lines.last())) {
        appendDone(uploadPath);
    }
    buckets::removeAll(ctx.dataFolder, siteCount);
    QFile::remove(ctx.path(QStringLiteral("sorttemp.$$$")));
}

void DoRaw(ProcessingContext& ctx) {
    const QString uploadPath = ctx.path(QStringLiteral("Raw.txt"));
    SortRaw(ctx, uploadPath);
    ProcessRaw(ctx, uploadPath, ProcessOrigin::Download);
}

}  // namespace dorodure
