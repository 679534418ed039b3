// The receive handler: reads the waiting bytes into the receive buffer and
// decodes once by the first byte held, following the table of rows below.
#include "baton_protocol.h"
#include "baton_requests.h"
#include "display_state.h"
#include "frames.h"
#include "link_host.h"
#include "serial_line.h"

#include <algorithm>
#include "shell/clock.h"

namespace dorodure {

const std::array<TBatonProtocol::Row, 256>& TBatonProtocol::table() {
    static const std::array<Row, 256> rows = [] {
        std::array<Row, 256> t{};
        t.fill(Row{1, &TBatonProtocol::onFunny});
        auto set = [&t](int code, int needs, void (TBatonProtocol::*act)()) {
            t[std::size_t(code)] = Row{needs, act};
        };
        set(0x00, 1, &TBatonProtocol::onZero);
        set(0x01, 2, &TBatonProtocol::onGreetingOrEcho01);
        set(0x02, 12, &TBatonProtocol::onIdentity);
        set(0x03, 2, &TBatonProtocol::onClockReadEcho);
        set(0x33, 2, &TBatonProtocol::onClockReadEcho);
        set(0x04, 10, &TBatonProtocol::onClockBcd);
        set(0x05, 10, &TBatonProtocol::onSetClockEcho);
        set(0x06, 3, &TBatonProtocol::onClockAck);
        set(0x36, 3, &TBatonProtocol::onClockAck);
        set(0x07, 6, &TBatonProtocol::onSetIdEcho);
        set(0x08, 3, &TBatonProtocol::onIdAck);
        for (int code : {0x09, 0x17, 0x23, 0x2A, 0x2C}) {
            set(code, 3, &TBatonProtocol::onDrop3);
        }
        set(0x0A, 4, &TBatonProtocol::onBankSize);
        set(0x0B, 6, &TBatonProtocol::onStartEcho);
        set(0x0C, 3, &TBatonProtocol::onStartAck);
        set(0x0D, 3, &TBatonProtocol::onNextEcho);
        set(0x0E, 10, &TBatonProtocol::onPacket);
        set(0x0F, 11, &TBatonProtocol::onWriteEcho);
        set(0x10, 3, &TBatonProtocol::onWriteAck);
        set(0x11, 5, &TBatonProtocol::onPointerEcho);
        set(0x12, 3, &TBatonProtocol::onPointerAck);
        set(0x13, 4, &TBatonProtocol::onDrop4);
        set(0x14, 3, &TBatonProtocol::on14);
        set(0x22, 3, &TBatonProtocol::onVoltage22);
        set(0x24, 5, &TBatonProtocol::onButton);
        set(0x26, 6, &TBatonProtocol::onButtonTime);
        set(0x28, 3, &TBatonProtocol::onVoltage28);
        set(0x34, 6, &TBatonProtocol::onClockSeconds);
        set(0x35, 6, &TBatonProtocol::onSetSecondsEcho);
        set(0x55, 1, &TBatonProtocol::onCalibration);
        set(0x81, 1, &TBatonProtocol::onEmpty);
        set(0xF0, 2, &TBatonProtocol::onF0);
        set(0xFE, 2, &TBatonProtocol::onDrop1);
        set(0xFF, 2, &TBatonProtocol::onDrop1);
        return t;
    }();
    return rows;
}

bool TBatonProtocol::service() {
    lastRead_ = readWaiting();
    if (f_.replyOk || rx_.empty()) {
        return false;
    }
    const int countBefore = rx_.count();
    decode();
    return rx_.count() != countBefore || f_.replyOk;
}

int TBatonProtocol::readWaiting() {
    if (line_ == nullptr || !line_->isOpen()) {
        return 0;
    }
    int total = 0;
    for (qint64 waiting = line_->bytesWaiting(); waiting > 0; waiting = line_->bytesWaiting()) {
        const QByteArray bytes = line_->read(waiting);
        if (bytes.isEmpty()) {
            break;
        }
        for (char c : bytes) {
            storeByte(std::uint8_t(c));
        }
        total += int(bytes.size());
    }
    return total;
}

void TBatonProtocol::storeByte(std::uint8_t byte) {
    const bool kept = rx_.push(byte);
    if (f_.gaugeOnRx) {
        s_.display.stepGauge();
    } else if (f_.state != 155) {
        s_.display.setGaugeProgress(0);
    }
    if (!kept) {
        f_.state = 0;
    }
    if (!f_.helloSeen && rx_.holdsGreeting()) {
        f_.helloSeen = true;
    }
}

void TBatonProtocol::decode() {
    const Row& row = table()[rx_.at(1)];
    if (rx_.count() >= row.needs) {
        (this->*row.act)();
    }
}

void TBatonProtocol::extendDeadline(qint64 ms) {
    f_.deadline = std::max(f_.deadline, s_.clock.tickMs() + ms);
}

bool TBatonProtocol::ackOk() const {
    return rx_.checkAt(3) && rx_.at(2) == 1;
}

bool TBatonProtocol::ackRefused() const {
    return rx_.checkAt(3) && rx_.at(2) == 0;
}

void TBatonProtocol::onZero() {
    rx_.drop(1);
}

void TBatonProtocol::onGreetingOrEcho01() {
    if (rx_.holdsGreeting()) {
        f_.helloSeen = true;
        rx_.clear();
        sendLiteral(frames::kGreetingAnswer);
        return;
    }
    if (rx_.at(2) == 0x5E) {
        f_.replyOk = false;
        rx_.drop(2);
    }
}

void TBatonProtocol::onIdentity() {
    f_.replyOk = rx_.checkAt(12);
    s_.display.update([](DisplaySnapshot& d) { d.label4Visible = false; });
}

void TBatonProtocol::onClockReadEcho() {
    rx_.drop(2);
    f_.replyOk = false;
}

void TBatonProtocol::onClockBcd() {
    f_.replyOk = rx_.checkAt(10);
    if (f_.replyOk) {
        showClockBcd();
    }
}

void TBatonProtocol::onClockSeconds() {
    f_.replyOk = rx_.checkAt(6);
    if (f_.replyOk) {
        showClockSeconds();
    }
}

void TBatonProtocol::onSetClockEcho() {
    rx_.drop(10);
}

void TBatonProtocol::onClockAck() {
    f_.replyOk = ackOk();
    const bool back = rx_.at(1) == 0x06 ? !f_.replyOk : ackRefused();
    if (back) {
        rx_.clear();
        trace(QStringLiteral("RxInd=0 >After Rec 06 Command< ") + delayText());
        f_.state = 140;
    }
}

void TBatonProtocol::onSetIdEcho() {
    rx_.drop(6);
}

void TBatonProtocol::onIdAck() {
    f_.replyOk = ackOk();
    if (ackRefused()) {
        rx_.clear();
        f_.state = 220;
    } else if (f_.replyOk) {
        s_.requests.clearPendingId();
        rx_.clear();
        sendLiteral(frames::kReadIdentity);
        f_.replyOk = false;
        f_.state = 130;
        f_.stateDelay = 100;
    }
}

void TBatonProtocol::onDrop3() {
    rx_.drop(3);
}

void TBatonProtocol::onBankSize() {
    f_.replyOk = rx_.checkAt(4);
    if (f_.replyOk) {
        rx_.clear();
    }
}

void TBatonProtocol::onStartEcho() {
    rx_.drop(6);
    extendDeadline(500);
}

void TBatonProtocol::onStartAck() {
    f_.replyOk = ackOk();
    if (ackRefused()) {
        rx_.clear();
        resend();
    } else if (f_.replyOk && !(f_.bank <= 0 && f_.headerWritten && f_.retryCount == 0)) {
        showDownloadStatus();
        rx_.clear();
        sendLiteral(frames::kNextPacket);
        f_.replyOk = false;
        extendDeadline(1500);
    }
}

void TBatonProtocol::onNextEcho() {
    rx_.drop(2);
    extendDeadline(1500);
}

void TBatonProtocol::onPacket() {
    f_.replyOk = rx_.checkAt(10);
    if (f_.replyOk) {
        processPacket();
    }
}

void TBatonProtocol::onWriteEcho() {
    if (f_.bank == 0) {
        rx_.drop(10);
    }
}

void TBatonProtocol::onWriteAck() {
    f_.replyOk = ackOk();
    const bool refused = ackRefused();
    if (f_.bank == 0) {
        rx_.drop(3);
    }
    if (refused) {
        resend();
    } else if (f_.replyOk && f_.bank > 0) {
        showDownloadStatus();
        rx_.clear();
        sendLiteral(frames::kNextPacket);
        f_.replyOk = false;
    }
}

void TBatonProtocol::onPointerEcho() {
    rx_.drop(5);
}

void TBatonProtocol::onPointerAck() {
    if (ackOk() || ackRefused()) {
        rx_.clear();
        f_.replyOk = true;
        // Only a session that set a pointer waits for this; a stray one must
        // not skip the identity and clock of a session just begun.
        if (f_.state == 180 || f_.state == 250) {
            f_.state = 160;
        }
    }
}

void TBatonProtocol::onDrop4() {
    rx_.drop(4);
}

void TBatonProtocol::on14() {
    f_.replyOk = ackOk();
    if (f_.replyOk) {
        f_.state = 210;
    }
}

void TBatonProtocol::traceVoltage(std::uint8_t u) {
    f_.voltage = u;
    const double volts = u * 0.019607843137254901961;
    trace(QStringLiteral("Voltage =") + QString::number(volts, 'g', 15) + QStringLiteral("V"));
}

void TBatonProtocol::onVoltage22() {
    traceVoltage(rx_.at(2));
    rx_.drop(3);
    f_.replyOk = true;
}

void TBatonProtocol::onVoltage28() {
    traceVoltage(rx_.at(2));
    if (rx_.at(2) > 102) {
        f_.state = 20;
    }
    rx_.drop(3);
}

void TBatonProtocol::onButton() {
    f_.replyOk = rx_.checkAt(5);
    if (f_.replyOk) {
        handleButton();
    }
}

void TBatonProtocol::handleButton() {
    const QString id = frames::hex2(rx_.at(2)) + frames::hex2(rx_.at(3)) + frames::hex2(rx_.at(4));
    trace(QStringLiteral("IdButton =") + id);
    s_.display.beep();
    rx_.drop(5);
    if (id == QLatin1String("000000")) {
        trace(QStringLiteral("0"));
        return;
    }
    if (s_.host.idButtonRead(id)) {
        trace(QStringLiteral("Button added"));
    }
}

void TBatonProtocol::onButtonTime() {
    QString bytes;
    for (int i = 2; i <= 5; ++i) {
        bytes += frames::hex2(rx_.at(i));
    }
    trace(QStringLiteral("ButtonTime =") + bytes);
    s_.display.beep();
    rx_.drop(6);
}

void TBatonProtocol::onSetSecondsEcho() {
    rx_.drop(6);
}

void TBatonProtocol::onCalibration() {
    if (rx_.count() >= 3 && rx_.checkAt(3)) {
        trace(QStringLiteral("CalVal is ") + frames::hex2(rx_.at(2)));
        rx_.drop(3);
    } else {
        rx_.drop(1);
    }
}

void TBatonProtocol::onEmpty() {
    rx_.clear();
}

void TBatonProtocol::onF0() {
    while (!rx_.empty() && rx_.at(1) == 0xF0) {
        rx_.drop(1);
    }
}

void TBatonProtocol::onDrop1() {
    rx_.drop(1);
}

void TBatonProtocol::onFunny() {
    rx_.clear();
    trace(QStringLiteral("RxInd=0 >After Rec funny Command< ") + delayText());
    resend();
}

}  // namespace dorodure
