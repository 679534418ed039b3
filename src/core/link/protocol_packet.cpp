// Data packets and clock replies decoded by the receive handler.
#include "baton_protocol.h"
#include "display_state.h"
#include "frames.h"
#include "raw_journal.h"
#include "shell/clock.h"
#include "shell/file_error.h"

namespace dorodure {

namespace {

QString hexAt(const RxBuffer& rx, int position) {
    return frames::hex2(rx.at(position));
}

// A BCD byte's two hex digits read as a decimal number, or -1.
int bcdValue(const RxBuffer& rx, int position) {
    bool ok = false;
    const int v = hexAt(rx, position).toInt(&ok, 10);
    return ok ? v : -1;
}

}  // namespace

void TBatonProtocol::processPacket() {
    extendDeadline(1500);
    try {
        if (f_.packetCount == 0) {
            f_.packetCount = 1;
            trace(QStringLiteral("Inc PktCount A < ") + QString::number(f_.packetCount));
            if (!f_.headerWritten) {
                journal_.start(s_.display.snapshot().lblID);
                f_.rawBaton = f_.baton;
                f_.headerWritten = true;
            }
        } else {
            f_.packetCount += 1;
            trace(QStringLiteral("Inc PktCount B < ") + QString::number(f_.packetCount));
            std::array<std::uint8_t, 7> record{};
            for (int i = 0; i < 7; ++i) {
                record[std::size_t(i)] = rx_.at(i + 2);
            }
            journal_.appendRecord(
                rawfile::formatRecord(record, s_.clock.now().date(), f_.packetCount));
        }
    } catch (const FileError& e) {
        // Nothing more of this bank is asked for, and the bank is not cleared.
        trace(QStringLiteral("Raw.txt write failed: ") + e.message());
        rx_.clear();
        f_.state = 0;
        f_.abortDownload = true;
        return;
    }
    if ((f_.packetCount + 1) * 8 > f_.bankSize) {
        f_.state = 180;
        f_.stateDelay = 100;
        rx_.drop(10);
        trace(QStringLiteral("RxInd=") + QString::number(rx_.count()) +
              QStringLiteral(" >After Rec 0E Command C < ") + QString::number(f_.bank));
        return;
    }
    showDownloadStatus();
    rx_.drop(10);
    trace(QStringLiteral("RxInd=") + QString::number(rx_.count()) +
          QStringLiteral(" >After Rec 0E Command D < ") + QString::number(f_.packetCount) +
          QLatin1Char(' ') + QString::number(f_.bankSize / 8));
    sendLiteral(frames::kNextPacket);
    f_.replyOk = false;
    f_.retryCount = 0;
}

void TBatonProtocol::showClockBcd() {
    const QString date = text(13);
    const QString time = text(14);
    const QString neverSet =
        hexAt(rx_, 5) + hexAt(rx_, 4) + hexAt(rx_, 6) + hexAt(rx_, 7) + hexAt(rx_, 8);
    QString idCaption = f_.baton.idCaption;
    bool ok = false;
    const int version = f_.baton.versionText.toInt(&ok, 16);
    if (ok && version >= 0x2716 && f_.isZiru() && rx_.at(9) != 0) {
        idCaption += QStringLiteral("   Dly : ") + QString::number(rx_.at(9));
    }
    if (neverSet == QLatin1String("3F1FFFFFFF")) {
        s_.display.update([&](DisplaySnapshot& d) {
            d.lblDate = date + QStringLiteral(" ?");
            d.lblTime = time + QStringLiteral(" ?");
            d.lblID = idCaption;
        });
        return;
    }
    const int year = bcdValue(rx_, 2) >= 0 && bcdValue(rx_, 3) >= 0
                         ? bcdValue(rx_, 2) * 100 + bcdValue(rx_, 3)
                         : -1;
    const QDate day(year, bcdValue(rx_, 4), bcdValue(rx_, 5));
    const QTime clock(bcdValue(rx_, 6), bcdValue(rx_, 7));
    bool same = false;
    if (year >= 0 && day.isValid() && clock.isValid()) {
        const QDateTime baton(day, clock);
        const qint64 diff = baton.secsTo(s_.clock.now());
        same = diff >= -60 && diff <= 60;
    }
    const auto colour = same ? DisplaySnapshot::Colour::WindowText : DisplaySnapshot::Colour::Red;
    s_.display.update([&](DisplaySnapshot& d) {
        d.lblExtraVisible = !same;
        d.lblDateColour = colour;
        d.lblTimeColour = colour;
        d.lblDate = date + QLatin1Char(' ') + hexAt(rx_, 5) + QLatin1Char('/') + hexAt(rx_, 4) +
                    QLatin1Char('/') + hexAt(rx_, 2) + hexAt(rx_, 3);
        d.lblTime = time + QLatin1Char(' ') + hexAt(rx_, 6) + QLatin1Char(':') + hexAt(rx_, 7) +
                    QLatin1Char('.') + hexAt(rx_, 8);
        d.lblID = idCaption;
    });
}

void TBatonProtocol::showClockSeconds() {
    quint32 value = 0;
    for (int i = 5; i >= 2; --i) {
        value = (value << 8) | rx_.at(i);
    }
    const QDateTime when = frames::fromBatonSeconds(value);
    const QString date = text(13) + QLatin1Char(' ') + when.toString(QStringLiteral("dd/MM/yyyy"));
    const QString time = text(14) + QLatin1Char(' ') + when.toString(QStringLiteral("hh:mm.ss"));
    s_.display.update([&](DisplaySnapshot& d) {
        d.lblDate = date;
        d.lblTime = time;
        d.lblID = f_.baton.idCaption;
    });
}

}  // namespace dorodure
