#pragma once

#include <QByteArray>
#include <QString>

#include <stdexcept>

namespace dorodure {

// A port failure while it is open (an adapter pulled out, a lost network
// connection): reported as an error, never as silence.
class PortError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The serial line to the upload station: 9600 baud, 8 data bits, no parity,
// 2 stop bits, no flow control; DTR set by the program, RTS never raised.
// Implementations: the system port, the simulated station, network servers.
// All calls come from the communications thread.
class SerialLine {
  public:
    virtual ~SerialLine() = default;

    // Opens the line; false when it does not exist, is busy or not permitted
    // (errorString() says why).
    virtual bool open() = 0;
    // Safe on a closed line.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    virtual QString errorString() const = 0;
    // The last open() failed because this user may not open the device (as
    // opposed to a missing or busy one); errorString() says how to fix it.
    virtual bool permissionDenied() const { return false; }

    // Throw PortError when the open line has failed.
    virtual void setDtr(bool on) = 0;
    virtual void setBreak(bool on) = 0;
    // Bytes waiting; never blocks.
    virtual qint64 bytesWaiting() = 0;
    // Reads up to maxBytes of the waiting bytes; never blocks.
    virtual QByteArray read(qint64 maxBytes) = 0;
    // Writes the bytes untranslated; returns the count written.
    virtual qint64 write(const QByteArray& bytes) = 0;

    // Blocks until at least one byte is waiting or timeoutMs has passed on the
    // line's clock (virtual lines advance their clock instead of sleeping).
    // Returns whether bytes are waiting.
    virtual bool waitForBytes(qint64 timeoutMs) = 0;
};

}  // namespace dorodure
