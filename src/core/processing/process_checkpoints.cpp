#include "process_checkpoints.h"

#include "shell/language_table.h"
#include "sites/site_store.h"

namespace dorodure {

namespace {

// The text after the number for the ids that stand for baton events.
QString specialIdText(const QString& id, const TLanguageTable& texts) {
    if (id == QLatin1String("000000")) {
        return QLatin1Char(' ') + texts.text(81);
    }
    if (id == QLatin1String("0FA500")) {
        return QStringLiteral(" Baton booted up");
    }
    if (id == QLatin1String("0FA505")) {
        return QStringLiteral(" Data removed from unit");
    }
    static const QStringList events{QStringLiteral("0FA501"), QStringLiteral("0FA502"),
                                    QStringLiteral("0FA503"), QStringLiteral("0FA504")};
    const qsizetype event = events.indexOf(id);
    if (event >= 0) {
        return QLatin1Char(' ') + texts.text(175 + int(event));
    }
    return QLatin1Char(' ') + texts.text(23);
}

QHash<QString, std::size_t> lastIndexById(const std::vector<TCheckpoint>& entries) {
    QHash<QString, std::size_t> index;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        index.insert(entries[i].id, i);
    }
    return index;
}

}  // namespace

QString unknownCheckpointName(int number, const QString& id, const TLanguageTable& texts) {
    return QString::number(number) + specialIdText(id, texts);
}

ReportCheckpoints::ReportCheckpoints(TSiteStore& store, const TLanguageTable& texts,
                                     const QString& site)
    : store_(store), texts_(texts), siteName_(site) {
    site_ = store.readCheckpointList(site).checkpoints;
    const int common = store.commonSiteIndex();
    if (common >= 0) {
        common_ = store.readCheckpointList(store.siteName(common)).checkpoints;
    }
    siteIndex_ = lastIndexById(site_);
    commonIndex_ = lastIndexById(common_);
}

const TCheckpoint* ReportCheckpoints::find(const QString& id) const {
    if (const auto it = siteIndex_.constFind(id); it != siteIndex_.cend()) {
        return &site_[*it];
    }
    if (const auto it = commonIndex_.constFind(id); it != commonIndex_.cend()) {
        return &common_[*it];
    }
    return nullptr;
}

const TCheckpoint& ReportCheckpoints::resolve(const QString& id) {
    if (const TCheckpoint* known = find(id)) {
        return *known;
    }
    const int number = int(site_.size() + common_.size()) + 1;
    TCheckpoint added{id, u'=', unknownCheckpointName(number, id, texts_)};
    store_.insertCheckpoint(siteName_, added.id, added.locationName);
    site_.push_back(added);
    siteIndex_.insert(id, site_.size() - 1);
    return site_.back();
}

}  // namespace dorodure
