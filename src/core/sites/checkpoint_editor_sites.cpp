// The checkpoint editor's site list (choosing, creating and deleting sites)
// and the printable list "List.txt".
#include "checkpoint_editor.h"

#include "site_store.h"

#include "shell/activity_log.h"
#include "shell/language_table.h"
#include "shell/text_file.h"
#include "shell/user_interaction.h"

#include <QLocale>

namespace dorodure {

namespace {

constexpr int kTextUnknownCheckpoint = 23;
constexpr int kTextEndOfFile = 61;
constexpr int kTextListFor = 64;
constexpr int kTextPrintedOn = 65;
constexpr int kTextAt = 66;
constexpr int kTextColumns = 67;
constexpr int kTextRestart = 87;
constexpr int kTextNotRemoved = 113;

const QString kRule = QStringLiteral("  +========+=========================================");
const QString kLine = QStringLiteral("  +--------+-----------------------------------------");

}  // namespace

void CheckpointEditor::syncSites() {
    for (const QString& site : s_.store.sites()) {
        if (!sites_.contains(site) && !deleted_.contains(site)) {
            sites_ << site;
        }
    }
}

void CheckpointEditor::preselect(int index) {
    selected_ = index >= 0 && index < sites_.size() ? index : -1;
}

void CheckpointEditor::load() {
    rows_.clear();
    current_ = -1;
    loadedSite_.clear();
    if (selected_ < 0) {
        return;
    }
    const QString site = selectedSiteName();
    const CheckpointList list = s_.store.readCheckpointList(site);
    for (const TCheckpoint& cp : list.checkpoints) {
        rows_.push_back(EditorRow{int(rows_.size()) + 1, cp});
    }
    settings_ = list.settings;
    loadedSite_ = site;
}

void CheckpointEditor::selectSite(int index) {
    preselect(index);
    load();
}

bool CheckpointEditor::selectSiteByName(const QString& name) {
    const int index = int(sites_.indexOf(name));
    if (index < 0) {
        return false;
    }
    selectSite(index);
    return true;
}

void CheckpointEditor::open(int preferredSite) {
    syncSites();
    if (preferredSite >= 0 && preferredSite < sites_.size()) {
        selected_ = preferredSite;
    } else if (selected_ < 0 && !sites_.isEmpty()) {
        selected_ = 0;
    }
    load();
}

void CheckpointEditor::close() {
    save();
    s_.store.rebuildSiteIds();
}

QString CheckpointEditor::createSite() {
    const QString name = s_.store.createSiteInteractive(s_.ui, s_.texts);
    if (name.isEmpty()) {
        return {};
    }
    syncSites();
    s_.log.append(name, QStringLiteral("New Site created"));
    s_.store.rebuildSiteIds();
    return name;
}

CheckpointEditor::SiteDeletion CheckpointEditor::requestSiteDeletion() {
    if (selected_ < 0) {
        return SiteDeletion::Nothing;
    }
    if (!ready()) {
        load();
    }
    return rows_.empty() ? deleteSelectedSite() : SiteDeletion::NeedsConfirmation;
}

CheckpointEditor::SiteDeletion CheckpointEditor::confirmSiteDeletion(const QString& typedName) {
    if (selected_ < 0) {
        return SiteDeletion::Nothing;
    }
    if (typedName.compare(selectedSiteName(), Qt::CaseInsensitive) != 0) {
        s_.ui.showMessage(s_.texts.text(kTextNotRemoved));
        return SiteDeletion::Refused;
    }
    return deleteSelectedSite();
}

// The folder goes to the trash first; only when it is gone does the run
// treat the site as deleted. A folder that could not be moved is reported
// and the site stays.
CheckpointEditor::SiteDeletion CheckpointEditor::deleteSelectedSite() {
    const QString site = selectedSiteName();
    if (!s_.store.deleteSite(site)) {
        s_.ui.showMessage(s_.texts.text(kTextNotRemoved));
        return SiteDeletion::Refused;
    }
    s_.ui.showMessage(s_.texts.text(kTextRestart));
    s_.log.append(site, QStringLiteral("Site Deleted"));
    deleted_.insert(site);
    sites_.removeAt(selected_);
    selected_ = -1;
    loadedSite_.clear();
    rows_.clear();
    current_ = -1;
    return SiteDeletion::Deleted;
}

QString CheckpointEditor::printedName(const QString& name, const TLanguageTable& texts) {
    const QString unknown = u' ' + texts.text(kTextUnknownCheckpoint);
    const qsizetype prefix = name.size() - unknown.size();
    if ((prefix == 1 || prefix == 2) && name.endsWith(unknown) &&
        !name.left(prefix).contains(u' ')) {
        return name.left(prefix);
    }
    return name;
}

QStringList CheckpointEditor::listText(const QString& site,
                                       const std::vector<TCheckpoint>& checkpoints,
                                       const TLanguageTable& texts, const QString& aboutWeb,
                                       const QDateTime& now) {
    const QLocale locale = QLocale::system();
    const QString five(5, u' ');
    QStringList lines{QString(),
                      five + texts.text(kTextListFor) + u' ' + site,
                      five + texts.text(kTextPrintedOn) + u' ' +
                          locale.toString(now.date(), QLocale::ShortFormat) + u' ' +
                          texts.text(kTextAt) + u' ' +
                          locale.toString(now.time(), QLocale::LongFormat),
                      QString(),
                      kRule,
                      QStringLiteral("  |") + texts.text(kTextColumns),
                      kRule};
    for (const TCheckpoint& cp : checkpoints) {
        lines << QStringLiteral("  |        |")
              << QStringLiteral("  | ") + cp.id + QStringLiteral(" |")
              << QStringLiteral("  |        | ") + printedName(cp.locationName, texts) << kLine;
    }
    lines << QString() << texts.text(kTextEndOfFile) << aboutWeb;
    return lines;
}

bool CheckpointEditor::viewList(const QString& aboutWeb, const QDateTime& now) {
    const QString site = selected_ >= 0 ? selectedSiteName() : sites_.value(0);
    if (site.isEmpty() || !textfile::exists(s_.store.checkpointListPath(site))) {
        return false;
    }
    const std::vector<TCheckpoint> list = s_.store.readCheckpointList(site).checkpoints;
    const QString path = textfile::join(s_.store.dataFolder(), QStringLiteral("List.txt"));
    textfile::writeLinesAtomic(path, listText(site, list, s_.texts, aboutWeb, now));
    s_.ui.openDocument(path);
    return true;
}

}  // namespace dorodure
