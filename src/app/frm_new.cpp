#include "frm_new.h"

#include "app_services.h"
#include "reports/report_request.h"
#include "shell/clock.h"
#include "shell/file_error.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "shell/user_interaction.h"
#include "sites/site_store.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSlider>
#include <QTreeWidget>

namespace dorodure {

namespace {

void applyState(QWidget* w, const ControlState& s) {
    w->setVisible(s.visible);
    w->setEnabled(s.enabled);
}

}  // namespace

TfrmNew::TfrmNew(AppServices& services, QWidget* parent) : QDialog(parent), services_(services) {
    setObjectName(QStringLiteral("frmNew"));
    setWindowTitle(QStringLiteral("Reports"));
    buildLayout();
    const QDate today = services_.clock().now().date();
    calendar1_->setSelectedDate(today.addDays(-1));
    calendar2_->setSelectedDate(today);
    connectControls();
}

QString TfrmNew::entryOr(int entry, const char* english) const {
    const QString text = services_.texts().text(entry);
    return text.isEmpty() ? QString::fromLatin1(english) : text;
}

void TfrmNew::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
    FormActivate();
}

void TfrmNew::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow() && isVisible()) {
        FormDeactivate();
    }
}

// The kind, site and shift of the last session, applied once.
void TfrmNew::applyDefaults() {
    const SettingsValues v = services_.settings().values();
    const int kind = std::clamp(v.defaultReport, 1, 3);
    radio_[kind - 1]->setChecked(true);
    radio_[v.dayOrNight == QLatin1String("Night") ? 4 : 3]->setChecked(true);
    fillSites();
    if (v.defaultSite >= 0 && v.defaultSite < listbox1_->count()) {
        listbox1_->setCurrentIndex(v.defaultSite);
    }
}

void TfrmNew::FormShow() {
    if (!defaultsApplied_) {
        defaultsApplied_ = true;
        applyDefaults();
    } else {
        fillSites();
    }
    checkBox3_->setChecked(services_.settings().values().removeDuplicatePoints);
}

void TfrmNew::FormActivate() {
    checkBox4_->setChecked(services_.settings().values().secureReports);
    applyKindState();
    loadSite();
}

void TfrmNew::FormDeactivate() {
    try {
        savePreferences(services_.settings(), services_.activityLog(), services_.texts(),
                        services_.dataFolder(), choicesFromSettings(services_.settings()),
                        reportDefaults());
    } catch (const FileError& e) {
        services_.ui().showMessage(e.message());
    }
}

ReportDefaultChoices TfrmNew::reportDefaults() const {
    return {listbox1_->currentIndex(), static_cast<int>(kind()), radio_[4]->isChecked()};
}

ReportKind TfrmNew::kind() const {
    if (radio_[0]->isChecked()) {
        return ReportKind::ByDownload;
    }
    return radio_[1]->isChecked() ? ReportKind::ClockingList : ReportKind::Overview;
}

void TfrmNew::fillSites() {
    const QString shown = listbox1_->currentText();
    const QSignalBlocker block(listbox1_);
    listbox1_->clear();
    listbox1_->addItems(services_.sites().sites());
    const int again = listbox1_->findText(shown);
    listbox1_->setCurrentIndex(again >= 0 ? again : (listbox1_->count() > 0 ? 0 : -1));
}

// The site chosen, or the first site (selected) when none is.
QString TfrmNew::selectedSite() {
    if (listbox1_->currentIndex() < 0 && listbox1_->count() > 0) {
        listbox1_->setCurrentIndex(0);
    }
    return listbox1_->currentText();
}

void TfrmNew::Listbox1Change() {
    loadSite();
}

void TfrmNew::loadSite() {
    const QString site = selectedSite();
    if (site.isEmpty()) {
        return;
    }
    try {
        const SiteInformation info =
            loadSiteInformation(services_.sites(), services_.texts(), site);
        showSiteInformation(info);
        if (info.listCreated) {
            checkBox2_->setChecked(false);
        }
        reloadDownloadList();
    } catch (const FileError& e) {
        services_.ui().showMessage(e.message());
    }
}

void TfrmNew::showSiteInformation(const SiteInformation& info) {
    comboBox1_->clear();
    comboBox1_->addItems(info.pointSelector);
    comboBox1_->setCurrentIndex(info.pointSelector.isEmpty() ? -1 : 0);
    comboBox2_->clear();
    comboBox2_->addItems(info.patrolSeparatorList);
    comboBox2_->setCurrentIndex(info.patrolSeparatorIndex);
    lblPatSep_->setText(info.patrolSeparator);
    const QString values[] = {QString::number(info.checkpointCount), info.roundTime, info.restTime,
                              info.numBatons};
    for (int i = 0; i < 4; ++i) {
        siteValues_[i]->setText(values[i]);
    }
    for (std::size_t d = 0; d < 7; ++d) {
        dayTimes_[d]->setText(info.startTimes[d] + QStringLiteral("  -  ") + info.finishTimes[d]);
    }
}

void TfrmNew::reloadDownloadList() {
    listView1_->clear();
    const QString site = listbox1_->currentText();
    rows_ = listDownloadReports(services_.sites().sitePath(site), checkBox4_->isChecked(),
                                services_.ui());
    for (const DownloadRow& row : rows_) {
        new QTreeWidgetItem(listView1_, {row.date, row.time});
    }
    label6_->setVisible(!checkBox4_->isChecked());
}

void TfrmNew::KindClick() {
    applyKindState();
}

void TfrmNew::applyKindState() {
    const SettingsValues v = services_.settings().values();
    applyViewState(kindViewState(kind(), advancedOpen_, v.secureReports, v.removeDuplicatePoints));
}

void TfrmNew::applyViewState(const KindViewState& s) {
    advancedOpen_ = s.advancedGroupOpen;
    button2_->setText(s.createButtonCaption == 173 ? entryOr(173, "&Open Report")
                                                   : entryOr(172, "Create/Open"));
    button1_->setText(s.advancedButtonCaption == 164 ? entryOr(164, "Simple")
                                                     : entryOr(163, "Advanced"));
    button1_->setEnabled(s.advancedButtonEnabled);
    groupBox4_->setVisible(s.advancedGroupOpen);
    applyState(listView1_, s.downloadList);
    applyState(calendar1_, s.fromCalendar);
    applyState(calendar2_, s.toCalendar);
    applyState(maskEdit1_, s.fromTime);
    applyState(maskEdit2_, s.toTime);
    applyState(trackBar1_, s.fromTrackBar);
    applyState(trackBar2_, s.toTrackBar);
    applyState(label5_, s.fromLabel);
    label5_->setText(entryOr(147, "from"));
    applyState(label2_, s.toLabel);
    label2_->setText(s.toLabelCaption == 48 ? entryOr(48, "to") : entryOr(159, "to"));
    applyState(comboBox2_, s.patrolSeparator);
    applyState(label35_, s.patrolSeparator);
    applyState(checkBox1_, s.sortByCheckpoints);
    applyState(checkBox2_, s.pointFilter);
    applyState(checkBox3_, s.removeDuplicates);
    checkBox3_->setChecked(s.removeDuplicatesChecked);
    applyState(checkBox4_, s.createPdf);
    checkBox4_->setChecked(s.createPdfChecked);
    applyState(radio_[3], s.shiftButtons);
    applyState(radio_[4], s.shiftButtons);
    label6_->setVisible(!checkBox4_->isChecked());
    if (s.runDateRules) {
        runDateRules();
    }
}

void TfrmNew::DateRulesClick() {
    runDateRules();
}

void TfrmNew::runDateRules() {
    if (rulesRunning_) {
        return;
    }
    rulesRunning_ = true;
    DateWindow w;
    w.kind = kind();
    w.nightShift = radio_[4]->isChecked();
    w.advancedOpen = advancedOpen_;
    w.fromDate = calendar1_->selectedDate();
    w.toDate = calendar2_->selectedDate();
    w.fromTime = maskEdit1_->text();
    w.toTime = maskEdit2_->text();
    const DateWindow r = applyDateRules(w);
    calendar1_->setSelectedDate(r.fromDate);
    calendar2_->setSelectedDate(r.toDate);
    maskEdit1_->setText(r.fromTime);
    maskEdit2_->setText(r.toTime);
    rulesRunning_ = false;
}

void TfrmNew::trackBarMoved(QSlider* /*bar*/, QLineEdit* edit, int hour) {
    edit->setText(timeEditWithHour(edit->text(), hour));
}

void TfrmNew::timeEdited(QLineEdit* edit, QSlider* bar) {
    const QSignalBlocker block(bar);
    bar->setValue(trackBarPosition(edit->text()));
}

void TfrmNew::Button1Click() {
    advancedOpen_ = !advancedOpen_;
    applyKindState();
}

void TfrmNew::CheckBox4Click() {
    SettingsValues v = services_.settings().values();
    v.secureReports = checkBox4_->isChecked();
    services_.settings().setValues(v);
    reloadDownloadList();
}

void TfrmNew::ComboBox2Change(int entry) {
    const QString site = listbox1_->currentText();
    try {
        choosePatrolSeparator(services_.sites(), site, entry);
        showSiteInformation(loadSiteInformation(services_.sites(), services_.texts(), site));
    } catch (const FileError& e) {
        services_.ui().showMessage(e.message());
        return;
    }
    if (siteListWritten_) {
        siteListWritten_(site);
    }
}

void TfrmNew::HelpClick(const QString& helpFile) {
    services_.ui().openDocument(services_.path(helpFile));
}

void TfrmNew::Button2Click() {
    button2_->setEnabled(true);
    try {
        if (kind() == ReportKind::ByDownload) {
            openSelectedDownloads();
        } else {
            createRequestedReport();
        }
    } catch (const FileError& e) {
        panel1_->hide();
        services_.ui().showMessage(e.message());
    }
}

void TfrmNew::openSelectedDownloads() {
    // An old "Report.pdf" that cannot be deleted is reported once; the stored
    // reports still open.
    std::vector<DownloadRow> selected;
    for (int i = 0; i < listView1_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = listView1_->topLevelItem(i);
        if (item->isSelected() && std::size_t(i) < rows_.size()) {
            selected.push_back(rows_[std::size_t(i)]);
            item->setSelected(false);
        }
    }
    openDownloadReports(services_.processing(), selectedSite(), selected, checkBox4_->isChecked());
}

void TfrmNew::createRequestedReport() {
    ReportRequest r;
    r.site = selectedSite();
    r.kind = kind();
    r.fromDate = calendar1_->selectedDate();
    r.toDate = calendar2_->selectedDate();
    r.fromTime = maskEdit1_->text();
    r.toTime = maskEdit2_->text();
    r.nightShift = radio_[4]->isChecked();
    r.sortByCheckpoints = checkBox1_->isChecked();
    r.pointFilter = checkBox2_->isChecked();
    r.pointSelectorText = comboBox1_->currentText();
    r.createPdf = checkBox4_->isChecked();
    panel1_->show();
    panel1_->repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const RequestOutcome out = createReport(services_.processing(), r);
    panel1_->hide();
    if (out.status == RequestOutcome::Status::Made) {
        accept();
    }
}

void TfrmNew::languageApplied() {
    checkBox1_->setChecked(false);
}

}  // namespace dorodure
