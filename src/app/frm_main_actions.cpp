// The main window's actions: buttons, menus, hidden keys and closing.
#include "frm_main.h"

#include "app_link_host.h"
#include "app_services.h"
#include "frm_about.h"
#include "frm_delay.h"
#include "frm_fpsetup.h"
#include "frm_idnum.h"
#include "frm_logfile.h"
#include "frm_new.h"
#include "frm_points.h"
#include "frm_pref.h"
#include "frm_unknownp.h"
#include "processing/process_raw.h"
#include "shell/activity_log.h"
#include "shell/file_error.h"
#include "shell/language_table.h"
#include "shell/text_file.h"
#include "shell/user_interaction.h"
#include "shutdown.h"
#include "sites/site_store.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTimer>

namespace dorodure {

namespace {

// The letters that, typed in a row, hide the status panel.
const QString kSuperstition = QStringLiteral("Emty");

}  // namespace

bool TfrmMain::idle() const {
    return processingDepth_ == 0 && !closing_;
}

void TfrmMain::createWindows() {
    points_ = std::make_unique<Tfrmpoints>(s_, this);
    reports_ = std::make_unique<TfrmNew>(s_, this);
    prefs_ = std::make_unique<TfrmPref>(s_, this);
    unknown_ = std::make_unique<TfrmUnknownP>(s_, this);
    s_.setUnknownAsker(unknown_.get());
    prefs_->setReportChoicesSource([this] { return reports_->reportDefaults(); });
    reports_->setSiteListWritten(
        [this](const QString& site) { points_->editor().selectSiteByName(site); });
    points_->reportSite = [this] { return reports_->reportDefaults().siteIndex; };
}

// The other windows are opened from here, one function each.
void TfrmMain::openReports() {
    if (idle()) {
        reports_->exec();
    }
}

void TfrmMain::openCheckpoints() {
    if (idle()) {
        points_->exec();
        if (points_->programMustEnd()) {
            close();
        }
    }
}

void TfrmMain::openPreferences() {
    if (idle()) {
        prefs_->exec();
    }
}

void TfrmMain::openAbout() {
    if (idle()) {
        TfrmAbout window(s_, this);
        window.exec();
    }
}

void TfrmMain::openFailedPatrol() {
    if (idle()) {
        TfrmFPSetup window(s_, this);
        window.exec();
    }
}

void TfrmMain::openLogViewer() {
    if (idle()) {
        TfrmLogFile window(s_, this);
        window.exec();
    }
}

void TfrmMain::openIdNumber() {
    if (idle()) {
        TfrmIdNum window(s_, this);
        window.exec();
    }
}

void TfrmMain::openPortSetup() {
    if (idle()) {
        TfrmDelay window(s_, this);
        window.exec();
    }
}

void TfrmMain::importRaw() {
    if (!idle()) {
        return;
    }
    // ProcessRaw records "Raw.txt imported" for an import.
    setProcessing(true);
    processUploadFile(s_, s_.path(QStringLiteral("Raw.txt")), ProcessOrigin::Import);
    setProcessing(false);
}

void TfrmMain::processChosenFile() {
    if (!idle()) {
        return;
    }
    QFileDialog dialog(this, QStringLiteral("Open file to be processed"), s_.dataFolder(),
                       QStringLiteral("*.txt (*.txt)"));
    dialog.setObjectName(QStringLiteral("OpenDialog1"));
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.selectFile(QStringLiteral("Raw"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    setProcessing(true);
    processUploadFile(s_, dialog.selectedFiles().first(), ProcessOrigin::ChosenFile);
    setProcessing(false);
}

void TfrmMain::addNewSite() {
    if (!idle()) {
        return;
    }
    try {
        points_->editor().createSite();
    } catch (const FileError& e) {
        s_.ui().showMessage(e.message());
    }
}

void TfrmMain::openHelp() {
    s_.ui().openDocument(s_.path(QStringLiteral("Dorodure.html")));
}

void TfrmMain::toggleMenuBar() {
    const bool show = !menuBar()->isVisible();
    menuBar()->setVisible(show);
    setFixedSize(width(), height() + (show ? kMenuHeight : -kMenuHeight));
}

void TfrmMain::toggleWideLayout() {
    setFixedSize(width() < 501 ? kWideWidth : kNormalWidth, height());
}

bool TfrmMain::handleKey(const QString& text) {
    trackSuperstition(text);
    if (text == QStringLiteral("!")) {
        toggleMenuBar();
    } else if (text == QStringLiteral("@")) {
        toggleWideLayout();
    } else if (text == QStringLiteral("#")) {
        openPortSetup();
    } else if (text == QStringLiteral("^")) {
        processChosenFile();
    } else if (text == QStringLiteral("(")) {
        openLogViewer();
    } else {
        return false;
    }
    return true;
}

void TfrmMain::trackSuperstition(const QString& text) {
    if (superstitionIndex_ < kSuperstition.size() && text == kSuperstition.at(superstitionIndex_)) {
        ++superstitionIndex_;
        if (superstitionIndex_ == kSuperstition.size()) {
            setSuperstitious(true);
        }
        return;
    }
    setSuperstitious(false);
    superstitionIndex_ = text == kSuperstition.left(1) ? 1 : 0;
}

void TfrmMain::setSuperstitious(bool on) {
    groupBox3_->setVisible(!on);
    lblDateTime_->setVisible(!on);
    label1_->setVisible(on);
}

void TfrmMain::keyPressEvent(QKeyEvent* event) {
    if (!event->text().isEmpty() && handleKey(event->text())) {
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == memo1_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->text().isEmpty() && handleKey(key->text())) {
            return true;
        }
    }
    if (watched == image1_ && event->type() == QEvent::MouseButtonRelease) {
        openAbout();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (processingDepth_ > 0) {
        // An upload is being processed: close once it is done.
        s_.closeRequested = true;
        event->ignore();
        return;
    }
    if (!closing_) {
        closing_ = true;
        Shutdown shutdown(s_);
        shutdown.beforeStop = [this] { host_->abandon(); };
        shutdown.run();
        timer2_->stop();
    }
    event->accept();
}

}  // namespace dorodure
