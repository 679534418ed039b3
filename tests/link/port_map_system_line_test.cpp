// The system line over a pseudo terminal: the real read, write and wait path
// of QSerialPort without serial hardware.

#include "link/system_serial_line.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>

namespace dorodure {
namespace {

// The controlling side of a pseudo terminal; its other end looks like a port.
class PseudoTerminal {
  public:
    PseudoTerminal() {
        fd_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (fd_ >= 0 && grantpt(fd_) == 0 && unlockpt(fd_) == 0) {
            device_ = QString::fromLocal8Bit(ptsname(fd_));
        }
    }
    ~PseudoTerminal() { hangUp(); }
    // The far end goes away, as a pulled-out adapter does.
    void hangUp() {
        if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    QString device() const { return device_; }
    void send(const QByteArray& bytes) const {
        ASSERT_EQ(::write(fd_, bytes.constData(), bytes.size()), bytes.size());
    }
    QByteArray receive(int n) const {
        QByteArray got(n, '\0');
        qint64 have = 0;
        for (int tries = 0; have < n && tries < 100; ++tries) {
            const auto r = ::read(fd_, got.data() + have, n - have);
            if (r > 0) {
                have += r;
            } else {
                usleep(10000);
            }
        }
        return got.left(have);
    }

  private:
    int fd_ = -1;
    QString device_;
};

TEST(SystemSerialLine, ReadsWritesAndWaitsOnAPseudoTerminal) {
    PseudoTerminal pty;
    if (pty.device().isEmpty()) {
        GTEST_SKIP() << "no pseudo terminals here";
    }
    SystemSerialLine line(pty.device(), QStringLiteral("COM5"));
    ASSERT_TRUE(line.open()) << line.errorString().toStdString();
    EXPECT_NO_THROW(line.setDtr(true));  // a pseudo terminal has no modem lines
    EXPECT_EQ(line.bytesWaiting(), 0);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(line.waitForBytes(50));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(40));

    pty.send(QByteArray::fromHex("010D"));
    ASSERT_TRUE(line.waitForBytes(1000));
    QByteArray got = line.read(10);
    while (got.size() < 2 && line.waitForBytes(200)) {
        got += line.read(10);
    }
    EXPECT_EQ(got, QByteArray::fromHex("010D"));

    EXPECT_EQ(line.write(QByteArray(20, '\x55')), 20);
    EXPECT_EQ(pty.receive(20), QByteArray(20, '\x55'));
    line.close();
    EXPECT_FALSE(line.isOpen());
}

TEST(SystemSerialLine, PortThatFailsWhileOpenThrowsFromThenOn) {
    PseudoTerminal pty;
    if (pty.device().isEmpty()) {
        GTEST_SKIP() << "no pseudo terminals here";
    }
    SystemSerialLine line(pty.device(), QStringLiteral("COM5"));
    ASSERT_TRUE(line.open()) << line.errorString().toStdString();
    pty.hangUp();
    EXPECT_THROW(line.waitForBytes(100), PortError);
    EXPECT_THROW(line.bytesWaiting(), PortError);
    EXPECT_THROW(line.write("x"), PortError);
    line.close();
    EXPECT_FALSE(line.open());
}

}  // namespace
}  // namespace dorodure
