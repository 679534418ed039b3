// The network line against a real RFC 2217 server (pyserial's PortManager)
// that drives a simulated upload station.
#include "link/rfc2217_line.h"
#include "link/sim/simulated_station.h"
#include "rfc2217/station_bridge.h"
#include "shell/clock.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace dorodure {
namespace {

using test::Rfc2217Server;
using test::StationBridge;

// Lists compared as text, so that a failure shows them readably.
std::string joined(const QStringList& list) {
    return list.join(QStringLiteral(" | ")).toStdString();
}

bool waitUntil(const std::function<bool()>& pred, int timeoutMs = 5000) {
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

// Reads from the line until count bytes came or the time is up.
QByteArray readBytes(SerialLine& line, qsizetype count, int timeoutMs = 3000) {
    QByteArray got;
    QElapsedTimer timer;
    timer.start();
    while (got.size() < count && timer.elapsed() < timeoutMs) {
        line.waitForBytes(20);
        got += line.read(line.bytesWaiting());
    }
    return got;
}

struct Rfc2217ServerTest : ::testing::Test {
    SystemClock clock;
    std::shared_ptr<sim::SimulatedStation> station = std::make_shared<sim::SimulatedStation>(clock);
    std::unique_ptr<StationBridge> bridge;
    std::unique_ptr<Rfc2217Server> server;

    void SetUp() override {
        const QString python = test::pythonWithPyserial();
        if (python.isEmpty()) {
            GTEST_SKIP() << "python3-serial is not installed";
        }
        bridge = std::make_unique<StationBridge>(station);
        server = std::make_unique<Rfc2217Server>(python, bridge->port());
        ASSERT_TRUE(server->start());
    }
};

TEST_F(Rfc2217ServerTest, OpenSetsTheStationLineAndNeverRaisesRts) {
    Rfc2217Line line(server->address());
    ASSERT_TRUE(line.open()) << line.errorString().toStdString();
    const QStringList want = {
        QStringLiteral("baudrate=9600"), QStringLiteral("bytesize=8"),
        QStringLiteral("parity=N"),      QStringLiteral("stopbits=2"),
        QStringLiteral("xonxoff=False"), QStringLiteral("rtscts=False"),
        QStringLiteral("rts=False"),     QStringLiteral("dtr=False"),
    };
    EXPECT_TRUE(waitUntil([&] { return bridge->settings().size() >= want.size(); }));
    EXPECT_EQ(joined(bridge->settings()), joined(want));
    // The server acknowledged what it set; the line read the answers.
    EXPECT_TRUE(waitUntil([&] {
        for (const rfc2217::ServerMessage& m : line.takeServerMessages()) {
            if (m.command == rfc2217::comport::kServerOffset + rfc2217::comport::kSetBaudRate) {
                return m.value == QByteArray::fromHex("00002580");
            }
        }
        return false;
    }));
}

// What port discovery relies on: an echo with DTR on, silence with DTR off.
TEST_F(Rfc2217ServerTest, StationEchoFollowsDtr) {
    Rfc2217Line line(server->address());
    ASSERT_TRUE(line.open()) << line.errorString().toStdString();
    line.setDtr(true);
    EXPECT_EQ(line.write("Emty"), 4);
    EXPECT_EQ(readBytes(line, 4), QByteArray("Emty"));

    line.setDtr(false);
    line.write("Emty");
    EXPECT_FALSE(line.waitForBytes(300));
    EXPECT_EQ(line.bytesWaiting(), 0);
    EXPECT_EQ(joined(bridge->lineSignals()), "DTR off | DTR on | DTR off");
}

TEST_F(Rfc2217ServerTest, EveryByteValuePassesBothWays) {
    Rfc2217Line line(server->address());
    ASSERT_TRUE(line.open()) << line.errorString().toStdString();
    QByteArray all;
    for (int b = 0; b < 256; ++b) {
        all.append(char(b));
    }
    all += QByteArray::fromHex("ffff fffa fff0 ff");
    line.setDtr(true);
    line.write(all);
    EXPECT_EQ(readBytes(line, all.size()).toHex(), all.toHex());
    EXPECT_EQ(station->bytesFromPc().toHex(), all.toHex());

    // Bytes the station sends on its own, with Telnet-looking sequences.
    const QByteArray noise = QByteArray::fromHex("01ff0dfffb2cfffa");
    station->injectBytes(noise);
    EXPECT_EQ(readBytes(line, noise.size()).toHex(), noise.toHex());
}

TEST_F(Rfc2217ServerTest, LostServerIsAPortErrorUntilReopened) {
    Rfc2217Line line(server->address());
    ASSERT_TRUE(line.open()) << line.errorString().toStdString();
    const quint16 port = server->port();
    server->kill();

    EXPECT_THROW(line.waitForBytes(2000), PortError);
    // Every later call reports it too, as an unplugged adapter does.
    EXPECT_THROW(line.bytesWaiting(), PortError);
    EXPECT_THROW(line.setDtr(true), PortError);
    EXPECT_THROW(line.write("Emty"), PortError);
    EXPECT_TRUE(line.isOpen());
    line.close();
    EXPECT_FALSE(line.isOpen());

    EXPECT_FALSE(line.open());
    EXPECT_FALSE(line.errorString().isEmpty());

    ASSERT_TRUE(server->start(port));
    ASSERT_TRUE(line.open()) << line.errorString().toStdString();
    line.setDtr(true);
    line.write("Emty");
    EXPECT_EQ(readBytes(line, 4), QByteArray("Emty"));
}

}  // namespace
}  // namespace dorodure
