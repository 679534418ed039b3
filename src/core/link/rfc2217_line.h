#pragma once

#include "link/rfc2217_socket.h"
#include "link/rfc2217_telnet.h"
#include "link/serial_line.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

namespace dorodure {

class SerialLineFactory;

// Where a serial device server listens: "rfc2217://HOST:PORT", HOST a name,
// an IPv4 address or an IPv6 address in brackets.
struct Rfc2217Address {
    QString host;
    quint16 port = 0;
};
// nullopt when the text is not such an address.
std::optional<Rfc2217Address> parseRfc2217Address(const QString& device);

// The serial line of an upload station on a serial device server (ser2net,
// a device server box) that speaks Telnet with COM-PORT-OPTION (RFC 2217).
//
// open() connects, negotiates BINARY and SUPPRESS-GO-AHEAD both ways and
// offers COM-PORT-OPTION, then sets 9600 baud, 8 data bits, no parity, 2 stop
// bits, no flow control, RTS off and DTR off. DTR and BREAK travel as
// SET-CONTROL commands in the data stream, so they reach the station in
// order with the bytes around them. The server's acknowledgements are read
// but never waited for. Data bytes 0xFF are doubled on the way out and
// undoubled on the way in.
//
// Used from one thread without an event loop. A connection that is lost
// while open (server gone, network down) throws PortError from the next call
// until close(), as an unplugged adapter does; open() then connects anew.
class Rfc2217Line final : public SerialLine {
  public:
    static constexpr int kConnectTimeoutMs = 1500;
    // How long open() gives the server to agree to COM-PORT-OPTION before
    // sending the line settings anyway.
    static constexpr int kNegotiationWaitMs = 300;
    static constexpr int kSendTimeoutMs = 2000;

    // device: "rfc2217://HOST:PORT"; portName: the name in messages ("COM3").
    explicit Rfc2217Line(QString device, QString portName = {});
    ~Rfc2217Line() override;

    bool open() override;
    void close() override;
    bool isOpen() const override;
    QString errorString() const override;
    void setDtr(bool on) override;
    void setBreak(bool on) override;
    qint64 bytesWaiting() override;
    QByteArray read(qint64 maxBytes) override;
    qint64 write(const QByteArray& bytes) override;
    bool waitForBytes(qint64 timeoutMs) override;

    QString device() const { return device_; }
    // The server's COM-PORT-OPTION messages (acknowledgements, modem and
    // line state notifications) since the last call.
    std::vector<rfc2217::ServerMessage> takeServerMessages();

  private:
    bool connectAndNegotiate();
    void awaitAgreement();
    void pump();
    void send(const QByteArray& bytes);
    void fail(const QString& why);
    void checkFailed(const char* what) const;
    QString where() const;

    QString device_;
    QString portName_;
    std::optional<Rfc2217Address> address_;
    rfc2217::TcpConnection socket_;
    std::unique_ptr<rfc2217::TelnetDecoder> decoder_;
    std::vector<rfc2217::ServerMessage> messages_;
    QByteArray rx_;
    QString error_;
    bool failed_ = false;
};

// Lets the factory make lines for "rfc2217://" devices (settings "Port<N>",
// the command line's --device). Called once at start-up.
void registerRfc2217Transport(SerialLineFactory& factory);

}  // namespace dorodure
