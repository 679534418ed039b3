#include "distribution_pass.h"

#include <QRegularExpression>

#include "raw/raw_file.h"
#include "sites/site_ids.h"

namespace dorodure {

namespace {

// The upload session writes the baton's checkpoint delay after its id
// ("Id : Ziru0123   Dly : 5"). That suffix describes the baton, not a report
// window, so it does not count towards the long identity of request files:
// otherwise every upload of such a baton would lose its per-site reports.
qsizetype identityLength(const QString& identityLine) {
    static const QRegularExpression delaySuffix(QStringLiteral("   Dly : \\d+$"));
    const QRegularExpressionMatch m = delaySuffix.match(identityLine);
    return m.hasMatch() ? m.capturedStart() : identityLine.size();
}

}  // namespace

UploadIdentity UploadIdentity::fromLine(const QString& identityLine) {
    UploadIdentity identity;
    identity.longIdentity = identityLength(identityLine) - 5 > 16;
    const QChar mode = identityLine.size() > 2 ? identityLine[2] : QChar();
    identity.sorted = mode == u's';
    identity.noSeparator = mode == u'o';
    identity.unitText = identityLine.mid(5);
    return identity;
}

bool isDuplicateOf(const QString& record, const QString& lastKept) {
    if (record.mid(6, 14) != lastKept.mid(6, 14)) {
        return false;
    }
    bool okRecord = false;
    bool okLast = false;
    const int minute = record.mid(20, 2).toInt(&okRecord);
    const int lastMinute = lastKept.mid(20, 2).toInt(&okLast);
    return okRecord && okLast && (minute == lastMinute || minute == lastMinute + 1);
}

namespace {

// One pass over the upload's lines; keeps the state that links a record to
// the ones before it (last kept record, the site being patrolled).
class Distributor {
  public:
    Distributor(const SiteIds& ids, const DistributionOptions& options)
        : ids_(ids), options_(options) {
        result_.buckets.resize(std::size_t(options.siteCount) + 1);
        result_.lastKept = QString::fromLatin1(kInitialLastKept);
    }

    Distribution run(const QStringList& lines);

  private:
    int unknownBucket() const { return options_.siteCount; }
    void readLine(const QStringList& lines, int& i);
    bool isRecordCandidate(const QStringList& lines, int i) const;
    void fileRecord(const QString& record, const QString& marker);
    void fileMatch(int site, const QString& record, const QString& marker);
    int targetBucket(int site);
    void append(int bucket, const QString& marker, const QString& record);

    const SiteIds& ids_;
    const DistributionOptions& options_;
    Distribution result_;
    int lastSite_ = -1;
    bool pendingCommon_ = false;
};

Distribution Distributor::run(const QStringList& lines) {
    for (int i = 0; i < lines.size(); ++i) {
        readLine(lines, i);
    }
    result_.endsWithDone = !lines.isEmpty() && rawfile::isDone(lines.last());
    return std::move(result_);
}

// Handles the line at i; advances i past the lines it consumes with it.
void Distributor::readLine(const QStringList& lines, int& i) {
    if (options_.onLine) {
        options_.onLine();
    }
    if (lines[i].startsWith(QLatin1String("Id"))) {
        result_.identity = UploadIdentity::fromLine(lines[i]);
        if (++i >= lines.size()) {
            return;
        }
        if (options_.onLine) {
            options_.onLine();
        }
    }
    if (!isRecordCandidate(lines, i)) {
        return;
    }
    const QString& line = lines[i];
    if (rawfile::hasUnitMarkerBit(line)) {
        if (rawfile::hasDigitUnitField(line)) {
            // The marker travels with the record after it; without one it is dropped.
            if (isRecordCandidate(lines, i + 1)) {
                ++i;
                fileRecord(lines[i], line);
            }
            return;
        }
        result_.counters.addCorrupt(unknownBucket());
    }
    fileRecord(line, QString());
}

// A line that can be filed: 22 characters or more, not "Done", not a gap line
// and never the file's last line (an upload still being written may end in a
// half-written record).
bool Distributor::isRecordCandidate(const QStringList& lines, int i) const {
    if (i >= lines.size() - 1) {
        return false;
    }
    const QString& line = lines[i];
    return rawfile::classify(line) == rawfile::LineKind::Record;
}

void Distributor::fileRecord(const QString& record, const QString& marker) {
    const std::vector<int>& matches = ids_.matches(rawfile::checkpointId(record));
    bool matched = false;
    for (int site : matches) {
        if (site < options_.siteCount) {
            matched = true;
            fileMatch(site, record, marker);
        }
    }
    if (matched) {
        return;
    }
    if (rawfile::isCorrupt(record)) {
        result_.counters.addCorrupt(unknownBucket());
    } else {
        append(unknownBucket(), marker, record);
    }
}

void Distributor::fileMatch(int site, const QString& record, const QString& marker) {
    if (rawfile::isCorrupt(record)) {
        result_.counters.addCorrupt(site);
        return;
    }
    const bool duplicate = isDuplicateOf(record, result_.lastKept);
    result_.counters.fileRecord(record, result_.lastKept);
    if (duplicate && options_.removeDuplicates) {
        return;
    }
    result_.lastKept = record;
    append(targetBucket(site), marker, record);
}

// Records of the common site go with the ordinary site being patrolled; those
// before the first ordinary record wait in the common bucket and move to the
// first ordinary site that follows.
int Distributor::targetBucket(int site) {
    if (site == options_.commonSite) {
        if (lastSite_ < 0) {
            lastSite_ = site;
            pendingCommon_ = true;
        }
        return lastSite_;
    }
    if (pendingCommon_) {
        pendingCommon_ = false;
        QStringList& common = result_.buckets[std::size_t(options_.commonSite)];
        result_.buckets[std::size_t(site)] << common;
        common.clear();
    }
    lastSite_ = site;
    return site;
}

void Distributor::append(int bucket, const QString& marker, const QString& record) {
    QStringList& lines = result_.buckets[std::size_t(bucket)];
    if (!marker.isEmpty()) {
        lines << marker;
    }
    lines << record;
}

}  // namespace

Distribution distributeUpload(const QStringList& lines, const SiteIds& ids,
                              const DistributionOptions& options) {
    return Distributor(ids, options).run(lines);
}

}  // namespace dorodure
