// Transmission and the waits of the baton protocol. Waits block on the line
// (or on the clock when the line is not read) for at most a short slice at a
// time, so that a stop request ends them promptly and an idle session costs
// next to no processor time.
#include "baton_protocol.h"
#include "display_state.h"
#include "frames.h"
#include "serial_line.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "shell/trace_log.h"

#include <algorithm>

namespace dorodure {

namespace {

// Longest single block on the line or the clock.
constexpr qint64 kSliceMs = 50;

}  // namespace

TBatonProtocol::TBatonProtocol(SessionFields& fields, LinkServices& services, RawJournal& journal,
                               const std::atomic<bool>& stopRequested)
    : f_(fields), s_(services), journal_(journal), stop_(stopRequested) {}

void TBatonProtocol::sendFrame(const QByteArray& frame) {
    txLength_ = int(std::min<qsizetype>(frame.size(), qsizetype(tx_.size())));
    for (int i = 0; i < txLength_; ++i) {
        tx_[std::size_t(i)] = std::uint8_t(frame.at(i));
    }
    if (line_ == nullptr) {
        return;
    }
    for (int i = 0; i < txLength_; ++i) {
        line_->write(QByteArray(1, char(tx_[std::size_t(i)])));
    }
}

void TBatonProtocol::sendLiteral(const QByteArray& bytes) {
    if (line_ != nullptr) {
        line_->write(bytes);
    }
}

void TBatonProtocol::sendClockRead(const QByteArray& literal) {
    txLength_ = int(literal.size());
    for (int i = 0; i < txLength_; ++i) {
        tx_[std::size_t(i)] = std::uint8_t(literal.at(i));
    }
    sendLiteral(literal);
}

void TBatonProtocol::resend() {
    if (f_.downloading && txLength_ == 6 && tx_[0] == 0x0B) {
        // Data packets carry no address: the baton must go on from the first
        // packet not yet received, or the records that follow would be
        // counted one packet off and a record would be cleared unread.
        const QByteArray frame = frames::startReading(f_.bank + 2, f_.packetCount * 8);
        for (int i = 0; i < txLength_; ++i) {
            tx_[std::size_t(i)] = std::uint8_t(frame.at(i));
        }
    }
    if (line_ != nullptr && txLength_ > 0) {
        line_->write(txFrame());
    }
}

QByteArray TBatonProtocol::txFrame() const {
    return QByteArray(reinterpret_cast<const char*>(tx_.data()), txLength_);
}

void TBatonProtocol::waitOnLine(qint64 ms) {
    const qint64 slice = std::clamp<qint64>(ms, 0, kSliceMs);
    if (line_ == nullptr || !line_->isOpen() || !f_.pollRx) {
        s_.clock.sleepMs(std::max<qint64>(slice, 1));
        return;
    }
    if (line_->waitForBytes(slice) && line_->bytesWaiting() <= 0) {
        // A line that reports bytes it does not deliver must not make us spin.
        s_.clock.sleepMs(1);
    }
}

void TBatonProtocol::pause(qint64 ms) {
    trace(QStringLiteral("In"));
    trace(QStringLiteral("1"));
    const qint64 end = s_.clock.tickMs() + ms;
    trace(QStringLiteral("2"));
    while (!stop_.load()) {
        const bool progressed = f_.pollRx && service();
        const qint64 remaining = end - s_.clock.tickMs();
        if (remaining <= 0) {
            break;
        }
        if (!progressed) {
            waitOnLine(remaining);
        }
    }
    trace(QStringLiteral("3"));
    trace(QStringLiteral("4"));
    trace(QStringLiteral("Out"));
}

bool TBatonProtocol::waitReply(qint64 ms) {
    f_.deadline = s_.clock.tickMs() + ms;
    while (!stop_.load()) {
        const bool progressed = service();
        if (f_.replyOk) {
            return true;
        }
        const qint64 remaining = f_.deadline - s_.clock.tickMs();
        if (remaining <= 0) {
            break;
        }
        if (!progressed) {
            waitOnLine(remaining);
        }
    }
    return f_.replyOk;
}

void TBatonProtocol::serviceUntilDeadline() {
    while (!stop_.load() && !f_.abortDownload) {
        const bool progressed = service();
        const qint64 remaining = f_.deadline - s_.clock.tickMs();
        if (remaining <= 0) {
            break;
        }
        if (!progressed) {
            waitOnLine(remaining);
        }
    }
}

void TBatonProtocol::serviceFor(qint64 ms) {
    const qint64 end = s_.clock.tickMs() + ms;
    while (!stop_.load()) {
        const bool progressed = service();
        const qint64 remaining = end - s_.clock.tickMs();
        if (remaining <= 0) {
            break;
        }
        if (!progressed) {
            waitOnLine(remaining);
        }
    }
}

void TBatonProtocol::quiet(qint64 ms) {
    const qint64 end = s_.clock.tickMs() + ms;
    for (qint64 rest = ms; rest > 0 && !stop_.load(); rest = end - s_.clock.tickMs()) {
        s_.clock.sleepMs(std::min(rest, kSliceMs));
    }
}

void TBatonProtocol::trace(const QString& message) const {
    if (s_.trace != nullptr) {
        s_.trace->thread(f_.loopCount, message);
    }
}

QString TBatonProtocol::delayText() const {
    return QString::number(f_.stateDelay);
}

QString TBatonProtocol::text(int entry) const {
    return s_.texts.text(entry);
}

void TBatonProtocol::showDownloadStatus() {
    QString status = text(16);
    if (f_.bank / 2 != -1) {
        status += QLatin1Char(' ') + QString::number(f_.bank / 2 + 2);
    }
    s_.display.setStatus(status);
}

}  // namespace dorodure
