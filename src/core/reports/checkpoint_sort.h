#pragma once

#include "site_information.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace dorodure {

// Clocking lines grouped by checkpoint id (positions 7-12), each group in the
// order the lines came. Lines of 12 characters or fewer belong to no group.
class CheckpointBuckets {
  public:
    explicit CheckpointBuckets(const QStringList& lines);
    // The lines of one checkpoint; empty when it has none.
    const QStringList& linesOf(const QString& id) const;

  private:
    QHash<QString, QStringList> buckets_;
};

// The checkpoints whose clockings a report takes, in list order: each id once
// (at its first line), and with a filter id only that checkpoint.
std::vector<ReportCheckpoint> reportedCheckpoints(const std::vector<ReportCheckpoint>& list,
                                                  const QString& filterId = {});

// Sorting by checkpoint: the lines grouped by checkpoint in the order of the
// site's list, each group in date and time order; clockings of checkpoints
// that are not in the list are left out. With a filter id only that
// checkpoint's group remains.
QStringList sortByCheckpoint(const QStringList& lines, const std::vector<ReportCheckpoint>& list,
                             const QString& filterId = {});

}  // namespace dorodure
