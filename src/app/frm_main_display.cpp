// The main window's display side: the start-up sequence's view, Timer2 and
// the baton link's display state.
#include "frm_main.h"

#include "app_link_host.h"
#include "app_services.h"
#include "captions.h"
#include "led_widget.h"
#include "link/display_state.h"
#include "shell/clock.h"
#include "shell/language_table.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QShowEvent>
#include <QTimer>

namespace dorodure {

namespace {

QColor ledColour(DisplaySnapshot::Led led) {
    switch (led) {
        case DisplaySnapshot::Led::Red:
            return Qt::red;
        case DisplaySnapshot::Led::Yellow:
            return Qt::yellow;
        case DisplaySnapshot::Led::Purple:
            return QColor(0x80, 0x00, 0x80);
        case DisplaySnapshot::Led::Lime:
            return QColor(0x00, 0xFF, 0x00);
    }
    return Qt::red;
}

// A new style sheet makes the widget re-polish itself; the display is
// refreshed many times a second during an upload, mostly with the same style.
void applyStyleSheet(QWidget* widget, const QString& style) {
    if (widget->styleSheet() != style) {
        widget->setStyleSheet(style);
    }
}

QString colourStyle(DisplaySnapshot::Colour colour) {
    switch (colour) {
        case DisplaySnapshot::Colour::Blue:
            return QStringLiteral("color: blue");
        case DisplaySnapshot::Colour::Red:
            return QStringLiteral("color: red");
        case DisplaySnapshot::Colour::WindowText:
            break;
    }
    return {};
}

// Processing shows the LED in dark green.
const QColor kProcessingGreen(0x00, 0x80, 0x00);

}  // namespace

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!startupQueued_) {
        startupQueued_ = true;
        QTimer::singleShot(0, this, &TfrmMain::runStartup);
    }
}

void TfrmMain::runStartup() {
    if (startupDone_ || startupFailed_) {
        return;
    }
    startupQueued_ = true;
    StartupSequence sequence(s_, *this, *host_);
    if (sequence.run() == StartupSequence::Result::Running) {
        startupDone_ = true;
        return;
    }
    startupFailed_ = true;
    s_.closeRequested = true;
    QTimer::singleShot(0, this, &TfrmMain::close);
}

void TfrmMain::restoreAndRaise() {
    if (isMinimized() || !isVisible()) {
        showNormal();
    }
    raise();
    activateWindow();
}

void TfrmMain::onTimer2() {
    timer2_->stop();
    if (processingDepth_ == 0) {
        lblStatus_->setText(s_.display().snapshot().statusText);
    }
    if (startupDone_) {
        lblDateTime_->setText(formatDateLine(s_.clock().now()));
    }
    applyStyleSheet(lblDateTime_, s_.requests().writePending() ? QStringLiteral("color: red")
                                                               : QStringLiteral("color: blue"));
    timer2_->start();
    if (s_.closeRequested.load() && !closing_) {
        close();
    }
}

void TfrmMain::refreshDisplay() {
    if (s_.display().changeCount() == shownChange_) {
        return;
    }
    const DisplaySnapshot d = s_.display().snapshot();
    shownChange_ = d.changeCount;
    showSnapshotBaton(d);
    if (processingDepth_ == 0) {
        showSnapshotStatus(d);
    }
    if (!d.windowTitle.isEmpty()) {
        setWindowTitle(d.windowTitle);
    }
    if (d.restoreRequests != restoreSeen_) {
        restoreSeen_ = d.restoreRequests;
        restoreAndRaise();
    }
    if (d.beeps != beepsSeen_) {
        beepsSeen_ = d.beeps;
        QApplication::beep();
    }
}

void TfrmMain::showSnapshotBaton(const DisplaySnapshot& d) {
    lblID_->setText(d.lblID);
    applyStyleSheet(lblID_, colourStyle(d.lblIDColour));
    lblVer_->setText(d.lblVer);
    lblDate_->setText(d.lblDate);
    applyStyleSheet(lblDate_, colourStyle(d.lblDateColour));
    lblTime_->setText(d.lblTime);
    applyStyleSheet(lblTime_, colourStyle(d.lblTimeColour));
    image1_->setVisible(d.pictureShown);
}

void TfrmMain::showSnapshotStatus(const DisplaySnapshot& d) {
    led_->setColour(ledColour(d.led));
    gauge1_->setRange(0, std::max(d.gaugeMax, 1));
    gauge1_->setValue(std::clamp(d.gaugeProgress, 0, gauge1_->maximum()));
    const QString bar =
        d.gaugeBar == DisplaySnapshot::Bar::Blue ? QStringLiteral("blue") : QStringLiteral("green");
    applyStyleSheet(gauge1_, QStringLiteral("QProgressBar { background: black; border: 1px solid "
                                            "grey; } QProgressBar::chunk { background: %1; }")
                                 .arg(bar));
    label4_->setVisible(d.label4Visible);
    lblExtra_->setVisible(d.lblExtraVisible);
}

void TfrmMain::setProcessing(bool running) {
    processingDepth_ = std::max(0, processingDepth_ + (running ? 1 : -1));
    const bool busy = processingDepth_ > 0;
    panel1_->setVisible(busy || !startupDone_);
    menuBar()->setEnabled(!busy);
    if (busy) {
        led_->setColour(kProcessingGreen);
        lblStatus_->setText(s_.texts().text(37));
    } else {
        shownChange_ = ~std::uint64_t{0};  // show the link's state again
        refreshDisplay();
        lblStatus_->setText(s_.display().snapshot().statusText);
    }
}

// --- StartupView ---

void TfrmMain::showLogo(const QString& path) {
    const QPixmap logo(path);
    if (!logo.isNull()) {
        image1_->setPixmap(
            logo.scaled(image1_->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    }
}

void TfrmMain::setDateLine(const QString& text) {
    lblDateTime_->setText(text);
}

void TfrmMain::setStatusLine(const QString& text) {
    lblStatus_->setText(text);
}

void TfrmMain::addMemoLine(const QString& line) {
    memo1_->appendPlainText(line);
}

void TfrmMain::setTitle(const QString& title) {
    setWindowTitle(title);
}

void TfrmMain::applyCaptions() {
    applyCaptionsToAllWindows(s_.texts().loadedLines());
    // The baton panel shows what the link publishes: start it from the
    // captions of the language file.
    s_.display().update([this](DisplaySnapshot& d) {
        d.lblID = lblID_->text();
        d.lblVer = lblVer_->text();
        d.lblDate = lblDate_->text();
        d.lblTime = lblTime_->text();
    });
}

void TfrmMain::languageApplied() {
    failedPatrol_->setVisible(true);
}

void TfrmMain::enableSetupMenu() {
    setupMenu_->setEnabled(true);
}

void TfrmMain::hideWorkingPanel() {
    panel1_->hide();
}

void TfrmMain::repaint() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace dorodure
