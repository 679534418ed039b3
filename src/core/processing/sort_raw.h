#pragma once

#include "processing_context.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace dorodure {

class SiteIds;
class TSiteStore;

// Files every clocking record of an upload under the site or sites whose
// checkpoint list holds its id, merging it into the sites' day files; appends
// "Done" to the upload file when it does not end with it. Throws FileError.
//
// Every day file of the run is read and merged before the first one is
// written, and they are replaced together (commitDayFiles), so a run that
// fails changes no day file. "Done" is appended only after every day file has
// been replaced: a run that fails leaves the upload unprocessed.
void SortRaw(ProcessingContext& ctx, const QString& uploadPath);

// SortRaw then ProcessRaw on "Raw.txt" of the data folder.
void DoRaw(ProcessingContext& ctx);

// The two passes of SortRaw, for the sorting run and its tests.
namespace sortraw {

// The upload split by bucket: one list per site index, then the unknown bucket.
using Buckets = std::vector<QStringList>;

// Pass 1: distributes the upload's lines over the buckets of siteCount sites
// (commonSite: the index of the common site, or -1). Records of the common
// site follow the ordinary site being patrolled; a unit marker is carried with
// the record after it. onLine is called once per line read (progress).
Buckets distribute(const QStringList& uploadLines, const SiteIds& ids, int siteCount,
                   int commonSite, const std::function<void()>& onLine = {});

// One day file to be written: its path and all its lines in key order.
struct DayFileUpdate {
    QString path;
    QStringList lines;
};

// Pass 2 for one site: merges the records of its bucket with the site's day
// files of the same days. Reads the existing day files; writes nothing.
// Records whose date is not six digits cannot name a day file and are left
// out. Throws FileError when a day file cannot be read.
std::vector<DayFileUpdate> planSiteMerge(const TSiteStore& store, int site,
                                         const QStringList& bucket);

// Replaces the day files as one step: all are written as scratch copies
// first, flushed to the disk together, then renamed over the day files. When
// a copy cannot be written, the copies are removed, no day file has changed
// and FileError is thrown. onFile is called after each copy (progress).
void commitDayFiles(const QString& dataFolder, const std::vector<DayFileUpdate>& updates,
                    const std::function<void()>& onFile = {});

}  // namespace sortraw
}  // namespace dorodure
