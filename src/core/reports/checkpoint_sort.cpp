#include "checkpoint_sort.h"

#include <QSet>

namespace dorodure {

namespace {

constexpr int kShortestBucketLine = 13;

}  // namespace

CheckpointBuckets::CheckpointBuckets(const QStringList& lines) {
    for (const QString& line : lines) {
        if (line.size() >= kShortestBucketLine) {
            buckets_[line.mid(6, 6)] << line;
        }
    }
}

const QStringList& CheckpointBuckets::linesOf(const QString& id) const {
    static const QStringList kNone;
    const auto it = buckets_.constFind(id);
    return it == buckets_.constEnd() ? kNone : *it;
}

std::vector<ReportCheckpoint> reportedCheckpoints(const std::vector<ReportCheckpoint>& list,
                                                  const QString& filterId) {
    std::vector<ReportCheckpoint> result;
    QSet<QString> seen;
    for (const ReportCheckpoint& c : list) {
        if (seen.contains(c.id) || (!filterId.isEmpty() && c.id != filterId)) {
            continue;
        }
        seen.insert(c.id);
        result.push_back(c);
    }
    return result;
}

QStringList sortByCheckpoint(const QStringList& lines, const std::vector<ReportCheckpoint>& list,
                             const QString& filterId) {
    const CheckpointBuckets buckets(lines);
    QStringList sorted;
    for (const ReportCheckpoint& c : reportedCheckpoints(list, filterId)) {
        sorted << buckets.linesOf(c.id);
    }
    return sorted;
}

}  // namespace dorodure
