// Programming requests served by whole sessions: baton ids, auto-increment,
// and the record block written to bank 0.
#include "link/frames.h"
#include "link_fixture.h"

#include <gtest/gtest.h>

namespace dorodure {
namespace {

using test::batonWith;
using test::LinkFixture;

QByteArray hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

struct RequestsTest : ::testing::Test {
    LinkFixture fx;
    void SetUp() override {
        fx.addStation(1);
        fx.start();
    }
    // The frames the PC sent with a command byte, from tick `since` on.
    std::vector<QByteArray> sent(std::uint8_t command, qint64 since = 0) const {
        std::vector<QByteArray> out;
        for (const auto& [tick, frame] : fx.pcFrames(since)) {
            if (std::uint8_t(frame.at(0)) == command) {
                out.push_back(frame);
            }
        }
        return out;
    }
};

TEST_F(RequestsTest, NewIdIsGivenRightAfterTheClockAndReadBack) {
    fx.requests.requestId(QStringLiteral("A123"), false);
    ASSERT_TRUE(fx.uploadOne(batonWith("Ziru0123", {{2, 1}})));
    QStringList order;
    for (const auto& [tick, frame] : fx.pcFrames()) {
        order << QString::fromLatin1(frame.left(1).toHex().toUpper());
    }
    const QString joined = order.join(QLatin1Char(' '));
    // Identity, clock, id, identity again, clock again, then the banks.
    EXPECT_TRUE(joined.contains(QStringLiteral("01 05 07 01 05 09"))) << joined.toStdString();
    ASSERT_EQ(sent(0x07).size(), 1u);
    EXPECT_EQ(sent(0x07).front(), hex("07 41 31 32 33 AB"));
    EXPECT_TRUE(fx.requests.pendingId().isEmpty());
    EXPECT_EQ(fx.station->removedBatons().back().idText(), QByteArray("ZiruA123"));
    EXPECT_EQ(fx.host.batons, QStringList{QStringLiteral("Id : ZiruA123")});
}

TEST_F(RequestsTest, RefusedIdWaitsInState220ThenStartsOver) {
    fx.requests.requestId(QStringLiteral("0007"), false);
    sim::FaultPlan faults;
    faults.refuse.push_back({0x07, 1});
    fx.station->place(batonWith("Ziru0123", {{2, 1}}), faults);
    ASSERT_TRUE(fx.runUntil([&] { return fx.session->currentState() == 220; }));
    const qint64 refusedAt = fx.clock.tickMs();
    ASSERT_TRUE(fx.runUntil([&] { return fx.session->currentState() != 220; }, 10000));
    const qint64 stuck = fx.clock.tickMs() - refusedAt;
    EXPECT_GE(stuck, UploadSession::kStuckStateMs);
    EXPECT_LT(stuck, UploadSession::kStuckStateMs + 1500);
    EXPECT_EQ(fx.requests.pendingId(), QStringLiteral("0007"));
    // The request stays and the next pass over the baton gives the id.
    ASSERT_TRUE(fx.runUntil([&] { return fx.requests.pendingId().isEmpty(); }, 20000));
    EXPECT_EQ(fx.station->baton()->idText(), QByteArray("Ziru0007"));
}

TEST_F(RequestsTest, AutoIncrementGivesConsecutiveIds) {
    fx.requests.requestId(QStringLiteral("0041"), true);
    ASSERT_TRUE(fx.uploadOne(batonWith("Ziru0001", {{2, 1}})));
    fx.runFor(1000);
    EXPECT_EQ(fx.requests.pendingId(), QStringLiteral("0042"));
    EXPECT_EQ(fx.requests.idEntry(), QStringLiteral("0042"));
    EXPECT_EQ(fx.display.snapshot().lblIDColour, DisplaySnapshot::Colour::Blue);
    ASSERT_TRUE(fx.uploadOne(batonWith("Ziru0002", {{2, 1}})));
    const auto ids = sent(0x07);
    ASSERT_EQ(ids.size(), 2u);
    EXPECT_EQ(ids[0].mid(1, 4), QByteArray("0041"));
    EXPECT_EQ(ids[1].mid(1, 4), QByteArray("0042"));
}

TEST_F(RequestsTest, AutoIncrementSwitchesOffForALetterId) {
    fx.requests.requestId(QStringLiteral("A123"), true);
    ASSERT_TRUE(fx.uploadOne(batonWith("Ziru0001", {{2, 1}})));
    ASSERT_TRUE(fx.uploadOne(batonWith("Ziru0002", {{2, 1}})));
    fx.runFor(1000);
    EXPECT_FALSE(fx.requests.autoIncrement());
    EXPECT_EQ(sent(0x07).size(), 1u);
    EXPECT_EQ(fx.display.snapshot().lblIDColour, DisplaySnapshot::Colour::WindowText);
}

TEST_F(RequestsTest, RecordBlockIsWrittenAfterTheUpload) {
    SettingsValues v = fx.settings.values();
    v.clearDorodureMemory = false;  // a pending block still clears every bank
    fx.settings.setValues(v);
    const std::vector<BatonRequests::Record> block = {
        {0x00, 0x00, 0xB1, 0x05, 0x12, 0x22, 0x00},
        {0x00, 0x00, 0xB2, 0x05, 0x12, 0x22, 0x30},
        {0x00, 0x00, 0xB3, 0x05, 0x12, 0x23, 0x00},
    };
    fx.requests.queueBlock(block);
    ASSERT_TRUE(fx.uploadOne(batonWith("Ziru0123", {{2, 2}})));
    EXPECT_EQ(fx.host.doRawCalls, 1);
    EXPECT_EQ(fx.clearedKeys().size(), 2);
    const auto reads = sent(0x0B);
    ASSERT_FALSE(reads.empty());
    EXPECT_EQ(reads.back(), frames::startReading(0, 8));
    const auto writes = sent(0x0F);
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[1], frames::writeRecord(block[1]));
    EXPECT_EQ(sent(0x11).back(), hex("11 00 00 20 94"));
    EXPECT_FALSE(fx.requests.writePending());
    EXPECT_EQ(test::readBytes(fx.rawPath()), QByteArray("Done"));
    const auto written = fx.station->removedBatons().back().records(0);
    ASSERT_EQ(written.size(), 3u);
    EXPECT_EQ(written[2].buttonId, 0xB3u);
}

TEST_F(RequestsTest, BlockWriteBrokenOffIsRepeatedWithTheNextBaton) {
    fx.requests.queueBlock(
        {{0x00, 0x00, 0xB1, 0x05, 0x12, 0x22, 0x00}, {0x00, 0x00, 0xB2, 0x05, 0x12, 0x22, 0x30}});
    // The first baton leaves after the first record was written.
    fx.station->place(batonWith("Ziru0001", {}));
    ASSERT_TRUE(fx.runUntil([&] { return !sent(0x0F).empty(); }));
    fx.station->remove();
    ASSERT_TRUE(fx.runUntil([&] { return fx.session->currentState() == 10; }));
    EXPECT_TRUE(fx.requests.writePending());
    ASSERT_TRUE(fx.uploadOne(batonWith("Ziru0002", {})));
    EXPECT_FALSE(fx.requests.writePending());
    EXPECT_EQ(fx.station->removedBatons().back().records(0).size(), 2u);
    // The first baton never got its end pointer; the second got the whole block.
    EXPECT_EQ(sent(0x11).size(), 1u);
    EXPECT_EQ(fx.station->removedBatons().front().records(0).size(), 0u);
}

}  // namespace
}  // namespace dorodure
