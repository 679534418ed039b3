// Pass 1 of sorting: the upload's records split over the site buckets.

#include "processing/raw/raw_file.h"
#include "sites/site_ids.h"
#include "sort_raw.h"

#include <optional>

namespace dorodure::sortraw {

namespace {

// A unit marker as sorting recognises it: longer than 22 characters, minute
// bit 7 set and a unit number of digits. Other marker lines are records.
bool isCarriedMarker(const QString& line) {
    return line.size() > 22 && rawfile::hasUnitMarkerBit(line) && rawfile::hasDigitUnitField(line);
}

class Distributor {
  public:
    Distributor(const SiteIds& ids, int siteCount, int commonSite)
        : ids_(ids),
          siteCount_(siteCount),
          commonSite_(commonSite),
          buckets_(std::size_t(siteCount) + 1) {}

    void takeLine(const QString& line);
    Buckets result() && { return std::move(buckets_); }

  private:
    void takeRecord(const QString& line);
    void fileUnmatched(const QString& line);
    void fileMatch(int site, const QString& line);
    int targetFor(int site);
    void appendTo(int bucket, const QString& line);

    const SiteIds& ids_;
    const int siteCount_;
    const int commonSite_;
    Buckets buckets_;
    std::optional<QString> pendingMarker_;
    int lastSite_ = -1;
    bool pendingCommon_ = false;
};

void Distributor::takeLine(const QString& line) {
    switch (rawfile::classify(line)) {
        case rawfile::LineKind::Record:
            break;
        case rawfile::LineKind::Gap:
            return;  // left by other producers; the pending marker waits on
        default:
            // Identity line, "Done" or a short line: no record follows the
            // marker, so it is dropped.
            pendingMarker_.reset();
            return;
    }
    if (isCarriedMarker(line)) {
        // A marker right after a marker: the first unit has no records.
        pendingMarker_ = line;
        return;
    }
    takeRecord(line);
    pendingMarker_.reset();
}

void Distributor::takeRecord(const QString& line) {
    const std::vector<int>& sites = ids_.matches(rawfile::checkpointId(line));
    bool matched = false;
    for (int site : sites) {
        if (site >= 0 && site < siteCount_) {
            matched = true;
            fileMatch(site, line);
        }
    }
    if (!matched) {
        fileUnmatched(line);
    }
}

void Distributor::fileUnmatched(const QString& line) {
    if (rawfile::isCorrupt(line) || rawfile::hasUnitMarkerBit(line)) {
        return;
    }
    appendTo(siteCount_, line);
}

void Distributor::fileMatch(int site, const QString& line) {
    if (rawfile::isCorrupt(line)) {
        return;
    }
    appendTo(targetFor(site), line);
}

// Records of the common site go with the ordinary site patrolled before them;
// before the first ordinary record they wait in the common site's bucket and
// join the first ordinary site that follows.
int Distributor::targetFor(int site) {
    if (site == commonSite_) {
        if (lastSite_ < 0) {
            lastSite_ = commonSite_;
            pendingCommon_ = true;
        }
        return lastSite_;
    }
    if (pendingCommon_) {
        pendingCommon_ = false;
        QStringList& common = buckets_[std::size_t(commonSite_)];
        buckets_[std::size_t(site)] += common;
        common.clear();
    }
    lastSite_ = site;
    return site;
}

void Distributor::appendTo(int bucket, const QString& line) {
    QStringList& target = buckets_[std::size_t(bucket)];
    if (pendingMarker_) {
        target.append(*pendingMarker_);
    }
    target.append(line);
}

}  // namespace

Buckets distribute(const QStringList& uploadLines, const SiteIds& ids, int siteCount,
                   int commonSite, const std::function<void()>& onLine) {
    Distributor distributor(ids, siteCount, commonSite);
    for (const QString& line : uploadLines) {
        if (onLine) {
            onLine();
        }
        distributor.takeLine(line);
    }
    return std::move(distributor).result();
}

}  // namespace dorodure::sortraw
