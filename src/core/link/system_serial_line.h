#pragma once

#include "link/serial_line.h"

#include <QString>

#include <memory>

class QSerialPort;

namespace dorodure {

// The serial port of the system, over QSerialPort: 9600 baud, 8 data bits, no
// parity, 2 stop bits, no flow control; RTS is kept low, DTR is set by the
// program, BREAK through the port's break state.
//
// The QSerialPort is created by open(), on the thread that opens the line
// (the communications thread); no event loop is needed, waits block in
// waitForReadyRead. A port that fails while open (adapter pulled out, device
// gone) throws PortError from the next call until it is closed.
class SystemSerialLine final : public SerialLine {
  public:
    // device: e.g. "/dev/ttyUSB0"; "" makes a line that never opens.
    // portName: the name in messages, e.g. "COM5".
    explicit SystemSerialLine(QString device, QString portName = {});
    ~SystemSerialLine() override;

    bool open() override;
    void close() override;
    bool isOpen() const override;
    QString errorString() const override;
    bool permissionDenied() const override { return permissionDenied_; }
    void setDtr(bool on) override;
    void setBreak(bool on) override;
    qint64 bytesWaiting() override;
    QByteArray read(qint64 maxBytes) override;
    qint64 write(const QByteArray& bytes) override;
    bool waitForBytes(qint64 timeoutMs) override;

    QString device() const { return device_; }

  private:
    bool configure();
    void checkFailed(const char* what);
    void fail(const QString& why);
    QString describeOpenError() const;

    QString device_;
    QString portName_;
    std::unique_ptr<QSerialPort> port_;
    QString error_;
    bool failed_ = false;
    bool permissionDenied_ = false;
};

}  // namespace dorodure
