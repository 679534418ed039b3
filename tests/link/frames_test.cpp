#include "link/frames.h"
#include "link/rx_buffer.h"

#include <gtest/gtest.h>

namespace dorodure {
namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

TEST(Crc8Maxim, CheckValuesAndSelfCheck) {
    EXPECT_EQ(frames::crc8(hex("01")), 0x5E);
    EXPECT_EQ(frames::crc8(hex("03")), 0xE2);
    EXPECT_EQ(frames::crc8(hex("0D")), 0xFD);
    EXPECT_EQ(frames::crc8(hex("33")), 0x5C);
    EXPECT_EQ(frames::crc8(QByteArray()), 0x00);
    // A frame including its own correct checksum gives 0.
    EXPECT_EQ(frames::crc8(hex("0B02000808C3")), 0x00);
    EXPECT_TRUE(frames::checkAt(hex("0B02000808C3"), 6));
    EXPECT_FALSE(frames::checkAt(hex("0B02000808C4"), 6));
}

TEST(Frames, CommandFramesCarryTheirChecksums) {
    struct Case {
        QByteArray built;
        const char* expected;
    };
    const Case cases[] = {
        {frames::readBankSize(2), "09020E"},
        {frames::startReading(2, 8), "0B02000808C3"},
        {frames::startReading(0, 0), "0B00000008B2"},
        {frames::setEndPointer(2, 8), "110200083A"},
        {frames::setEndPointer(0, 3 * 8 + 8), "1100002094"},
        {frames::setBatonId(QStringLiteral("A123")), "07413132 33AB"},
        {frames::kReadIdentity, "015E"},
        {frames::kNextPacket, "0DFD"},
    };
    for (const Case& c : cases) {
        QByteArray want = QByteArray(c.expected).replace(' ', "");
        EXPECT_EQ(c.built.toHex().toUpper(), want) << c.expected;
    }
}

TEST(Frames, SetClockForBothClockModels) {
    // Tuesday 12 May 2009, 14:03:22.
    const QDateTime when(QDate(2009, 5, 12), QTime(14, 3, 22));
    EXPECT_EQ(frames::setClockBcd(when), hex("05200905121403220248"));
    EXPECT_EQ(frames::setClockSeconds(when), hex("35AB81094A28"));
    // Sunday is weekday 0.
    EXPECT_EQ(frames::setClockBcd(QDateTime(QDate(2009, 5, 17), QTime(0, 0))).at(8), 0);
    // The seconds count reads back to the same wall-clock time.
    EXPECT_EQ(frames::fromBatonSeconds(frames::batonSeconds(when)), when);
}

TEST(Frames, RecordWriteHasTwoChecksumsTheSecondZero) {
    const QByteArray frame = frames::writeRecord({0x12, 0x34, 0x56, 0x05, 0x12, 0x14, 0x03});
    ASSERT_EQ(frame.size(), 10);
    EXPECT_EQ(std::uint8_t(frame.at(8)), frames::crc8(frame.left(8)));
    EXPECT_EQ(frame.at(9), 0);
}

TEST(RxBuffer, DropEmptyAndOverflow) {
    RxBuffer rx;
    for (std::uint8_t b : {0x01, 0x02, 0x03, 0x04}) {
        ASSERT_TRUE(rx.push(b));
    }
    rx.drop(1);
    EXPECT_EQ(rx.count(), 3);
    EXPECT_EQ(rx.at(1), 0x02);
    rx.clear();
    EXPECT_EQ(rx.count(), 0);
    // Emptied bytes stay readable until overwritten.
    EXPECT_EQ(rx.at(1), 0x02);
    for (int i = 0; i < RxBuffer::kLimit; ++i) {
        ASSERT_TRUE(rx.push(0x0E));
    }
    EXPECT_FALSE(rx.push(0x0E));
    EXPECT_EQ(rx.count(), 0);
}

}  // namespace
}  // namespace dorodure
