#pragma once

#include "sites/checkpoint.h"

#include <QHash>
#include <QString>

#include <vector>

namespace dorodure {

class TSiteStore;
class TLanguageTable;

// The name given to an unknown checkpoint that is added to a site's list: the
// number, then the text of the special ids (upload marker, baton events) or a
// blank and text 23 ("Unknown checkpoint").
QString unknownCheckpointName(int number, const QString& id, const TLanguageTable& texts);

// The checkpoint names one site's report uses: the site's own list and the
// common site's list. An id is looked up in the site's entries and only when
// none matches in the common entries; the last matching entry counts.
class ReportCheckpoints {
  public:
    // Reads both lists (the common list only when a common site exists).
    // Throws FileError.
    ReportCheckpoints(TSiteStore& store, const TLanguageTable& texts, const QString& site);

    const std::vector<TCheckpoint>& siteEntries() const { return site_; }
    const std::vector<TCheckpoint>& commonEntries() const { return common_; }

    // The entry of an id, or nullptr when it is in neither list.
    const TCheckpoint* find(const QString& id) const;

    // The entry of an id; an unknown id is first added to the site's list
    // file and to the site's entries. Throws FileError.
    const TCheckpoint& resolve(const QString& id);

  private:
    TSiteStore& store_;
    const TLanguageTable& texts_;
    QString siteName_;
    std::vector<TCheckpoint> site_;
    std::vector<TCheckpoint> common_;
    QHash<QString, std::size_t> siteIndex_;    // id -> last matching site entry
    QHash<QString, std::size_t> commonIndex_;  // id -> last matching common entry
};

}  // namespace dorodure
