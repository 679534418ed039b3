#pragma once

#include "tamper_checks.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace dorodure {

class SiteIds;

// What the identity line of an upload says about it.
struct UploadIdentity {
    bool longIdentity = false;  // more than 16 characters follow position 5
    bool sorted = false;        // mode letter "s": records ordered by checkpoint id
    bool noSeparator = false;   // mode letter "o": no dashed line before special points
    QString unitText;           // positions 6 to the end of the identity line

    static UploadIdentity fromLine(const QString& identityLine);
};

// The upload split into site buckets, ready to be written to the bucket files.
struct Distribution {
    UploadIdentity identity;
    bool endsWithDone = false;         // the last line read was "Done"
    std::vector<QStringList> buckets;  // site index 0..n-1, then the unknown bucket n
    TamperCounters counters;
    QString lastKept;  // the last record filed
};

struct DistributionOptions {
    int siteCount = 0;
    int commonSite = -1;  // index of the site "common", -1 when there is none
    bool removeDuplicates = true;
    std::function<void()> onLine;  // called once per line read (progress feedback)
};

// The record that the duplicate test and the time check start from: checkpoint
// 123456 on 00/01/01 at 01:01.
inline constexpr const char* kInitialLastKept = "000000123456000101010101123456";

// Whether a record repeats the last kept one: the same checkpoint, date and
// hour, and a minute equal to it or one more.
bool isDuplicateOf(const QString& record, const QString& lastKept);

// Files every record of an upload under the sites whose checkpoint list holds
// its id (one filing per matching slot): corrupt records are counted and
// dropped, repeated touches are dropped when asked, records of the common site
// follow the ordinary site being patrolled, unit markers go in front of the
// record they announce, and records of no site go to the unknown bucket.
Distribution distributeUpload(const QStringList& lines, const SiteIds& ids,
                              const DistributionOptions& options);

}  // namespace dorodure
