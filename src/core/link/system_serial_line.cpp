#include "link/system_serial_line.h"

#include "link/device_access.h"

#include <QFileInfo>
#include <QSerialPort>

#include <thread>

namespace dorodure {

SystemSerialLine::SystemSerialLine(QString device, QString portName)
    : device_(std::move(device)), portName_(portName.isEmpty() ? device_ : std::move(portName)) {}

SystemSerialLine::~SystemSerialLine() {
    close();
}

bool SystemSerialLine::open() {
    if (device_.isEmpty()) {
        error_ = QStringLiteral("%1 has no device").arg(portName_);
        return false;
    }
    if (port_ && port_->isOpen()) {
        error_ = QStringLiteral("%1 is already open").arg(portName_);
        return false;
    }
    // Created here so that it belongs to the thread that uses it.
    port_ = std::make_unique<QSerialPort>();
    port_->setPortName(device_);
    failed_ = false;
    permissionDenied_ = false;
    if (!port_->open(QIODevice::ReadWrite)) {
        permissionDenied_ = port_->error() == QSerialPort::PermissionError && accessDenied(device_);
        error_ = describeOpenError();
        port_.reset();
        return false;
    }
    if (!configure()) {
        error_ = QStringLiteral("%1 (%2): cannot set 9600 8N2: %3")
                     .arg(portName_, device_, port_->errorString());
        port_->close();
        port_.reset();
        return false;
    }
    error_.clear();
    return true;
}

bool SystemSerialLine::configure() {
    bool ok = port_->setBaudRate(QSerialPort::Baud9600) && port_->setDataBits(QSerialPort::Data8) &&
              port_->setParity(QSerialPort::NoParity) && port_->setStopBits(QSerialPort::TwoStop) &&
              port_->setFlowControl(QSerialPort::NoFlowControl);
    // RTS is never raised; DTR starts low until the program sets it. Some
    // devices (pseudo terminals) have no modem lines: that is not an error.
    port_->setRequestToSend(false);
    port_->setDataTerminalReady(false);
    port_->clearError();
    return ok;
}

QString SystemSerialLine::describeOpenError() const {
    const QString where = QStringLiteral("%1 (%2)").arg(portName_, device_);
    switch (port_->error()) {
        case QSerialPort::DeviceNotFoundError:
            return QStringLiteral("%1: no such device").arg(where);
        case QSerialPort::PermissionError:
            if (permissionDenied_) {
                return QStringLiteral(
                           "%1: permission denied; add the user to the group that owns the "
                           "device (usually \"dialout\") and log in again")
                    .arg(where);
            }
            return QStringLiteral("%1: the port is in use by another program").arg(where);
        default:
            return QStringLiteral("%1: %2").arg(where, port_->errorString());
    }
}

void SystemSerialLine::close() {
    if (port_) {
        if (port_->isOpen()) {
            port_->close();
        }
        port_.reset();
    }
    failed_ = false;
}

bool SystemSerialLine::isOpen() const {
    return port_ && port_->isOpen();
}

QString SystemSerialLine::errorString() const {
    return error_;
}

void SystemSerialLine::fail(const QString& why) {
    failed_ = true;
    error_ = QStringLiteral("%1 (%2): %3").arg(portName_, device_, why);
}

// Throws once the open port has failed; a failure seen now is kept so that
// every later call reports it too.
void SystemSerialLine::checkFailed(const char* what) {
    if (!failed_ && isOpen()) {
        const QSerialPort::SerialPortError e = port_->error();
        if (e == QSerialPort::ResourceError || e == QSerialPort::DeviceNotFoundError) {
            fail(port_->errorString());
        } else if (e != QSerialPort::NoError) {
            port_->clearError();  // time-outs and unsupported line controls are not failures
        }
    }
    if (failed_) {
        throw PortError(
            QStringLiteral("%1 failed: %2").arg(QLatin1String(what), error_).toStdString());
    }
}

void SystemSerialLine::setDtr(bool on) {
    checkFailed("set DTR");
    if (isOpen()) {
        port_->setDataTerminalReady(on);
        checkFailed("set DTR");
    }
}

void SystemSerialLine::setBreak(bool on) {
    checkFailed("set BREAK");
    if (isOpen()) {
        port_->setBreakEnabled(on);
        checkFailed("set BREAK");
    }
}

qint64 SystemSerialLine::bytesWaiting() {
    checkFailed("read");
    if (!isOpen()) {
        return 0;
    }
    // Without an event loop the port only fetches from the driver in a wait.
    port_->waitForReadyRead(0);
    checkFailed("read");
    return port_->bytesAvailable();
}

QByteArray SystemSerialLine::read(qint64 maxBytes) {
    checkFailed("read");
    if (!isOpen()) {
        return {};
    }
    const QByteArray bytes = port_->read(maxBytes);
    checkFailed("read");
    return bytes;
}

qint64 SystemSerialLine::write(const QByteArray& bytes) {
    checkFailed("write");
    if (!isOpen()) {
        return -1;
    }
    const qint64 written = port_->write(bytes);
    // Hand the bytes to the driver now; there is no event loop to do it later.
    port_->waitForBytesWritten(100 + bytes.size() * 2);
    checkFailed("write");
    return written;
}

bool SystemSerialLine::waitForBytes(qint64 timeoutMs) {
    checkFailed("wait");
    if (!isOpen()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::max<qint64>(timeoutMs, 0)));
        return false;
    }
    if (port_->bytesAvailable() > 0) {
        return true;
    }
    const bool ready = port_->waitForReadyRead(static_cast<int>(std::max<qint64>(timeoutMs, 0)));
    if (!ready && !QFileInfo::exists(device_)) {
        fail(QStringLiteral("the device is gone (adapter unplugged)"));
    }
    checkFailed("wait");
    return ready || port_->bytesAvailable() > 0;
}

}  // namespace dorodure
