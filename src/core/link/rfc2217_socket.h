#pragma once

#include <QByteArray>
#include <QString>

namespace dorodure::rfc2217 {

// A TCP connection on a plain POSIX socket, used without an event loop from
// one thread: reads never block, waits and sends have time limits. The
// socket has TCP_NODELAY (frames of a few bytes go out at once) and a short
// keep-alive and user time-out, so that a server that silently vanished is
// noticed as a failure within seconds rather than after the system's
// retransmission limit.
class TcpConnection {
  public:
    enum class Status {
        Ok,      // the connection stands (maybe nothing arrived)
        Closed,  // the server closed it
        Failed,  // reset, timed out or another socket error (error() says which)
    };

    TcpConnection() = default;
    ~TcpConnection();
    TcpConnection(const TcpConnection&) = delete;
    TcpConnection& operator=(const TcpConnection&) = delete;

    // Resolves host and connects within timeoutMs; false with error() set.
    bool connectTo(const QString& host, quint16 port, int timeoutMs);
    // Safe when not connected.
    void close();
    bool isOpen() const { return fd_ >= 0; }
    QString error() const { return error_; }

    // Appends what has arrived to out without blocking.
    Status receive(QByteArray& out);
    // Blocks until something can be read (data, a close or an error) or
    // timeoutMs has passed; true when there is something to read.
    bool waitReadable(int timeoutMs);
    // Sends all bytes, waiting at most timeoutMs for room; false when the
    // connection failed or stayed full.
    bool sendAll(const QByteArray& bytes, int timeoutMs);

  private:
    bool connectAddress(const void* address, unsigned length, int family, int timeoutMs);
    void tune();
    void failWith(const QString& what, int err);

    int fd_ = -1;
    QString error_;
};

}  // namespace dorodure::rfc2217
