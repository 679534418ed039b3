// Pass 2 of sorting: a site's new records merged into its day files.

#include "processing/raw/raw_file.h"
#include "shell/text_file.h"
#include "sites/site_store.h"
#include "sort_raw.h"

#include <QMap>

#include <algorithm>

namespace dorodure::sortraw {

namespace {

constexpr int kRecordLength = 22;

// A day name must be six digits: it becomes a file name.
bool isDayName(const QString& day) {
    if (day.size() != 6) {
        return false;
    }
    return std::all_of(day.begin(), day.end(), [](QChar c) { return c.isDigit(); });
}

// The keys of the new records, grouped by day in ascending day order.
QMap<QString, QStringList> keysByDay(const QStringList& bucket) {
    QMap<QString, QStringList> days;
    for (const QString& line : bucket) {
        if (line.size() < kRecordLength) {
            continue;
        }
        const QString day = rawfile::dayName(line);
        if (isDayName(day)) {
            days[day].append(rawfile::dayKey(line));
        }
    }
    return days;
}

// Adds the keys of a day file's stored records. A stored line stays in its
// own file whatever its date says, so no other day file is touched.
void addStoredKeys(const QString& path, QStringList& keys) {
    for (const QString& line : textfile::readLinesIfExists(path)) {
        if (line.size() >= kRecordLength) {
            keys.append(rawfile::dayKey(line));
        }
    }
}

DayFileUpdate mergeDay(const QString& path, QStringList keys) {
    addStoredKeys(path, keys);
    std::sort(keys.begin(), keys.end());
    DayFileUpdate update{path, {}};
    update.lines.reserve(keys.size());
    for (const QString& key : keys) {
        update.lines.append(rawfile::lineFromDayKey(key));
    }
    return update;
}

}  // namespace

std::vector<DayFileUpdate> planSiteMerge(const TSiteStore& store, int site,
                                         const QStringList& bucket) {
    std::vector<DayFileUpdate> updates;
    const QString siteName = store.siteName(site);
    const QMap<QString, QStringList> days = keysByDay(bucket);
    for (auto it = days.cbegin(); it != days.cend(); ++it) {
        updates.push_back(mergeDay(store.dayFilePath(siteName, it.key()), it.value()));
    }
    return updates;
}

}  // namespace dorodure::sortraw
