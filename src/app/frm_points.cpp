// "Setup the check points": the site list, the checkpoint rows and the
// station path.
#include "frm_points.h"

#include "app_services.h"
#include "captions.h"
#include "frm_inputbox.h"
#include "frm_sitedel.h"
#include "shell/clock.h"
#include "shell/file_error.h"
#include "shell/settings.h"
#include "shell/user_interaction.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>
#include <QTreeWidget>

namespace dorodure {

Tfrmpoints::Tfrmpoints(AppServices& services, QWidget* parent)
    : QDialog(parent),
      s_(services),
      editor_(CheckpointEditor::Services{s_.sites(), s_.activityLog(), s_.texts(), s_.ui(),
                                         [this](const QString& line) { s_.traceMain(line); }}) {
    buildWindow();
    applyCaptions(this, s_.texts().loadedLines());
    s_.stationIdHandler = [this](const QString& id) { stationIdRead(id); };
}

Tfrmpoints::~Tfrmpoints() {
    s_.stationIdHandler = nullptr;
}

bool Tfrmpoints::guarded(const std::function<void()>& work) {
    try {
        work();
        return true;
    } catch (const FileError& e) {
        s_.ui().showMessage(e.message());
        return false;
    }
}

// The selection the site list has from start-up, before the window was
// ever opened: the preselected site.
void Tfrmpoints::primeSelection() {
    editor_.syncSites();
    if (!primed_ && !editor_.sites().isEmpty()) {
        primed_ = true;
        if (editor_.selectedSite() < 0) {
            editor_.preselect(s_.preselectedSite);
        }
    }
}

void Tfrmpoints::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    primeSelection();
    editor_.setShown(true);
    const int preferred = reportSite ? reportSite() : -1;
    guarded([this, preferred] { editor_.open(preferred); });
    showSites();
    loadSelectedSite();
}

void Tfrmpoints::hideEvent(QHideEvent* event) {
    editor_.setShown(false);
    QDialog::hideEvent(event);
}

void Tfrmpoints::reject() {
    if (guarded([this] { editor_.close(); })) {
        QDialog::reject();
    }
}

void Tfrmpoints::closeEditor() {
    guarded([this] { editor_.close(); });
    QDialog::reject();
}

void Tfrmpoints::showSites() {
    loading_ = true;
    listBox1_->clear();
    listBox1_->addItems(editor_.sites());
    listBox1_->setCurrentRow(editor_.selectedSite());
    loading_ = false;
}

// The rows, separator choice and settings of the loaded site.
void Tfrmpoints::loadSelectedSite() {
    showRows();
    lblIdNum_->clear();
    edtLocation_->clear();
    edtLocation_->setEnabled(false);
    showSettings();
    settingsCheck();
}

void Tfrmpoints::siteClicked(int index) {
    guarded([this, index] { editor_.selectSite(index); });
    loadSelectedSite();
}

void Tfrmpoints::showRows(int select) {
    loading_ = true;
    listView_->clear();
    for (const EditorRow& row : editor_.rows()) {
        auto* item = new QTreeWidgetItem(listView_);
        item->setText(0, QString::number(row.number));
        item->setText(1, row.checkpoint.id);
        item->setText(2, row.checkpoint.locationName);
    }
    comboBox1_->clear();
    comboBox1_->addItems(editor_.separatorEntries());
    comboBox1_->setCurrentIndex(editor_.separatorIndex());
    if (select >= 0 && select < listView_->topLevelItemCount()) {
        listView_->setCurrentItem(listView_->topLevelItem(select));
    }
    loading_ = false;
    if (select >= 0) {
        rowChanged();
    }
}

void Tfrmpoints::rowChanged() {
    if (!loading_) {
        showCurrent(false);
    }
}

void Tfrmpoints::showCurrent(bool enableEdit) {
    QTreeWidgetItem* item = listView_->currentItem();
    const int row = item ? listView_->indexOfTopLevelItem(item) : -1;
    editor_.setCurrentRow(row);
    if (row < 0) {
        return;
    }
    const TCheckpoint& cp = editor_.rows()[std::size_t(row)].checkpoint;
    lblIdNum_->setText(cp.id);
    edtLocation_->setText(cp.locationName);
    if (enableEdit) {
        edtLocation_->setEnabled(true);
    }
}

void Tfrmpoints::locationEdited(const QString& text) {
    const int row = editor_.currentRow();
    if (row < 0) {
        return;
    }
    editor_.setLocationName(row, text);
    listView_->topLevelItem(row)->setText(2, text);
    comboBox1_->setItemText(row + 1, editor_.separatorEntries().at(row + 1));
}

void Tfrmpoints::addClick() {
    if (editor_.selectedSite() < 0) {
        return;
    }
    const QString id = inputBox_->ask();
    std::optional<int> row;
    guarded([this, &id, &row] { row = editor_.addTypedId(id); });
    if (row) {
        showRows(*row);
    }
}

void Tfrmpoints::stationIdRead(const QString& id) {
    if (id == QStringLiteral("000000")) {
        return;
    }
    inputBox_->closeFromStation();
    primeSelection();
    std::optional<int> row;
    guarded([this, &id, &row] { row = editor_.addStationId(id); });
    if (row) {
        showRows(*row);
    }
}

void Tfrmpoints::deleteClick() {
    std::vector<int> rows;
    for (QTreeWidgetItem* item : listView_->selectedItems()) {
        rows.push_back(listView_->indexOfTopLevelItem(item));
    }
    if (rows.empty() || editor_.selectedSite() < 0) {
        return;
    }
    guarded([this, &rows] { editor_.deleteRows(rows); });
    showRows();
    lblIdNum_->clear();
    edtLocation_->clear();
}

void Tfrmpoints::moveUpClick() {
    guarded([this] { editor_.moveUp(); });
    showRows(editor_.currentRow());
    listView_->setFocus();
}

void Tfrmpoints::moveDownClick() {
    guarded([this] { editor_.moveDown(); });
    showRows(editor_.currentRow());
    listView_->setFocus();
}

void Tfrmpoints::separatorChosen(int index) {
    const QString entry = comboBox1_->itemText(index);
    guarded([this, &entry] { editor_.chooseSeparator(entry); });
}

void Tfrmpoints::viewListClick() {
    const QString web = s_.settings().values().aboutWeb;
    guarded([this, &web] { editor_.viewList(web, s_.clock().now()); });
}

void Tfrmpoints::createSiteClick() {
    QString name;
    guarded([this, &name] { name = editor_.createSite(); });
    if (!name.isEmpty()) {
        showSites();
    }
}

void Tfrmpoints::deleteSiteClick() {
    using Deletion = CheckpointEditor::SiteDeletion;
    Deletion result = Deletion::Nothing;
    guarded([this, &result] { result = editor_.requestSiteDeletion(); });
    if (result == Deletion::NeedsConfirmation) {
        TfrmSiteDel confirm(s_, this);
        const std::optional<QString> typed = confirm.askName();
        if (!typed) {
            return;
        }
        guarded([this, &typed, &result] { result = editor_.confirmSiteDeletion(*typed); });
    }
    if (result != Deletion::Deleted) {
        return;
    }
    programMustEnd_ = true;
    s_.closeRequested.store(true);
    showSites();
    loadSelectedSite();
    closeEditor();
}

}  // namespace dorodure
