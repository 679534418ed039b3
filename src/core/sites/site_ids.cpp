#include "site_ids.h"

namespace dorodure {

namespace {

const QStringList& emptyIds() {
    static const QStringList none;
    return none;
}

const std::vector<int>& noMatches() {
    static const std::vector<int> none;
    return none;
}

}  // namespace

void SiteIds::clear() {
    sites_.clear();
    index_.clear();
}

void SiteIds::setSite(int siteIndex, const QStringList& ids) {
    if (siteIndex < 0) {
        return;
    }
    // Filling the sites in ascending order (as a rebuild does) only appends to
    // the index; replacing an earlier site has to redo the whole index so that
    // every id keeps its matches in site order.
    const bool appending = siteIndex >= siteCount();
    if (appending) {
        sites_.resize(std::size_t(siteIndex) + 1);
    }
    sites_[std::size_t(siteIndex)] = ids;
    if (!appending) {
        rebuildIndex();
        return;
    }
    for (const QString& id : ids) {
        index_[id].push_back(siteIndex);
    }
}

const QStringList& SiteIds::ids(int siteIndex) const {
    if (siteIndex < 0 || siteIndex >= siteCount()) {
        return emptyIds();
    }
    return sites_[std::size_t(siteIndex)];
}

QString SiteIds::slot(int siteIndex, int n) const {
    const QStringList& list = ids(siteIndex);
    if (n >= 0 && n < list.size()) {
        return list[n];
    }
    if (n == list.size()) {
        return QString::fromLatin1(kEndMark);
    }
    return {};
}

const std::vector<int>& SiteIds::matches(const QString& id) const {
    auto it = index_.constFind(id);
    return it == index_.constEnd() ? noMatches() : it.value();
}

void SiteIds::rebuildIndex() {
    index_.clear();
    for (int site = 0; site < siteCount(); ++site) {
        for (const QString& id : sites_[std::size_t(site)]) {
            index_[id].push_back(site);
        }
    }
}

}  // namespace dorodure
