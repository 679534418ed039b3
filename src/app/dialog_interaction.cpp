#include "dialog_interaction.h"

#include <QApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>

namespace dorodure {

namespace {

// Events are taken at most this often while a long operation runs, so that
// processing is not slowed by repainting after every line.
constexpr qint64 kResponsiveIntervalMs = 40;

// The program's own name in dialog titles.
QString dialogTitle() {
    return QStringLiteral("Dorodure");
}

}  // namespace

QString DialogInteraction::forDialog(const QString& text) {
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

QWidget* DialogInteraction::parent() const {
    return parent_ != nullptr ? parent_ : QApplication::activeWindow();
}

void DialogInteraction::showMessage(const QString& text) {
    QMessageBox::information(parent(), dialogTitle(), forDialog(text));
}

bool DialogInteraction::confirm(const QString& text) {
    const auto answer = QMessageBox::question(parent(), dialogTitle(), forDialog(text),
                                              QMessageBox::Yes | QMessageBox::No);
    return answer == QMessageBox::Yes;
}

std::optional<QString> DialogInteraction::askText(const QString& title, const QString& prompt) {
    bool ok = false;
    const QString answer =
        QInputDialog::getText(parent(), title, forDialog(prompt), QLineEdit::Normal, {}, &ok);
    if (!ok) {
        return std::nullopt;
    }
    return answer;
}

void DialogInteraction::openDocument(const QString& pathOrUrl) {
    const QUrl asUrl(pathOrUrl);
    const bool isAddress =
        !asUrl.scheme().isEmpty() && asUrl.scheme().size() > 1 && !QFileInfo::exists(pathOrUrl);
    const QUrl url =
        isAddress ? asUrl : QUrl::fromLocalFile(QFileInfo(pathOrUrl).absoluteFilePath());
    if (!QDesktopServices::openUrl(url)) {
        showMessage(QStringLiteral("Could not open ") + pathOrUrl);
    }
}

// Busy operations nest (a report request processes its clocking list); the
// cursor and the main window hear only of the first start and the last end.
void DialogInteraction::setBusy(bool busy) {
    const int before = busyDepth_;
    busyDepth_ = std::max(busyDepth_ + (busy ? 1 : -1), 0);
    if ((before == 0) == (busyDepth_ == 0)) {
        return;
    }
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else if (QApplication::overrideCursor() != nullptr) {
        QApplication::restoreOverrideCursor();
    }
    if (sinks_.busy) {
        sinks_.busy(busy);
    }
}

void DialogInteraction::setStatus(const QString& text) {
    if (sinks_.status) {
        sinks_.status(text);
    }
}

void DialogInteraction::setProgress(int value, int maximum) {
    if (sinks_.progress) {
        sinks_.progress(value, maximum);
    }
    keepResponsive();
}

void DialogInteraction::keepResponsive() {
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < kResponsiveIntervalMs) {
        return;
    }
    sinceEvents_.restart();
    QCoreApplication::processEvents();
}

}  // namespace dorodure
