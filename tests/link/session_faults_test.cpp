// Sessions that break off: nothing a baton cleared is ever lost or processed
// twice, and the session always comes back to the look for a baton.
#include "link/frames.h"
#include "link_fixture.h"

#include <QDir>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

using test::batonWith;
using test::LinkFixture;

struct FaultTest : ::testing::Test {
    LinkFixture fx;
    void SetUp() override {
        fx.addStation(1);
        fx.start();
    }
};

TEST_F(FaultTest, BatonRemovedMidDownloadIsAskedFiveMoreTimesThenGivenUp) {
    sim::FaultPlan faults;
    faults.removeAfterPacket = 4 + 1 + 3;  // bank 14 whole, bank 12 header and 3 records
    fx.station->place(batonWith("ZIRU0001", {{14, 3}, {12, 10}}), faults);
    ASSERT_TRUE(fx.runUntil([&] { return !fx.station->batonPresent(); }));
    const qint64 removedAt = fx.lastEvent(sim::LineEvent::Kind::Removed);
    ASSERT_TRUE(fx.runUntil([&] { return fx.idle(); }));
    std::vector<qint64> restarts;
    std::vector<QByteArray> after;
    for (const auto& [tick, frame] : fx.pcFrames(removedAt)) {
        if (frame == frames::startReading(12, 4 * 8)) {
            restarts.push_back(tick);
        } else if (frame.at(0) == 0x09) {
            after.push_back(frame);
        }
    }
    ASSERT_EQ(restarts.size(), 5u);
    for (std::size_t i = 1; i < restarts.size(); ++i) {
        EXPECT_NEAR(double(restarts[i] - restarts[i - 1]), 2000.0, 50.0);
    }
    // Then the next bank is asked for, in vain.
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after.front(), frames::readBankSize(10));
    // Bank 14 was cleared; bank 12's partial records are not kept.
    const QStringList raw = test::readCrlfLines(fx.rawPath());
    EXPECT_EQ(raw.size(), 1 + 3);
    EXPECT_EQ(fx.host.doRawCalls, 0);
}

TEST_F(FaultTest, UnprocessedUploadIsProcessedBeforeTheNextOneStarts) {
    sim::FaultPlan faults;
    faults.removeAfterPacket = 4 + 2;  // bank 2 whole, then bank 0's header and a record
    ASSERT_TRUE(fx.uploadFaulty(batonWith("Ziru0001", {{2, 3}, {0, 4}}), faults));
    EXPECT_EQ(fx.host.doRawCalls, 0);
    ASSERT_TRUE(fx.uploadOne(batonWith("Ziru0002", {{2, 2}})));
    ASSERT_EQ(fx.host.batons,
              (QStringList{QStringLiteral("Id : Ziru0001"), QStringLiteral("Id : Ziru0002")}));
    EXPECT_EQ(fx.processedKeys().size(), 3 + 2);
    EXPECT_EQ(fx.checkNothingLost().toStdString(), "");
}

TEST_F(FaultTest, PortUnpluggedDuringASessionIsFoundAgainAndUploadsResume) {
    sim::FaultPlan faults;
    faults.unplugAfterPacket = 4 + 2;
    faults.replugAfterMs = 3000;
    ASSERT_TRUE(fx.uploadFaulty(batonWith("Ziru0001", {{2, 3}, {0, 4}}), faults));
    EXPECT_TRUE(fx.session->portReady());
    ASSERT_TRUE(fx.uploadOne(batonWith("Ziru0002", {{2, 2}})));
    EXPECT_EQ(fx.checkNothingLost().toStdString(), "");
    EXPECT_GE(fx.host.doRawCalls, 2);
}

TEST_F(FaultTest, WriteFailureLeavesTheBankOnTheBaton) {
    // Raw.txt cannot be created: a folder stands in its place.
    QDir(fx.folder.path()).mkdir(QStringLiteral("Raw.txt"));
    ASSERT_TRUE(fx.uploadFaulty(batonWith("Ziru0001", {{2, 3}}), {}));
    EXPECT_TRUE(fx.clearedKeys().isEmpty());
    EXPECT_EQ(fx.host.doRawCalls, 0);
    EXPECT_EQ(fx.station->removedBatons().back().records(2).size(), 3u);
}

// Where a session breaks off: after one, two or all banks were cleared.
struct BreakCase {
    const char* name;
    int packet;  // the 0E packet after which the fault strikes
};

// A baton with banks 14, 12 and 10: packets 1-4, 5-7 and 8-10 (headers at 1, 5, 8).
const BreakCase kBreaks[] = {
    {"after one bank", 6},
    {"after two banks", 9},
    {"after all banks", 10},
};

enum class Kind { Removed, Unplugged, GivenUp };

sim::FaultPlan planFor(Kind kind, int packet) {
    sim::FaultPlan plan;
    switch (kind) {
        case Kind::Removed:
            plan.removeAfterPacket = packet;
            break;
        case Kind::Unplugged:
            plan.unplugAfterPacket = packet;
            plan.replugAfterMs = 2500;
            break;
        case Kind::GivenUp:
            plan.corrupt.push_back({0x0E, packet + 1, 1000});
            break;
    }
    return plan;
}

TEST_F(FaultTest, InterruptedUploadsLoseNothing) {
    const Kind kinds[] = {Kind::Removed, Kind::Unplugged, Kind::GivenUp};
    for (Kind kind : kinds) {
        for (const BreakCase& b : kBreaks) {
            SCOPED_TRACE(std::string(b.name) + " kind " + std::to_string(int(kind)));
            LinkFixture run;
            run.addStation(1);
            run.start();
            const auto baton = batonWith("ZIRU0001", {{14, 3}, {12, 2}, {10, 2}});
            ASSERT_TRUE(run.uploadFaulty(baton, planFor(kind, b.packet)));
            ASSERT_TRUE(run.uploadOne(batonWith("ZIRU0002", {{14, 2}}), {}, 300));
            EXPECT_EQ(run.checkNothingLost().toStdString(), "");
            EXPECT_GE(run.clearedKeys().size(), 2 + (b.packet >= 6 ? 3 : 0));
            EXPECT_TRUE(run.idle());
        }
    }
}

// Many faults at many points of a session, each followed by a clean baton.
TEST_F(FaultTest, FaultMatrix) {
    const auto baton = batonWith("ZIRU0001", {{14, 3}, {12, 2}, {2, 2}});
    std::vector<std::pair<std::string, sim::FaultPlan>> plans;
    for (int packet = 1; packet <= 10; ++packet) {
        sim::FaultPlan removed;
        removed.removeAfterPacket = packet;
        plans.emplace_back("remove after packet " + std::to_string(packet), removed);
        sim::FaultPlan unplugged;
        unplugged.unplugAfterPacket = packet;
        unplugged.replugAfterMs = 1500;
        plans.emplace_back("unplug after packet " + std::to_string(packet), unplugged);
        sim::FaultPlan corrupt;
        corrupt.corrupt.push_back({0x0E, packet, 2});
        plans.emplace_back("corrupt packets from " + std::to_string(packet), corrupt);
    }
    for (int bytes : {3, 20, 40, 70, 100}) {
        sim::FaultPlan removed;
        removed.removeAfterBytes = bytes;
        plans.emplace_back("remove after byte " + std::to_string(bytes), removed);
    }
    for (int lost : {5, 17, 30, 44, 61}) {
        sim::FaultPlan plan;
        plan.lostBytes = {lost, lost + 1};
        plans.emplace_back("bytes lost from " + std::to_string(lost), plan);
    }
    for (std::uint8_t code : {0x06, 0x0A, 0x0C, 0x12, 0x02}) {
        sim::FaultPlan corrupt;
        corrupt.corrupt.push_back({code, 1, 1});
        plans.emplace_back("corrupt reply " + std::to_string(code), corrupt);
    }
    for (std::uint8_t command : {0x05, 0x0B, 0x11}) {
        sim::FaultPlan refused;
        refused.refuse.push_back({command, 2});
        plans.emplace_back("refuse command " + std::to_string(command), refused);
    }
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        sim::FaultPlan noisy;
        noisy.seed = seed;
        noisy.noiseRate = 0.2;
        noisy.lossRate = 0.01;
        plans.emplace_back("noise and loss seed " + std::to_string(seed), noisy);
    }
    for (const auto& [name, plan] : plans) {
        SCOPED_TRACE(name);
        LinkFixture run;
        run.addStation(1);
        run.start();
        ASSERT_TRUE(run.uploadFaulty(baton, plan));
        ASSERT_TRUE(run.uploadOne(batonWith("ZIRU0002", {{14, 1}}), {}, 300));
        EXPECT_EQ(run.checkNothingLost().toStdString(), "");
        EXPECT_TRUE(run.idle());
    }
}

}  // namespace
}  // namespace dorodure
