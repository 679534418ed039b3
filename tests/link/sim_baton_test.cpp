// The baton's command interpreter: exact reply frames and what each command
// does to the baton's memory and clock.

#include "link/sim/baton.h"
#include "link/sim/sim_bytes.h"

#include <gtest/gtest.h>

namespace dorodure::sim {
namespace {

const QDateTime kPcNow(QDate(2009, 5, 12), QTime(14, 3, 22));

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

BatonSetup twoRecordBaton(const char* id = "Ziru0123") {
    BatonSetup setup;
    setup.idText = id;
    setup.version = 0x1905;
    setup.delay = 7;
    setup.banks[1] = {BatonRecord{0x123456, 0x05, 0x12, 0x14, 0x03, 0},
                      BatonRecord{0x0000A1, 0x05, 0x12, 0x14, 0x09, 0}};
    return setup;
}

TEST(SimBytes, CrcAndBcd) {
    EXPECT_EQ(crc8(hex("01")), 0x5E);
    EXPECT_EQ(crc8(hex("03")), 0xE2);
    EXPECT_EQ(crc8(hex("0D")), 0xFD);
    EXPECT_EQ(crc8(hex("33")), 0x5C);
    EXPECT_EQ(withCrc(hex("0B02000808")), hex("0B02000808C3"));
    EXPECT_EQ(withCrc(hex("0741313233")), hex("0741313233AB"));
    EXPECT_EQ(crc8(hex("0520090512140322 0248")), 0);
    EXPECT_EQ(toBcd(45), 0x45);
    EXPECT_EQ(fromBcd(0x59), 59);
    EXPECT_EQ(fromBcd(0x5A), -1);
    EXPECT_EQ(batonSeconds(kPcNow), 0x4A0981ABu);
    EXPECT_EQ(fromBatonSeconds(0x4A0981AB), kPcNow);
}

TEST(SimBaton, IdentityAndBankSizeFrames) {
    Baton baton(twoRecordBaton(), kPcNow);
    EXPECT_EQ(baton.execute(hex("015E"), kPcNow), withCrc(hex("021905") + QByteArray("Ziru0123")));
    // Header + two records = 24 bytes.
    EXPECT_EQ(baton.execute(hex("09020E"), kPcNow), withCrc(hex("0A0018")));
    // An empty bank reports SH = 0x80.
    EXPECT_EQ(baton.execute(withCrc(hex("0900")), kPcNow), withCrc(hex("0A8008")));
}

TEST(SimBaton, StartReadingAcknowledgesThenEachNextPacketAdvances) {
    Baton baton(twoRecordBaton(), kPcNow);
    EXPECT_EQ(baton.execute(hex("0B02000808C3"), kPcNow), withCrc(hex("0C01")));
    EXPECT_EQ(baton.execute(hex("0DFD"), kPcNow), withCrc(hex("0E12345605121403 00")));
    EXPECT_EQ(baton.execute(hex("0DFD"), kPcNow), withCrc(hex("0E0000A105121409 00")));
    // From address 0 the first packet is the bank header.
    baton.execute(withCrc(hex("0B02000008")), kPcNow);
    EXPECT_EQ(baton.execute(hex("0DFD"), kPcNow),
              withCrc(QByteArray(1, '\x0E') + Baton::bankHeader(2)));
}

TEST(SimBaton, NextPacketBeforeAnyStartIsNotAnswered) {
    Baton baton(twoRecordBaton(), kPcNow);
    EXPECT_TRUE(baton.execute(hex("0DFD"), kPcNow).isEmpty());
}

TEST(SimBaton, BcdClockIsSetStoredAndRuns) {
    BatonSetup setup = twoRecordBaton();
    setup.clockOffsetSeconds = -3600;
    Baton baton(setup, kPcNow);
    EXPECT_EQ(baton.execute(hex("03E2"), kPcNow), withCrc(hex("04200905121303 22 07")));
    // The PC's frame for 14:03:22 on Tuesday 12 May 2009, sent a minute later.
    const QDateTime later = kPcNow.addSecs(60);
    EXPECT_EQ(baton.execute(hex("05200905121403220248"), later), withCrc(hex("0601")));
    EXPECT_EQ(baton.clockAt(later), kPcNow);
    EXPECT_EQ(baton.execute(hex("03E2"), later.addSecs(75)), withCrc(hex("04200905121404 37 07")));
}

TEST(SimBaton, SecondsClockIsSetStoredAndRuns) {
    Baton baton(twoRecordBaton("ZirC0001"), kPcNow.addDays(3));
    EXPECT_EQ(baton.clockModel(), ClockModel::Seconds);
    EXPECT_EQ(baton.execute(hex("35AB81094A28"), kPcNow), withCrc(hex("3601")));
    EXPECT_EQ(baton.clockAt(kPcNow), kPcNow);
    EXPECT_EQ(baton.execute(hex("335C"), kPcNow.addSecs(2)), withCrc(hex("34AD81094A")));
}

TEST(SimBaton, CommandsOfTheOtherClockModelAreIgnored) {
    Baton bcd(twoRecordBaton(), kPcNow);
    Baton seconds(twoRecordBaton("ZirC0001"), kPcNow);
    EXPECT_TRUE(bcd.execute(hex("335C"), kPcNow).isEmpty());
    EXPECT_TRUE(bcd.execute(hex("35AB81094A28"), kPcNow).isEmpty());
    EXPECT_TRUE(seconds.execute(hex("03E2"), kPcNow).isEmpty());
    EXPECT_TRUE(seconds.execute(hex("05200905121403220248"), kPcNow).isEmpty());
}

TEST(SimBaton, UnsetClockReportsTheNeverSetPattern) {
    BatonSetup setup = twoRecordBaton();
    setup.clockUnset = true;
    setup.delay = 0;
    Baton baton(setup, kPcNow);
    EXPECT_EQ(baton.execute(hex("03E2"), kPcNow), withCrc(hex("04FFFF1F3FFFFFFF00")));
    setup.idText = "ZirC0001";
    Baton seconds(setup, kPcNow);
    EXPECT_EQ(seconds.execute(hex("335C"), kPcNow), withCrc(hex("3400000000")));
}

TEST(SimBaton, InvalidDateIsRefused) {
    Baton baton(twoRecordBaton(), kPcNow);
    EXPECT_EQ(baton.execute(withCrc(hex("052009023014032202")), kPcNow), withCrc(hex("0600")));
    EXPECT_EQ(baton.clockAt(kPcNow), kPcNow);
}

TEST(SimBaton, SetIdKeepsTheModelTag) {
    Baton baton(twoRecordBaton(), kPcNow);
    EXPECT_EQ(baton.execute(hex("0741313233AB"), kPcNow), withCrc(hex("0801")));
    EXPECT_EQ(baton.idText(), QByteArray("ZiruA123"));
}

TEST(SimBaton, ClearingABankRecordsWhatWasCut) {
    Baton baton(twoRecordBaton(), kPcNow);
    EXPECT_EQ(baton.execute(hex("110200083A"), kPcNow), withCrc(hex("1201")));
    EXPECT_EQ(baton.bankSize(2), 8);
    EXPECT_TRUE(baton.records(2).empty());
    EXPECT_EQ(baton.clearedRecords(), twoRecordBaton().banks[1]);
    EXPECT_EQ(baton.execute(hex("09020E"), kPcNow), withCrc(hex("0A8008")));
}

TEST(SimBaton, RecordBlockWriteLandsInBankZero) {
    Baton baton(twoRecordBaton(), kPcNow);
    // Clear, pre-read from address 8, three records, end pointer 3 x 8 + 8.
    baton.execute(withCrc(hex("11000008")), kPcNow);
    EXPECT_EQ(
        baton.execute(hex("0B00000808") + QByteArray(1, char(crc8(hex("0B00000808")))), kPcNow),
        withCrc(hex("0C01")));
    for (const char* r : {"0000A1051222", "0000A2051222", "0000A3051222"}) {
        QByteArray frame = hex("0F") + hex(r) + hex("30");
        frame = withCrc(withCrc(frame));
        EXPECT_EQ(baton.execute(frame, kPcNow), withCrc(hex("1001")));
    }
    EXPECT_TRUE(baton.records(0).empty());  // invisible until the pointer moves
    EXPECT_EQ(baton.execute(hex("1100002094"), kPcNow), withCrc(hex("1201")));
    ASSERT_EQ(baton.records(0).size(), 3u);
    EXPECT_EQ(baton.records(0)[2], (BatonRecord{0x0000A3, 0x05, 0x12, 0x22, 0x30, 0}));
}

TEST(SimBaton, BadChecksumsAndRefusalsLeaveTheBatonAlone) {
    Baton baton(twoRecordBaton(), kPcNow);
    EXPECT_TRUE(baton.execute(hex("015F"), kPcNow).isEmpty());
    EXPECT_TRUE(baton.execute(hex("110200083B"), kPcNow).isEmpty());
    EXPECT_EQ(baton.execute(hex("110200083A"), kPcNow, true), withCrc(hex("1200")));
    EXPECT_EQ(baton.execute(hex("0741313233AB"), kPcNow, true), withCrc(hex("0800")));
    EXPECT_EQ(baton.bankSize(2), 24);
    EXPECT_EQ(baton.idText(), QByteArray("Ziru0123"));
}

}  // namespace
}  // namespace dorodure::sim
