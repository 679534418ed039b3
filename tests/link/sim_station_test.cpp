// The simulated station as a serial line: echo under DTR, the greeting and its
// answer, BREAK, virtual and real time, the log.

#include "link/sim/sim_bytes.h"
#include "link/sim/simulated_station.h"
#include "shell/clock.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace dorodure::sim {
namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

// Reads until n bytes came or the line stayed silent for timeoutMs.
QByteArray readBytes(SerialLine& line, int n, qint64 timeoutMs = 500) {
    QByteArray got;
    while (got.size() < n && line.waitForBytes(timeoutMs)) {
        got += line.read(n - got.size());
    }
    return got;
}

BatonSetup ziru() {
    BatonSetup setup;
    setup.idText = "Ziru0123";
    setup.banks[1] = {BatonRecord{0x123456, 0x05, 0x12, 0x14, 0x03, 0}};
    return setup;
}

struct SimStation : ::testing::Test {
    ManualClock clock;
    SimulatedStation station{clock};

    // Opens with echo on and brings a placed baton to listening.
    void openAndGreet() {
        ASSERT_TRUE(station.open());
        station.setDtr(true);
        ASSERT_EQ(readBytes(station, 2, 2000), hex("010D"));
        station.write(QByteArray(20, '\x55'));
        ASSERT_EQ(readBytes(station, 20), QByteArray(20, '\x55'));
    }
};

TEST_F(SimStation, EchoesOnlyWhileDtrIsOn) {
    ASSERT_TRUE(station.open());
    station.setDtr(true);
    station.write("Emty");
    EXPECT_EQ(readBytes(station, 4, 50), QByteArray("Emty"));
    station.setDtr(false);
    station.write("Emty");
    EXPECT_FALSE(station.waitForBytes(50));
    EXPECT_EQ(station.bytesWaiting(), 0);
}

TEST(SimStationEcho, LoopBackEchoesRegardlessOfDtrAndDeadPortNever) {
    ManualClock clock;
    SimulatedStation loop(clock, StationOptions{.echo = EchoMode::Always});
    SimulatedStation dead(clock, StationOptions{.echo = EchoMode::Never});
    for (SimulatedStation* s : {&loop, &dead}) {
        ASSERT_TRUE(s->open());
        s->setDtr(false);
        s->write("Emty");
    }
    EXPECT_EQ(readBytes(loop, 4, 50), QByteArray("Emty"));
    dead.setDtr(true);
    dead.write("Emty");
    EXPECT_FALSE(dead.waitForBytes(50));
}

TEST(SimStationOpen, MissingPortDoesNotOpen) {
    ManualClock clock;
    SimulatedStation station(clock, StationOptions{.present = false});
    EXPECT_FALSE(station.open());
    EXPECT_FALSE(station.errorString().isEmpty());
}

TEST_F(SimStation, WaitAdvancesVirtualTimeToTheGreeting) {
    ASSERT_TRUE(station.open());
    station.place(ziru());
    const qint64 start = clock.tickMs();
    EXPECT_FALSE(station.waitForBytes(60));
    EXPECT_EQ(clock.tickMs(), start + 60);
    EXPECT_TRUE(station.waitForBytes(1000));
    EXPECT_EQ(clock.tickMs(), start + 100);
    EXPECT_EQ(station.read(10), hex("010D"));
    // Unanswered, it greets again a second later.
    EXPECT_TRUE(station.waitForBytes(5000));
    EXPECT_EQ(clock.tickMs(), start + 1100);
}

TEST_F(SimStation, BreakHoldsTheGreetingBackUntilItDrops) {
    ASSERT_TRUE(station.open());
    station.setBreak(true);
    station.place(ziru());
    EXPECT_FALSE(station.waitForBytes(3000));
    station.setBreak(false);
    const qint64 dropped = clock.tickMs();
    EXPECT_EQ(readBytes(station, 2), hex("010D"));
    EXPECT_EQ(clock.tickMs(), dropped + 100);
}

TEST_F(SimStation, AnsweredBatonTakesCommandsAndStopsGreeting) {
    station.place(ziru());
    openAndGreet();
    EXPECT_FALSE(station.waitForBytes(3000));  // no further greeting
    station.write(hex("015E"));
    EXPECT_EQ(readBytes(station, 14), hex("015E") + withCrc(hex("021905") + "Ziru0123"));
    station.write(hex("09020E"));
    EXPECT_EQ(readBytes(station, 7), hex("09020E") + withCrc(hex("0A0010")));
    ASSERT_EQ(station.commands().size(), 2u);
    EXPECT_EQ(station.commands()[1], hex("09020E"));
}

TEST_F(SimStation, CommandsBeforeTheAnswerAreNotTaken) {
    station.place(ziru());
    ASSERT_TRUE(station.open());
    station.setDtr(true);
    ASSERT_EQ(readBytes(station, 2, 2000), hex("010D"));
    station.write(hex("015E"));
    EXPECT_EQ(readBytes(station, 20, 300), hex("015E"));
    EXPECT_TRUE(station.commands().empty());
}

TEST_F(SimStation, BreakSendsAListeningBatonBackToGreeting) {
    station.place(ziru());
    openAndGreet();
    station.setBreak(true);
    station.setBreak(false);
    station.write(hex("015E"));  // not taken: the baton greets first
    EXPECT_EQ(readBytes(station, 4, 500), hex("015E010D"));
}

TEST_F(SimStation, LogKeepsLineChangesAndBytesInOrder) {
    ASSERT_TRUE(station.open());
    station.setDtr(true);
    clock.advance(5);
    station.setBreak(true);
    station.setBreak(false);
    station.setDtr(false);
    station.write(hex("015E"));
    std::vector<std::pair<LineEvent::Kind, bool>> seen;
    for (const LineEvent& e : station.log()) {
        seen.emplace_back(e.kind, e.on);
    }
    using K = LineEvent::Kind;
    const std::vector<std::pair<K, bool>> expected{{K::Open, false}, {K::Dtr, true},
                                                   {K::Break, true}, {K::Break, false},
                                                   {K::Dtr, false},  {K::FromPc, false}};
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(station.log()[2].tickMs, 5);
    EXPECT_EQ(station.bytesFromPc(), hex("015E"));
}

TEST(SimStationTiming, RealByteTimingInVirtualTime) {
    ManualClock clock;
    SimulatedStation station(clock, StationOptions{.realByteTiming = true, .responseDelayMs = 3});
    station.place(ziru());
    ASSERT_TRUE(station.open());
    station.setDtr(true);
    ASSERT_EQ(readBytes(station, 2, 2000), hex("010D"));
    station.write(QByteArray(20, '\x55'));
    readBytes(station, 20);
    const qint64 sent = clock.tickMs();
    station.write(hex("015E"));
    readBytes(station, 2);                // echo: 2 bytes out, then 1 byte back
    EXPECT_EQ(clock.tickMs() - sent, 4);  // 3 byte times = 3.4 ms, rounded up
    readBytes(station, 12);
    // Command done at 2.3 ms, 3 ms pause, then 12 bytes of 1.146 ms = 19.05 ms.
    EXPECT_EQ(clock.tickMs() - sent, 20);
}

TEST(SimStationTiming, RealClockBlocksAndWakesForABatonPlacedElsewhere) {
    SystemClock clock;
    SimulatedStation station(clock, StationOptions{.greetingDelayMs = 20});
    ASSERT_TRUE(station.open());
    // Timed from before the placing thread starts: at least its 30 ms sleep
    // and the 20 ms greeting delay pass before the greeting can arrive.
    const auto start = std::chrono::steady_clock::now();
    std::thread placer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        station.place(ziru());
    });
    const QByteArray hello = readBytes(station, 2, 2000);
    const auto took = std::chrono::steady_clock::now() - start;
    placer.join();
    EXPECT_EQ(hello, hex("010D"));
    EXPECT_GE(took, std::chrono::milliseconds(45));
    EXPECT_LT(took, std::chrono::milliseconds(1000));
}

TEST_F(SimStation, StationReportsReachThePc) {
    ASSERT_TRUE(station.open());
    station.touchButton(0x0FA501);
    station.reportVoltage(0x22, 0xFF);
    station.reportCalibration(0x7A);
    EXPECT_EQ(readBytes(station, 11),
              withCrc(hex("240FA501")) + withCrc(hex("22FF")) + withCrc(hex("557A")));
}

TEST_F(SimStation, RemovedBatonIsKeptForInspection) {
    station.place(ziru());
    openAndGreet();
    station.write(hex("110200083A"));
    readBytes(station, 8);
    station.remove();
    EXPECT_FALSE(station.batonPresent());
    ASSERT_EQ(station.removedBatons().size(), 1u);
    EXPECT_EQ(station.clearedRecords(), ziru().banks[1]);
    station.write(hex("015E"));
    EXPECT_EQ(readBytes(station, 14, 300), hex("015E"));
}

}  // namespace
}  // namespace dorodure::sim
