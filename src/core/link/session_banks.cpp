// The session's dispatch (state 160), the download and clearing of the memory
// banks (states 200 and 180), the hand-over to DoRaw and the clock polling
// until the baton is taken away.
#include "display_state.h"
#include "frames.h"
#include "link_host.h"
#include "serial_line.h"
#include "shell/clock.h"
#include "shell/file_error.h"
#include "shell/settings.h"
#include "upload_session.h"

#include <algorithm>

namespace dorodure {

namespace {

// Banks are read up to this many bytes.
constexpr int kBankCap = 32800;

}  // namespace

void UploadSession::state160() {
    f_.stateDelay = 200;
    if (!s_.requests.pendingId().isEmpty()) {
        sendPendingId();
    } else if (f_.bank >= -1) {
        f_.stateDelay = 1;
        f_.state = 200;
        trace(QStringLiteral("A ChipMem=") + QString::number(f_.bank) +
              (s_.requests.writePending() ? QStringLiteral(" True") : QStringLiteral(" False")));
        s_.display.update([](DisplaySnapshot& d) {
            d.gaugeProgress = 0;
            d.gaugeMax += 42;
        });
    } else if (f_.headerWritten && s_.settings.values().uploadDorodureData) {
        runDoRaw();
    } else if (s_.requests.writePending()) {
        startRecordWrite();
    } else {
        pollClock();
    }
}

void UploadSession::runDoRaw() {
    trace(QStringLiteral("Synchronize(frmMain.DoRaw)"));
    journal_.close();
    try {
        s_.host.doRaw(f_.rawBaton);
    } catch (const FileError& e) {
        trace(QStringLiteral("DoRaw failed: ") + e.message());
    }
    f_.headerWritten = false;
    trace(QStringLiteral("Synchronize(frmMain.DoRaw) End"));
}

void UploadSession::pollClock() {
    f_.stateDelay = 1;
    sessionDone_ = true;
    if (f_.replyOk) {
        const QString shownTime = s_.display.snapshot().lblTime;
        if (shownTime != f_.lastTimeText) {
            const QString complete = QStringLiteral("Dorodure  -  ") + text(114);
            s_.display.update([&](DisplaySnapshot& d) {
                ++d.beeps;
                d.windowTitle = d.windowTitle == complete ? QStringLiteral("Dorodure") : complete;
            });
        }
        f_.lastTimeText = shownTime;
        s_.display.setStatus(text(12));
        f_.gaugeOnRx = false;
        s_.display.setGaugeMax(1);
        trace(QStringLiteral("RxInd=0 >Send 03 Command< ") + delay());
        s_.display.setGauge(0, 12);
        // The answered reply is still held; left there it would answer the
        // next read at once and the buffer would fill up poll by poll.
        protocol_.rx().clear();
        sendClockRead();
        f_.clockPolls = 0;
    } else {
        f_.clockPolls += 1;
        if (f_.clockPolls % 5 == 0) {
            protocol_.rx().clear();
            trace(QStringLiteral("RxInd=0 >Send 03 Command B < ") + delay() + QStringLiteral("( ") +
                  QString::number(s_.clock.tickMs() - f_.startTick) + QStringLiteral(" )"));
            s_.display.setGauge(0, 12);
            if (f_.secondsModel()) {
                protocol_.quiet(200);
            }
            sendClockRead();
        }
    }
    f_.replyOk = false;
    const bool answered = protocol_.waitReply(1500);
    f_.state = 160;
    if (!answered) {
        f_.state = 0;
        trace(QStringLiteral(">TimeOut with Read Clock< ") + delay() + QStringLiteral("( ") +
              QString::number(s_.clock.tickMs() - f_.startTick) + QStringLiteral(" )"));
    }
    if (f_.clockPolls >= 20) {
        f_.state = 0;
    }
}

void UploadSession::sendClockRead() {
    protocol_.sendClockRead(f_.secondsModel() ? frames::kReadClockSeconds : frames::kReadClockBcd);
}

void UploadSession::state200() {
    const QString status =
        f_.bank == 2 ? text(16) : text(16) + QLatin1Char(' ') + QString::number(f_.bank / 2 + 2);
    s_.display.setStatus(status);
    protocol_.rx().clear();
    trace(QStringLiteral("RxInd=0 >Send 09 Command< Del=") + QString::number(f_.bank) +
          QLatin1Char(' ') + delay());
    protocol_.sendFrame(frames::readBankSize(f_.bank));
    f_.replyOk = false;
    f_.bank -= 2;
    // Another report (a voltage report sets ReplyOk too) is no size: the
    // bytes read as one would download and clear a bank of nonsense.
    if (!protocol_.waitReply(500) || protocol_.rx().at(1) != 0x0A) {
        f_.state = 0;
        trace(QStringLiteral("TimeOut with Get mem size"));
        return;
    }
    const RxBuffer& rx = protocol_.rx();
    const int size = rx.at(2) * 256 + rx.at(3);
    const int index = (f_.bank + 2) / 2;
    if (index >= 0 && index < int(f_.baton.bankSizes.size())) {
        f_.baton.bankSizes[std::size_t(index)] = size;
    }
    f_.bankSize = size;
    trace(QStringLiteral("MemSize=") + QString::number(size));
    if (rx.at(2) == 0x80 || size < 9) {
        if (f_.bank < -1) {
            if (f_.anyZiruTag()) {
                s_.display.update([](DisplaySnapshot& d) { d.label4Visible = true; });
            }
            f_.bank = -20;
            f_.state = 160;
            trace(QStringLiteral("RxInd=0 >After Rec 0A Command B < ") + delay());
        } else {
            f_.state = 200;
            trace(QStringLiteral("RxInd=0 >After Rec 0A Command C < ") + delay());
        }
        return;
    }
    f_.packetCount = 0;
    f_.bankSize = std::min(size, kBankCap);
    f_.bankTruncated = size > kBankCap;
    const int maximum = f_.bankSize + (f_.bankSize / 8) * 4 + 8;
    s_.display.update([&](DisplaySnapshot& d) {
        d.label4Visible = false;
        d.gaugeMax = maximum;
        d.gaugeProgress = 0;
    });
    if (!s_.settings.values().uploadDorodureData) {
        f_.state = 180;
    } else if (!f_.headerWritten && !recoverUnprocessedUpload()) {
        // Whatever way the session came here, an unprocessed Raw.txt is never
        // started afresh before it was processed.
        f_.state = 0;
    } else {
        f_.gaugeOnRx = true;
        protocol_.showDownloadStatus();
        f_.retryCount = 0;
        downloadLoop();
    }
    f_.stateDelay = 100;
}

void UploadSession::downloadLoop() {
    f_.downloading = true;
    readBank();
    f_.downloading = false;
}

void UploadSession::readBank() {
    bool missing = false;
    while (!stop_.load()) {
        s_.display.raiseGaugeMax(20);
        protocol_.serviceFor(500);
        const int pc = f_.packetCount;
        trace(QStringLiteral("RxInd=0 >Send 0B Command< ") + QString::number(pc) +
              QLatin1Char(' ') + frames::hex2(std::uint8_t(pc / 256)) + QLatin1Char(' ') +
              frames::hex2(std::uint8_t(pc % 256)));
        protocol_.rx().clear();
        protocol_.sendFrame(frames::startReading(f_.bank + 2, pc * 8));
        f_.replyOk = false;
        f_.deadline = s_.clock.tickMs() + 1500;
        protocol_.serviceUntilDeadline();
        if (f_.abortDownload || stop_.load()) {
            return;
        }
        missing = (f_.packetCount + 1) * 8 <= f_.bankSize;
        if (missing) {
            f_.retryCount += 1;
        }
        trace(QStringLiteral("Timeout with Send 0B/0D Command Normal< ") +
              QString::number(f_.packetCount));
        if (missing && f_.retryCount != 6) {
            continue;
        }
        if (f_.retryCount == 6) {
            trace(QStringLiteral(">Timeout with Send 0B/0D Command< ") +
                  QString::number(f_.packetCount));
        }
        f_.retryCount = 0;
        break;
    }
    if (missing) {
        // The bank stays on the baton: its partial records must not be
        // processed now and again with its next upload.
        journal_.rollback();
    }
}

void UploadSession::state180() {
    const SettingsValues settings = s_.settings.values();
    // Clearing a bank that was read only up to the cap would lose the records
    // beyond it; such a bank keeps them for a later upload.
    const bool keepUnread =
        f_.bankTruncated && settings.uploadDorodureData && !s_.requests.writePending();
    if (keepUnread) {
        trace(QStringLiteral("Bank larger than read, not cleared ") + QString::number(f_.bank + 2));
    }
    if (!keepUnread && (settings.clearDorodureMemory || s_.requests.writePending())) {
        if (!settings.uploadDorodureData) {
            s_.host.logActivity(QStringLiteral("unknown"),
                                QStringLiteral("Dorodure cleared without an uploaded ") +
                                    s_.display.snapshot().lblID);
        }
        s_.display.update([&](DisplaySnapshot& d) {
            d.statusText = text(17) + QLatin1Char(' ') + QString::number(f_.bank / 2 + 2);
            d.gaugeMax += 7;
        });
        protocol_.rx().clear();
        trace(QStringLiteral("RxInd=0 >Send 11 Command (Clr Mem)< ") + delay());
        // The bank's records are on disk; from the clear on they exist only there.
        journal_.commit();
        protocol_.sendFrame(frames::setEndPointer(f_.bank + 2, 8));
        f_.replyOk = false;
        if (!protocol_.waitReply(500)) {
            f_.state = 0;
            trace(QStringLiteral("TimeOut with Clear Mem"));
        }
        return;
    }
    journal_.commit();
    if (f_.bank < -1) {
        f_.state = 160;
        f_.stateDelay = 10;
        trace(QStringLiteral("RxInd=0 >180 Timer End of download gt 160< ") + delay());
    } else {
        f_.state = 200;
        trace(QStringLiteral("RxInd=0 >180 Timer gt 200< ") + delay());
    }
}

}  // namespace dorodure
