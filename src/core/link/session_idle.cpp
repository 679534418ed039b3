// The idle cycle (look for a baton) and the start of a session: greeting,
// identity and clock.
#include "display_state.h"
#include "frames.h"
#include "link_host.h"
#include "serial_line.h"
#include "shell/clock.h"
#include "shell/file_error.h"
#include "shell/settings.h"
#include "shell/text_file.h"
#include "upload_session.h"

namespace dorodure {

using Led = DisplaySnapshot::Led;

void UploadSession::state0() {
    protocol_.rx().clear();
    trace(QStringLiteral("RxInd=0 >State=0< ") + delay());
    if (sessionDone_) {
        completedSessions_.fetch_add(1);
        sessionDone_ = false;
    }
    f_.downloading = false;
    abandonDownload();
    protocol_.setLine(line_.get());
    if (line_ != nullptr) {
        line_->setDtr(true);
        openIfClosed();
        if (portReady_.load()) {
            line_->setBreak(true);
        }
    }
    s_.display.update([](DisplaySnapshot& d) {
        d.led = Led::Yellow;
        d.windowTitle = QStringLiteral("Dorodure");
    });
    f_.helloSeen = false;
    f_.state = 5;
    f_.stateDelay = 500;
}

void UploadSession::state5() {
    autoIncrementStep();
    f_.gaugeOnRx = false;
    f_.headerWritten = false;
    // A reply left over from the last session (or an ID button read while
    // idle) would keep the handler from decoding the next button or greeting.
    f_.replyOk = false;
    s_.display.update([](DisplaySnapshot& d) {
        d.statusText = QStringLiteral("Looking for Dorodure...");
        d.led = Led::Purple;
    });
    trace(QStringLiteral("5 brush purple"));
    if (line_ != nullptr) {
        line_->setBreak(false);
        line_->setDtr(true);
    }
    trace(QStringLiteral("5.1"));
    f_.state = 10;
    f_.stateDelay = 300;
}

void UploadSession::autoIncrementStep() {
    if (!s_.requests.autoIncrement()) {
        s_.display.update(
            [](DisplaySnapshot& d) { d.lblIDColour = DisplaySnapshot::Colour::WindowText; });
        return;
    }
    trace(QStringLiteral("5 Autoinc"));
    s_.display.update([](DisplaySnapshot& d) { d.lblIDColour = DisplaySnapshot::Colour::Blue; });
    if (auto next = s_.requests.autoIncrementStep()) {
        const QString caption = text(10) + QLatin1Char(' ') + *next;
        s_.display.update([&](DisplaySnapshot& d) { d.lblID = caption; });
    }
}

void UploadSession::state10() {
    if (f_.helloSeen) {
        trace(QStringLiteral("10 :)"));
        s_.display.update([](DisplaySnapshot& d) {
            d.led = Led::Lime;
            ++d.restoreRequests;
        });
        f_.bank = 14;
        protocol_.rx().clear();
        f_.replyOk = false;
        f_.state = 130;
        f_.stateDelay = 500;
        return;
    }
    trace(QStringLiteral("10 :("));
    if (line_ != nullptr) {
        openIfClosed();
        if (portReady_.load()) {
            line_->setBreak(true);
        }
    }
    s_.display.setLed(Led::Yellow);
    trace(QStringLiteral("10 :(  v2"));
    f_.state = 5;
    f_.stateDelay = 350;
}

void UploadSession::state20() {
    f_.state = 5;
    f_.stateDelay = 1000;
}

void UploadSession::state130() {
    if (f_.replyOk && protocol_.rx().at(1) == 0x02) {
        identify();
        return;
    }
    trace(QStringLiteral("RxInd=0 >Send 01 Command At end of 130 Timer< ") + delay());
    protocol_.rx().clear();
    protocol_.sendLiteral(frames::kReadIdentity);
    f_.replyOk = false;
    if (!protocol_.waitReply(500)) {
        f_.state = 0;
        trace(QStringLiteral("TimeOut with send Get Info"));
    }
}

void UploadSession::identify() {
    const RxBuffer& rx = protocol_.rx();
    f_.idChars.clear();
    QString shown;
    for (int i = 4; i <= 11; ++i) {
        const char c = char(rx.at(i));
        f_.idChars.append(c);
        if (QChar::fromLatin1(c).isLetterOrNumber() && (uchar(c) < 128)) {
            shown += QChar::fromLatin1(c);
        }
    }
    if (f_.bank == 14 && f_.isZiru()) {
        f_.bank = 2;
    }
    const QString version = frames::hex2(rx.at(2)) + frames::hex2(rx.at(3));
    f_.baton.idCaption = text(10) + QLatin1Char(' ') + shown;
    f_.baton.versionText = version;
    s_.display.update([&](DisplaySnapshot& d) {
        d.statusText = text(12);
        d.lblID = f_.baton.idCaption;
        d.lblVer = text(9) + QLatin1Char(' ') + version;
    });
    if (!recoverUnprocessedUpload()) {
        f_.state = 0;
        return;
    }
    f_.state = s_.settings.values().updateDateTimeAutomatically ? 140 : 155;
    f_.stateDelay = 1;
    protocol_.rx().clear();
    trace(QStringLiteral("RxInd=0 >At end of 130 TimerA< ") + delay());
    f_.clockPolls = 0;
}

// A Raw.txt that does not end with "Done" holds records of an earlier upload
// whose banks may already be cleared on their baton: it is processed before
// this session can start the file afresh. Returns false when it could not be
// processed; the session then leaves the file alone and starts over.
bool UploadSession::recoverUnprocessedUpload() {
    try {
        if (!rawfile::isUnprocessed(rawPath())) {
            return true;
        }
        TBatonInfo uploaded = f_.rawBaton;
        if (uploaded.idCaption.isEmpty()) {
            uploaded.idCaption = textfile::readLines(rawPath()).value(0);
        }
        trace(QStringLiteral("Unprocessed Raw.txt: Synchronize(frmMain.DoRaw)"));
        s_.host.doRaw(uploaded);
        trace(QStringLiteral("Synchronize(frmMain.DoRaw) End"));
        return !rawfile::isUnprocessed(rawPath());
    } catch (const FileError& e) {
        trace(QStringLiteral("Unprocessed Raw.txt not processed: ") + e.message());
        return false;
    }
}

void UploadSession::state140() {
    s_.display.setGaugeMax(12);
    f_.gaugeOnRx = true;
    protocol_.rx().clear();
    s_.display.setStatus(text(11));
    const QDateTime now = s_.clock.now();
    QByteArray frame;
    if (f_.secondsModel()) {
        trace(QStringLiteral("RxInd=0 >Send 35 Command< ") + delay());
        frame = frames::setClockSeconds(now);
    } else {
        trace(QStringLiteral("RxInd=0 >Send 05 Command< ") + delay());
        frame = frames::setClockBcd(now);
    }
    protocol_.sendFrame(frame);
    trace(frames::hexBytes(frame) + QStringLiteral(" >Tx < ") + delay());
    f_.replyOk = false;
    const bool ok = protocol_.waitReply(500);
    f_.state = 155;
    if (ok) {
        trace(QStringLiteral("SetClock OK"));
    } else {
        f_.state = 0;
        trace(QStringLiteral("TimeOut with Set Clock"));
    }
}

void UploadSession::state155() {
    f_.state = 160;
}

}  // namespace dorodure
