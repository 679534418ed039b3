#pragma once

#include "link_context.h"
#include "rx_buffer.h"

#include <QByteArray>
#include <QString>

#include <array>
#include <atomic>
#include <cstdint>

namespace dorodure {

class RawJournal;

// The baton's binary protocol on the serial line: frames sent from the
// transmit buffer, the receive buffer and the receive handler that decodes
// replies by their first byte, and the waits of the session, which service
// the receive side while they block on the line.
class TBatonProtocol {
  public:
    TBatonProtocol(SessionFields& fields, LinkServices& services, RawJournal& journal,
                   const std::atomic<bool>& stopRequested);

    void setLine(SerialLine* line) { line_ = line; }
    SerialLine* line() const { return line_; }

    // --- Transmit ---
    // Stores the frame in TxBuffer and writes it one byte per write call.
    void sendFrame(const QByteArray& frame);
    // Writes a fixed frame in one call; TxBuffer keeps the last built frame.
    void sendLiteral(const QByteArray& bytes);
    // Clock reads are literal frames that are also kept for a resend.
    void sendClockRead(const QByteArray& literal);
    // Sends TxBuffer positions 1 .. TxLength again.
    void resend();
    QByteArray txFrame() const;

    // --- Receive ---
    RxBuffer& rx() { return rx_; }
    // One call of the receive handler: reads the waiting bytes, then decodes
    // once by the first byte held. Returns whether the call decoded or dropped
    // anything (so another call may do more without new bytes).
    bool service();

    // --- Waits (all on the injected clock; a stop request ends them) ---
    // Services the receive side (when PollRx is set) until ms have passed.
    void pause(qint64 ms);
    // Services until ReplyOk or the tick count reaches Deadline, which the
    // receive handler may move. Deadline starts at now + ms.
    bool waitReply(qint64 ms);
    // Services until the tick count reaches Deadline as it stands or moves.
    void serviceUntilDeadline();
    // Services for ms without regard to replies.
    void serviceFor(qint64 ms);
    // Waits ms without reading the line.
    void quiet(qint64 ms);

    // --- Helpers shared with the session ---
    void trace(const QString& message) const;
    // " " + the state delay, as trace lines end.
    QString delayText() const;
    QString text(int entry) const;
    // The download status line: text 16, then the bank number unless Bank/2 is -1.
    void showDownloadStatus();
    // The clock shown from a 04 or 34 reply held in the receive buffer.
    void showClockBcd();
    void showClockSeconds();

  private:
    struct Row {
        int needs = 1;
        void (TBatonProtocol::*act)() = nullptr;
    };
    static const std::array<Row, 256>& table();

    int readWaiting();
    void storeByte(std::uint8_t byte);
    void decode();
    // Replies keep a wait going: the deadline moves to at least now + ms.
    void extendDeadline(qint64 ms);
    bool ackOk() const;
    bool ackRefused() const;
    void waitOnLine(qint64 ms);

    // Rows of the receive handler, by first byte.
    void onZero();
    void onGreetingOrEcho01();
    void onIdentity();
    void onClockReadEcho();
    void onClockBcd();
    void onClockSeconds();
    void onSetClockEcho();
    void onClockAck();
    void onSetIdEcho();
    void onIdAck();
    void onDrop3();
    void onBankSize();
    void onStartEcho();
    void onStartAck();
    void onNextEcho();
    void onPacket();
    void onWriteEcho();
    void onWriteAck();
    void onPointerEcho();
    void onPointerAck();
    void onDrop4();
    void on14();
    void onVoltage22();
    void onButton();
    void onButtonTime();
    void onVoltage28();
    void onSetSecondsEcho();
    void onCalibration();
    void onEmpty();
    void onF0();
    void onDrop1();
    void onFunny();

    void processPacket();
    void handleButton();
    void traceVoltage(std::uint8_t u);

    SessionFields& f_;
    LinkServices& s_;
    RawJournal& journal_;
    const std::atomic<bool>& stop_;
    SerialLine* line_ = nullptr;
    RxBuffer rx_;
    std::array<std::uint8_t, 255> tx_{};
    int txLength_ = 0;
    int lastRead_ = 0;
};

}  // namespace dorodure
