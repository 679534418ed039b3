#include "link/rfc2217_socket.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace dorodure::rfc2217 {

namespace {

// Keep-alive probes after 5 s of silence, every 2 s, 3 of them; unsent data
// unacknowledged for 10 s ends the connection.
constexpr int kKeepIdleS = 5;
constexpr int kKeepIntervalS = 2;
constexpr int kKeepCount = 3;
constexpr unsigned kUserTimeoutMs = 10000;

QString systemError(int err) {
    return QString::fromLocal8Bit(std::strerror(err));
}

// poll() on one descriptor, retried when a signal cuts it short.
int pollOne(int fd, short events, int timeoutMs, short* revents) {
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        pollfd p{fd, events, 0};
        const int left = std::max<int>(0, timeoutMs - int(timer.elapsed()));
        const int n = ::poll(&p, 1, left);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        *revents = p.revents;
        return n;
    }
}

}  // namespace

TcpConnection::~TcpConnection() {
    close();
}

void TcpConnection::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void TcpConnection::failWith(const QString& what, int err) {
    error_ = err != 0 ? QStringLiteral("%1: %2").arg(what, systemError(err)) : what;
}

bool TcpConnection::connectTo(const QString& host, quint16 port, int timeoutMs) {
    close();
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const QByteArray service = QByteArray::number(port);
    const int rc = ::getaddrinfo(host.toUtf8().constData(), service.constData(), &hints, &found);
    if (rc != 0) {
        error_ = QStringLiteral("cannot resolve %1: %2")
                     .arg(host, QString::fromLocal8Bit(gai_strerror(rc)));
        return false;
    }
    bool ok = false;
    for (addrinfo* a = found; a != nullptr && !ok; a = a->ai_next) {
        ok = connectAddress(a->ai_addr, unsigned(a->ai_addrlen), a->ai_family, timeoutMs);
    }
    ::freeaddrinfo(found);
    if (ok) {
        tune();
        error_.clear();
    }
    return ok;
}

bool TcpConnection::connectAddress(const void* address, unsigned length, int family,
                                   int timeoutMs) {
    fd_ = ::socket(family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) {
        failWith(QStringLiteral("cannot create a socket"), errno);
        return false;
    }
    int err = 0;
    if (::connect(fd_, static_cast<const sockaddr*>(address), socklen_t(length)) != 0) {
        err = errno;
        if (err == EINPROGRESS) {
            short revents = 0;
            if (pollOne(fd_, POLLOUT, timeoutMs, &revents) == 0) {
                err = ETIMEDOUT;
            } else {
                socklen_t size = sizeof err;
                ::getsockopt(fd_, SOL_SOCKET, SO_ERROR, &err, &size);
            }
        }
    }
    if (err != 0) {
        failWith(QStringLiteral("cannot connect"), err);
        close();
        return false;
    }
    return true;
}

void TcpConnection::tune() {
    const int on = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    ::setsockopt(fd_, SOL_SOCKET, SO_KEEPALIVE, &on, sizeof on);
    ::setsockopt(fd_, IPPROTO_TCP, TCP_KEEPIDLE, &kKeepIdleS, sizeof kKeepIdleS);
    ::setsockopt(fd_, IPPROTO_TCP, TCP_KEEPINTVL, &kKeepIntervalS, sizeof kKeepIntervalS);
    ::setsockopt(fd_, IPPROTO_TCP, TCP_KEEPCNT, &kKeepCount, sizeof kKeepCount);
    ::setsockopt(fd_, IPPROTO_TCP, TCP_USER_TIMEOUT, &kUserTimeoutMs, sizeof kUserTimeoutMs);
}

TcpConnection::Status TcpConnection::receive(QByteArray& out) {
    if (fd_ < 0) {
        return Status::Closed;
    }
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0) {
            out.append(buffer, qsizetype(n));
            continue;
        }
        if (n == 0) {
            error_ = QStringLiteral("the server closed the connection");
            return Status::Closed;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK) {
            return Status::Ok;
        }
        failWith(QStringLiteral("connection lost"), errno);
        return Status::Failed;
    }
}

bool TcpConnection::waitReadable(int timeoutMs) {
    if (fd_ < 0) {
        return false;
    }
    short revents = 0;
    return pollOne(fd_, POLLIN, std::max(timeoutMs, 0), &revents) > 0 && revents != 0;
}

bool TcpConnection::sendAll(const QByteArray& bytes, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    qsizetype done = 0;
    while (fd_ >= 0 && done < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.constData() + done, size_t(bytes.size() - done),
                                 MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n >= 0) {
            done += n;
            continue;
        }
        const int err = errno;
        if (err == EINTR) {
            continue;
        }
        if (err != EAGAIN && err != EWOULDBLOCK) {
            failWith(QStringLiteral("connection lost"), err);
            return false;
        }
        short revents = 0;
        const int left = timeoutMs - int(timer.elapsed());
        if (left <= 0 || pollOne(fd_, POLLOUT, left, &revents) == 0) {
            error_ = QStringLiteral("the server takes no more data");
            return false;
        }
    }
    return fd_ >= 0;
}

}  // namespace dorodure::rfc2217
