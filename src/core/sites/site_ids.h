#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace dorodure {

// The in-memory checkpoint id table: per site (by site index) the ids of its
// checkpoint list in file order, duplicates kept. There is no fixed limit on
// sites or ids. Readers that walk a site's slots see the end mark "zzzzzz"
// after the last id. An index from id to its slots lets sorting find every
// match in site and slot order without scanning every slot.
class SiteIds {
  public:
    static constexpr const char* kEndMark = "zzzzzz";

    void clear();
    // Sets the ids of one site (index = site index); sites between are empty.
    void setSite(int siteIndex, const QStringList& ids);

    int siteCount() const { return int(sites_.size()); }
    // The ids of a site in slot order (without the end mark).
    const QStringList& ids(int siteIndex) const;
    // Slot n of a site: its id, the end mark right after the last id.
    QString slot(int siteIndex, int n) const;

    // One entry per matching slot, in site order and then slot order: the
    // site index. A record whose id stands twice in a site matches twice.
    const std::vector<int>& matches(const QString& id) const;

  private:
    void rebuildIndex();
    std::vector<QStringList> sites_;
    QHash<QString, std::vector<int>> index_;
};

}  // namespace dorodure
