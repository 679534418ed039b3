// Fault injection of the simulated station: every fault hits where it was
// asked to, and a seeded run repeats exactly.

#include "link/sim/sim_bytes.h"
#include "link/sim/simulated_station.h"
#include "shell/clock.h"

#include <gtest/gtest.h>

namespace dorodure::sim {
namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

BatonSetup fourRecords() {
    BatonSetup setup;
    setup.idText = "ZIRU0042";
    for (std::uint8_t m = 0; m < 4; ++m) {
        setup.banks[7].push_back(BatonRecord{0x0000A1u + m, 0x05, 0x12, 0x22, m, 0});
    }
    return setup;
}

// The PC side: greets the baton and exchanges frames, skipping the echo.
struct Pc {
    ManualClock clock;
    SimulatedStation station{clock};

    void start(const BatonSetup& setup, const FaultPlan& faults) {
        station.place(setup, faults);
        ASSERT_TRUE(station.open());
        station.setDtr(false);  // no echo: replies only
        ASSERT_EQ(take(2, 2000), hex("010D"));
        station.write(QByteArray(20, '\x55'));
    }
    QByteArray take(int n, qint64 timeoutMs = 300) {
        QByteArray got;
        while (got.size() < n && station.waitForBytes(timeoutMs)) {
            got += station.read(n - got.size());
        }
        return got;
    }
    QByteArray ask(const QByteArray& frame, int replyLength) {
        station.write(frame);
        return take(replyLength);
    }
    // 0B for bank 14 from address 8, then n packets.
    std::vector<QByteArray> download(int n) {
        ask(withCrc(hex("0B0E000808")), 3);
        std::vector<QByteArray> packets;
        for (int i = 0; i < n; ++i) {
            packets.push_back(ask(hex("0DFD"), 10));
        }
        return packets;
    }
};

TEST(SimFaults, BatonLiftedOffAfterPacketK) {
    Pc pc;
    pc.start(fourRecords(), FaultPlan{.removeAfterPacket = 2});
    const auto packets = pc.download(3);
    EXPECT_EQ(packets[0].size(), 10);
    EXPECT_EQ(packets[1].size(), 10);
    EXPECT_TRUE(packets[2].isEmpty());
    EXPECT_FALSE(pc.station.batonPresent());
}

TEST(SimFaults, BatonLiftedOffAfterNBytesCutsTheReply) {
    Pc pc;
    pc.start(fourRecords(), FaultPlan{.removeAfterBytes = 5});
    EXPECT_EQ(pc.ask(hex("015E"), 12), withCrc(hex("021905") + "ZIRU0042").left(5));
    EXPECT_FALSE(pc.station.batonPresent());
}

TEST(SimFaults, ChosenRepliesCarryBadChecksums) {
    Pc pc;
    pc.start(fourRecords(), FaultPlan{.corrupt = {CorruptReply{0x0E, 2, 2}}});
    const auto packets = pc.download(4);
    std::vector<bool> good;
    for (const QByteArray& p : packets) {
        good.push_back(crc8(p) == 0);
    }
    EXPECT_EQ(good, (std::vector<bool>{true, false, false, true}));
}

TEST(SimFaults, RefusedAcknowledgementsLeaveTheBankAlone) {
    Pc pc;
    pc.start(fourRecords(), FaultPlan{.refuse = {RefuseCommand{0x11, 2}}});
    const QByteArray clear = withCrc(hex("110E0008"));
    EXPECT_EQ(pc.ask(clear, 3), withCrc(hex("1200")));
    EXPECT_EQ(pc.ask(clear, 3), withCrc(hex("1200")));
    EXPECT_EQ(pc.station.baton()->bankSize(14), 40);
    EXPECT_EQ(pc.ask(clear, 3), withCrc(hex("1201")));
    EXPECT_EQ(pc.station.baton()->bankSize(14), 8);
    EXPECT_EQ(pc.station.clearedRecords(), fourRecords().banks[7]);
}

TEST(SimFaults, NumberedBytesAreLost) {
    Pc pc;
    pc.start(fourRecords(), FaultPlan{.lostBytes = {3}});
    const QByteArray full = withCrc(hex("021905") + "ZIRU0042");
    EXPECT_EQ(pc.ask(hex("015E"), 12), full.left(2) + full.mid(3));
}

TEST(SimFaults, SilentBatonNeverGreets) {
    Pc pc;
    pc.station.place(fourRecords(), FaultPlan{.silent = true});
    ASSERT_TRUE(pc.station.open());
    EXPECT_FALSE(pc.station.waitForBytes(5000));
}

// The bytes a whole download brings with random noise and losses.
QByteArray run(std::uint32_t seed, double noise = 0.5, double loss = 0.1) {
    Pc pc;
    pc.start(fourRecords(), FaultPlan{.seed = seed, .noiseRate = noise, .lossRate = loss});
    QByteArray all = pc.ask(hex("015E"), 12);
    for (const QByteArray& p : pc.download(4)) {
        all += p;
    }
    return all;
}

TEST(SimFaults, RandomFaultsRepeatWithTheSeed) {
    const QByteArray first = run(7);
    EXPECT_EQ(run(7), first);
    EXPECT_NE(run(8), first);
    EXPECT_NE(run(7, 0, 0), first);
    EXPECT_EQ(run(7, 0, 0), run(8, 0, 0));
}

TEST(SimFaults, UnpluggedPortThrowsUntilPluggedBackAndReopened) {
    Pc pc;
    pc.start(fourRecords(), FaultPlan{.unplugAfterPacket = 1, .replugAfterMs = 2000});
    EXPECT_EQ(pc.download(1).at(0).size(), 10);  // the packet itself arrives
    EXPECT_THROW(pc.station.waitForBytes(100), PortError);
    EXPECT_THROW(pc.station.write(hex("0DFD")), PortError);
    EXPECT_THROW(pc.station.bytesWaiting(), PortError);
    EXPECT_THROW(pc.station.setDtr(true), PortError);
    pc.station.close();
    EXPECT_FALSE(pc.station.open());
    pc.clock.advance(1990);
    EXPECT_FALSE(pc.station.open());
    pc.clock.advance(20);
    ASSERT_TRUE(pc.station.open());
    // The baton is still there and greets again.
    EXPECT_EQ(pc.take(2, 2000), hex("010D"));
}

TEST(SimFaults, ManualUnplugAndPlugIn) {
    Pc pc;
    ASSERT_TRUE(pc.station.open());
    pc.station.unplug();
    EXPECT_THROW(pc.station.waitForBytes(10), PortError);
    pc.station.plugIn();
    EXPECT_THROW(pc.station.read(1), PortError);  // the old handle stays dead
    pc.station.close();
    EXPECT_TRUE(pc.station.open());
    EXPECT_NO_THROW(pc.station.write("x"));
}

}  // namespace
}  // namespace dorodure::sim
