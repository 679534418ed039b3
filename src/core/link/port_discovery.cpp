// The search for the upload station over the port numbers: a port is the
// station when it echoes with DTR on and stays silent with DTR off.
#include "display_state.h"
#include "frames.h"
#include "serial_line.h"
#include "shell/clock.h"
#include "shell/file_error.h"
#include "shell/settings.h"
#include "upload_session.h"

namespace dorodure {

namespace {

const QByteArray kProbe = QByteArrayLiteral("Emty");

}  // namespace

bool echoTestPasses(const QByteArray& reply) {
    const QByteArray padded = reply.leftJustified(7, ' ');
    if (padded == "Emty   ") {
        return true;
    }
    for (int start = 1; start <= 3; ++start) {
        if (padded.mid(start, 4) == kProbe) {
            return true;
        }
    }
    return false;
}

void UploadSession::discover() {
    f_.pollRx = false;
    s_.display.setStatus(text(108));
    startPass();
    bool found = false;
    while (!stop_.load()) {
        found = probePort();
        if (portNumber_.load() >= 256) {
            portNumber_.store(0);
        }
        if (found || stop_.load()) {
            if (found && !stop_.load() && (portNumber_.load() < 1 || portNumber_.load() > 255)) {
                startPass();
                continue;
            }
            break;
        }
    }
    if (found && !stop_.load()) {
        permissionNote_.clear();
        rememberPort();
        try {
            checkStation();
        } catch (const PortError& e) {
            trace(QStringLiteral("Port failure ") + QString::fromStdString(e.what()));
        }
    }
    portReady_.store(true);
}

void UploadSession::startPass() {
    portNumber_.store(s_.settings.values().commPort);
    if (line_ != nullptr) {
        line_->close();
    }
    if (portNumber_.load() == 0) {
        portNumber_.store(1);
    }
    s_.display.update([](DisplaySnapshot& d) { d.gaugeBar = DisplaySnapshot::Bar::Blue; });
}

bool UploadSession::probePort() {
    const int port = portNumber_.load();
    s_.display.setStatus(
        text(109) + QLatin1Char(' ') + QString::number(port) + QStringLiteral(" )") +
        (permissionNote_.isEmpty() ? QString() : QStringLiteral("  ") + permissionNote_));
    if (line_ != nullptr) {
        line_->close();
    }
    protocol_.setLine(nullptr);
    line_ = factory_ ? factory_(port) : nullptr;
    trace(QStringLiteral("Try2 ") + QString::number(port));
    if (!openWithTries()) {
        return false;
    }
    bool found = false;
    try {
        found = echoWithDtrOn() && echoWithDtrOff();
        setDtrTraced(true, QStringLiteral("2"));
    } catch (const PortError& e) {
        trace(QStringLiteral("Port failure ") + QString::number(port) + QLatin1Char(' ') +
              QString::fromStdString(e.what()));
        found = false;
    }
    if (!found) {
        line_->close();
    }
    return found;
}

bool UploadSession::openWithTries() {
    const int port = portNumber_.load();
    int tries = 0;
    bool opened = false;
    while (tries < 4 && !opened && !stop_.load()) {
        protocol_.pause(10);
        ++tries;
        opened = line_ != nullptr && line_->open();
    }
    trace(QStringLiteral("Try ") + QString::number(port));
    if (!opened) {
        if (line_ != nullptr) {
            if (line_->permissionDenied()) {
                notePermissionDenied(line_->errorString());
            }
            line_->close();
        }
        portNumber_.store(port + 1);
        trace(QStringLiteral("SerErr ") + QString::number(tries));
    }
    return opened;
}

// A port that exists but may not be opened is most likely the station's: the
// user hears why in the status line and the trace, not a silent skip.
void UploadSession::notePermissionDenied(const QString& why) {
    if (why != permissionNote_) {
        trace(QStringLiteral("Permission denied: ") + why);
    }
    permissionNote_ = why;
    s_.display.setStatus(text(109) + QLatin1Char(' ') + QString::number(portNumber_.load()) +
                         QStringLiteral(" )  ") + why);
}

bool UploadSession::echoWithDtrOn() {
    const int port = portNumber_.load();
    setDtrTraced(true, QStringLiteral("2b"));
    protocol_.pause(250);
    trace(QStringLiteral("Back from delay"));
    QByteArray reply = readWaiting();
    trace(QStringLiteral("Read buffer empty"));
    const qint64 written = line_->write(kProbe);
    trace(QString::number(written));
    trace(QStringLiteral("Write to buffer"));
    protocol_.pause(50);
    if (line_->bytesWaiting() > 0) {
        reply = readWaiting();
    }
    trace(QStringLiteral("1st ") + QString::number(port) + QStringLiteral(" <<>> ") +
          QString::fromLatin1(reply));
    if (!echoTestPasses(reply)) {
        portNumber_.store(port + 1);
        return false;
    }
    return true;
}

bool UploadSession::echoWithDtrOff() {
    const int port = portNumber_.load();
    setDtrTraced(false, QStringLiteral("Error 1 Clear DTR") + QString::number(port));
    // A fresh reply: the echo of the DTR-on test must not count as an echo here.
    QByteArray reply;
    if (line_->bytesWaiting() > 0) {
        reply = readWaiting();
    }
    line_->write(kProbe);
    protocol_.pause(50);
    if (line_->bytesWaiting() > 0) {
        reply = readWaiting();
    }
    trace(QStringLiteral("2nd ") + QString::number(port) + QStringLiteral(" <<>> ") +
          QString::fromLatin1(reply));
    if (reply == kProbe) {
        portNumber_.store(port + 1);
        return false;
    }
    return true;
}

void UploadSession::setDtrTraced(bool on, const QString& failureTrace) {
    try {
        line_->setDtr(on);
    } catch (const PortError&) {
        trace(failureTrace);
    }
}

QByteArray UploadSession::readWaiting() {
    const qint64 waiting = line_->bytesWaiting();
    return waiting > 0 ? line_->read(waiting) : QByteArray();
}

void UploadSession::rememberPort() {
    const int port = portNumber_.load();
    if (port == s_.settings.values().commPort) {
        return;
    }
    trace(QStringLiteral("Set port as found"));
    try {
        s_.settings.writeKey(QStringLiteral("CommPort"), QString::number(port));
    } catch (const FileError& e) {
        trace(QStringLiteral("CommPort not written: ") + e.message());
    }
}

void UploadSession::checkStation() {
    const int port = portNumber_.load();
    setDtrTraced(false, QStringLiteral("Error 1 Clear DTR") + QString::number(port));
    s_.display.setStatus(text(110));
    readWaiting();
    protocol_.setLine(line_.get());
    protocol_.sendLiteral(frames::kReadIdentity);
    trace(QStringLiteral("Sent first 01"));
    protocol_.pause(250);
    trace(QString::fromLatin1(readWaiting()));
    setDtrTraced(true, QStringLiteral("Error 2 Set DTR") + QString::number(port));
    line_->setBreak(false);
    s_.display.update([](DisplaySnapshot& d) { d.pictureShown = true; });
    trace(QStringLiteral("Over checking 4 Zuzizod"));
}

void UploadSession::openIfClosed() {
    if (line_ != nullptr && !line_->isOpen()) {
        line_->open();
    }
}

}  // namespace dorodure
