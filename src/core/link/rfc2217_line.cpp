#include "link/rfc2217_line.h"

#include "link/port_map.h"

#include <QElapsedTimer>
#include <QUrl>

#include <algorithm>
#include <thread>

namespace dorodure {

using namespace rfc2217;

std::optional<Rfc2217Address> parseRfc2217Address(const QString& device) {
    const QUrl url(device.trimmed(), QUrl::StrictMode);
    const bool shaped =
        url.isValid() && url.scheme().compare(QLatin1String("rfc2217"), Qt::CaseInsensitive) == 0;
    if (!shaped || url.host().isEmpty() || url.port() < 1 || !url.userInfo().isEmpty() ||
        url.hasQuery() || url.hasFragment() ||
        (url.path() != QLatin1String("/") && !url.path().isEmpty())) {
        return std::nullopt;
    }
    return Rfc2217Address{url.host(), quint16(url.port())};
}

Rfc2217Line::Rfc2217Line(QString device, QString portName)
    : device_(std::move(device)),
      portName_(std::move(portName)),
      address_(parseRfc2217Address(device_)) {}

Rfc2217Line::~Rfc2217Line() {
    close();
}

QString Rfc2217Line::where() const {
    return portName_.isEmpty() ? device_ : QStringLiteral("%1 (%2)").arg(portName_, device_);
}

bool Rfc2217Line::open() {
    if (!address_) {
        error_ =
            QStringLiteral("%1: not a server address of the form rfc2217://HOST:PORT").arg(where());
        return false;
    }
    if (socket_.isOpen()) {
        error_ = QStringLiteral("%1 is already open").arg(where());
        return false;
    }
    if (!connectAndNegotiate()) {
        error_ = QStringLiteral("%1: %2").arg(where(), socket_.error());
        close();
        return false;
    }
    error_.clear();
    return true;
}

bool Rfc2217Line::connectAndNegotiate() {
    failed_ = false;
    rx_.clear();
    messages_.clear();
    decoder_ = std::make_unique<TelnetDecoder>();
    if (!socket_.connectTo(address_->host, address_->port, kConnectTimeoutMs) ||
        !socket_.sendAll(openingRequests(), kSendTimeoutMs)) {
        return false;
    }
    awaitAgreement();
    if (failed_) {
        return false;
    }
    // The station's line; DTR starts low until the program sets it, as on
    // a local port.
    return socket_.sendAll(stationLineSettings() + setControl(comport::kDtrOff), kSendTimeoutMs);
}

// Servers that speak RFC 2217 agree at once; one that stays silent gets the
// settings anyway after a short while.
void Rfc2217Line::awaitAgreement() {
    QElapsedTimer timer;
    timer.start();
    while (!failed_ && !decoder_->comPortAgreed() && timer.elapsed() < kNegotiationWaitMs) {
        socket_.waitReadable(int(kNegotiationWaitMs - timer.elapsed()));
        pump();
    }
}

void Rfc2217Line::close() {
    socket_.close();
    decoder_.reset();
    rx_.clear();
    failed_ = false;
}

bool Rfc2217Line::isOpen() const {
    return socket_.isOpen();
}

QString Rfc2217Line::errorString() const {
    return error_;
}

void Rfc2217Line::fail(const QString& why) {
    if (!failed_) {
        failed_ = true;
        error_ = QStringLiteral("%1: %2").arg(where(), why);
    }
}

void Rfc2217Line::checkFailed(const char* what) const {
    if (failed_) {
        throw PortError(
            QStringLiteral("%1 failed: %2").arg(QLatin1String(what), error_).toStdString());
    }
}

// Takes in what the server sent: data into the receive buffer, negotiations
// answered, COM-PORT-OPTION messages kept.
void Rfc2217Line::pump() {
    if (failed_ || !socket_.isOpen() || !decoder_) {
        return;
    }
    QByteArray input;
    const TcpConnection::Status status = socket_.receive(input);
    QByteArray replies;
    decoder_->feed(input, rx_, replies);
    for (ServerMessage& m : decoder_->takeMessages()) {
        messages_.push_back(std::move(m));
    }
    if (messages_.size() > 512) {
        messages_.erase(messages_.begin(), messages_.begin() + 256);
    }
    if (status != TcpConnection::Status::Ok) {
        fail(socket_.error());
    } else if (!replies.isEmpty() && !socket_.sendAll(replies, kSendTimeoutMs)) {
        fail(socket_.error());
    }
}

void Rfc2217Line::send(const QByteArray& bytes) {
    if (!socket_.sendAll(bytes, kSendTimeoutMs)) {
        fail(socket_.error());
    }
}

void Rfc2217Line::setDtr(bool on) {
    checkFailed("set DTR");
    if (isOpen()) {
        send(setControl(on ? comport::kDtrOn : comport::kDtrOff));
        checkFailed("set DTR");
    }
}

void Rfc2217Line::setBreak(bool on) {
    checkFailed("set BREAK");
    if (isOpen()) {
        send(setControl(on ? comport::kBreakOn : comport::kBreakOff));
        checkFailed("set BREAK");
    }
}

qint64 Rfc2217Line::bytesWaiting() {
    checkFailed("read");
    if (!isOpen()) {
        return 0;
    }
    pump();
    checkFailed("read");
    return rx_.size();
}

QByteArray Rfc2217Line::read(qint64 maxBytes) {
    checkFailed("read");
    if (!isOpen() || maxBytes <= 0) {
        return {};
    }
    pump();
    checkFailed("read");
    const QByteArray bytes = rx_.left(qsizetype(maxBytes));
    rx_.remove(0, bytes.size());
    return bytes;
}

qint64 Rfc2217Line::write(const QByteArray& bytes) {
    checkFailed("write");
    if (!isOpen()) {
        return -1;
    }
    send(escapeData(bytes));
    checkFailed("write");
    return bytes.size();
}

bool Rfc2217Line::waitForBytes(qint64 timeoutMs) {
    checkFailed("wait");
    const qint64 limit = std::max<qint64>(timeoutMs, 0);
    if (!isOpen()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(limit));
        return false;
    }
    QElapsedTimer timer;
    timer.start();
    pump();
    // Telnet traffic alone (acknowledgements, notifications) does not end the wait.
    while (rx_.isEmpty() && !failed_ && timer.elapsed() < limit) {
        socket_.waitReadable(int(limit - timer.elapsed()));
        pump();
    }
    checkFailed("wait");
    return !rx_.isEmpty();
}

std::vector<ServerMessage> Rfc2217Line::takeServerMessages() {
    pump();
    std::vector<ServerMessage> out;
    out.swap(messages_);
    return out;
}

void registerRfc2217Transport(SerialLineFactory& factory) {
    factory.registerTransport(QStringLiteral("rfc2217"), [](const QString& device) {
        return std::make_unique<Rfc2217Line>(device);
    });
}

}  // namespace dorodure
