#include "rfc2217/station_bridge.h"

#include <QProcess>

#include <cerrno>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace dorodure::test {

namespace {

const char kScript[] = DORODURE_SOURCE_DIR "/tests/link/rfc2217/station_server.py";

int listenLocal(quint16* port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&a), size) != 0 || ::listen(fd, 2) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &size) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return -1;
    }
    *port = ntohs(a.sin_port);
    return fd;
}

bool readable(int fd, int timeoutMs) {
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, timeoutMs) > 0;
}

}  // namespace

StationBridge::StationBridge(std::shared_ptr<sim::SimulatedStation> station)
    : station_(std::move(station)) {
    listenFd_ = listenLocal(&port_);
    station_->open();
    thread_ = std::thread([this] { run(); });
}

StationBridge::~StationBridge() {
    stop_.store(true);
    thread_.join();
    dropClient();
    if (listenFd_ >= 0) {
        ::close(listenFd_);
    }
}

QStringList StationBridge::settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

QStringList StationBridge::lineSignals() const {
    QStringList out;
    for (const QString& s : settings()) {
        const bool on = s.endsWith(QLatin1String("=True"));
        if (s.startsWith(QLatin1String("dtr="))) {
            out << (on ? QStringLiteral("DTR on") : QStringLiteral("DTR off"));
        } else if (s.startsWith(QLatin1String("break_condition="))) {
            out << (on ? QStringLiteral("BREAK on") : QStringLiteral("BREAK off"));
        }
    }
    return out;
}

void StationBridge::run() {
    while (!stop_.load()) {
        if (clientFd_ < 0) {
            if (listenFd_ >= 0 && readable(listenFd_, 10)) {
                clientFd_ = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
                const int on = 1;
                ::setsockopt(clientFd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
                inbox_.clear();
            }
            continue;
        }
        if (!serviceClient()) {
            dropClient();
        }
    }
}

// One round: what the server sent goes to the station, what the station
// sent goes to the server. false when the server has gone.
bool StationBridge::serviceClient() {
    if (readable(clientFd_, 1)) {
        char buffer[4096];
        const ssize_t n = ::recv(clientFd_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
            return false;
        }
        inbox_.append(buffer, n > 0 ? qsizetype(n) : 0);
        while (inbox_.size() >= 3) {
            const int length = (std::uint8_t(inbox_.at(1)) << 8) | std::uint8_t(inbox_.at(2));
            if (inbox_.size() < 3 + length) {
                break;
            }
            apply(inbox_.at(0), inbox_.mid(3, length));
            inbox_.remove(0, 3 + length);
        }
    }
    const qint64 waiting = station_->bytesWaiting();
    if (waiting > 0) {
        sendToServer(station_->read(waiting));
    }
    return clientFd_ >= 0;
}

void StationBridge::apply(char kind, const QByteArray& payload) {
    if (kind == 'D') {
        station_->write(payload);
    } else if (kind == 'C') {
        applySetting(QString::fromLatin1(payload));
    }
}

void StationBridge::applySetting(const QString& setting) {
    {
        std::lock_guard lock(mutex_);
        settings_ << setting;
    }
    const bool on = setting.endsWith(QLatin1String("=True"));
    if (setting.startsWith(QLatin1String("dtr="))) {
        station_->setDtr(on);
    } else if (setting.startsWith(QLatin1String("break_condition="))) {
        station_->setBreak(on);
    }
}

void StationBridge::sendToServer(const QByteArray& bytes) {
    for (qsizetype at = 0; at < bytes.size() && clientFd_ >= 0; at += 60000) {
        const QByteArray chunk = bytes.mid(at, 60000);
        QByteArray message;
        message.append('D').append(char(chunk.size() >> 8)).append(char(chunk.size() & 0xFF));
        message.append(chunk);
        if (::send(clientFd_, message.constData(), size_t(message.size()), MSG_NOSIGNAL) !=
            message.size()) {
            dropClient();
        }
    }
}

void StationBridge::dropClient() {
    if (clientFd_ >= 0) {
        ::close(clientFd_);
        clientFd_ = -1;
    }
}

QString pythonWithPyserial() {
    QStringList candidates = {QStringLiteral("/usr/bin/python3"), QStringLiteral("python3")};
    const QString chosen = qEnvironmentVariable("DORODURE_PYTHON");
    if (!chosen.isEmpty()) {
        candidates = {chosen};
    }
    for (const QString& python : candidates) {
        QProcess probe;
        probe.start(python, {QStringLiteral("-c"), QStringLiteral("import serial.rfc2217")});
        if (probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit &&
            probe.exitCode() == 0) {
            return python;
        }
    }
    return {};
}

Rfc2217Server::Rfc2217Server(QString python, quint16 bridgePort)
    : python_(std::move(python)), bridgePort_(bridgePort) {}

Rfc2217Server::~Rfc2217Server() {
    kill();
}

bool Rfc2217Server::start(quint16 listenPort) {
    kill();
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_->start(python_, {QString::fromLatin1(kScript), QStringLiteral("--bridge"),
                              QString::number(bridgePort_), QStringLiteral("--port"),
                              QString::number(listenPort)});
    QByteArray out;
    while (!out.contains('\n') && process_->waitForReadyRead(10000)) {
        out += process_->readAllStandardOutput();
    }
    const QByteArray line = out.left(out.indexOf('\n')).trimmed();
    if (!line.startsWith("LISTENING ")) {
        kill();
        return false;
    }
    port_ = quint16(line.mid(10).toUInt());
    return port_ != 0;
}

void Rfc2217Server::kill() {
    if (process_) {
        process_->kill();
        process_->waitForFinished(5000);
        process_.reset();
    }
}

QString Rfc2217Server::address() const {
    return QStringLiteral("rfc2217://127.0.0.1:%1").arg(port_);
}

}  // namespace dorodure::test
