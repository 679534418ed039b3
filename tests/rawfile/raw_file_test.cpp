#include "processing/raw/raw_file.h"

#include <gtest/gtest.h>

namespace dorodure::rawfile {
namespace {

// Check and two bytes, id 123456, 2009-12-15 23:45, sequence 7.
const QString kRecord = QStringLiteral("0000001234560912152345") + u'7';

QString withCharAt(QString line, int position, QChar c) {
    line[position - 1] = c;
    return line;
}

TEST(RawFile, ClassifiesLineKinds) {
    const struct {
        QString line;
        LineKind kind;
    } cases[] = {
        {"Id : 123456", LineKind::Identity},
        {"Ids0912150000  0912152359", LineKind::Identity},
        {"Done", LineKind::Done},
        {"MissingLine", LineKind::Gap},
        {"Missing Line", LineKind::Gap},
        {"ExtraLine", LineKind::Gap},
        {"Extra Line", LineKind::Gap},
        {kRecord, LineKind::Record},
        {kRecord.left(22), LineKind::Record},
        {kRecord.left(21), LineKind::Other},
        {"", LineKind::Other},
        {"Done ", LineKind::Other},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        EXPECT_EQ(classify(c.line), c.kind);
    }
}

TEST(RawFile, CorruptionIsJudgedFromPosition13WithPosition19Excepted) {
    EXPECT_FALSE(isCorrupt(kRecord));
    EXPECT_FALSE(isCorrupt(kRecord.left(22)));
    EXPECT_FALSE(isCorrupt(withCharAt(kRecord, 19, u'A')));  // hour flags
    EXPECT_FALSE(isCorrupt(withCharAt(kRecord, 12, u'F')));  // id digits are hex
    EXPECT_TRUE(isCorrupt(withCharAt(kRecord, 20, u'A')));
    EXPECT_TRUE(isCorrupt(withCharAt(kRecord, 13, u'A')));
    EXPECT_TRUE(isCorrupt(withCharAt(kRecord, 22, u'B')));
    EXPECT_TRUE(isCorrupt(withCharAt(kRecord, 23, u' ')));  // the sequence counts too
}

TEST(RawFile, UnitMarkerBitAndUnitField) {
    const QString marker = QStringLiteral("0000000000420912150880") + u'3';
    EXPECT_TRUE(hasUnitMarkerBit(marker));
    EXPECT_TRUE(hasDigitUnitField(marker));
    EXPECT_EQ(plainMinute(marker), 0);
    EXPECT_FALSE(hasUnitMarkerBit(withCharAt(marker, 21, u'7')));  // 0x70
    EXPECT_FALSE(hasUnitMarkerBit(withCharAt(marker, 22, u'G')));  // not hex
    EXPECT_FALSE(hasUnitMarkerBit(marker.left(21)));
    EXPECT_FALSE(hasDigitUnitField(withCharAt(marker, 7, u'A')));
    EXPECT_TRUE(hasUnitMarkerBit(withCharAt(marker, 21, u'f')));  // lower case reads too
}

TEST(RawFile, TimeFieldsWithFlagBits) {
    const struct {
        const char* hourMinute;  // positions 19-22
        int hour, minute;
        bool bracket, separator;
    } cases[] = {
        {"2345", 23, 45, false, false}, {"A345", 23, 45, true, false},
        {"6345", 23, 45, false, true},  {"E309", 23, 9, true, true},
        {"00B0", 0, 30, false, false},  {"2A45", -1, 45, false, false},
        {"G345", -1, 45, false, false}, {"235F", 23, -1, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hourMinute);
        const QString line = kRecord.left(18) + QLatin1String(c.hourMinute);
        EXPECT_EQ(plainHour(line), c.hour);
        EXPECT_EQ(plainMinute(line), c.minute);
        EXPECT_EQ(bracketFlag(line), c.bracket);
        EXPECT_EQ(separatorFlag(line), c.separator);
    }
    EXPECT_EQ(plainHour("short"), -1);
}

TEST(RawFile, FieldsAndDayKeys) {
    EXPECT_EQ(checkpointId(kRecord), QString("123456"));
    EXPECT_EQ(dayName(kRecord), QString("091215"));
    EXPECT_EQ(dayFileName(kRecord), QString("091215.txt"));
    EXPECT_EQ(checkpointId("Id"), QString());

    const QString key = dayKey(kRecord);
    EXPECT_EQ(key, QString("0912152345000000123456"));
    EXPECT_EQ(lineFromDayKey(key), kRecord.left(22));

    // Around midnight: two day files, and the keys order by time.
    const QString late = QStringLiteral("0000001234560912152359");
    const QString early = QStringLiteral("0000000000010912160001");
    EXPECT_EQ(dayFileName(late), QString("091215.txt"));
    EXPECT_EQ(dayFileName(early), QString("091216.txt"));
    EXPECT_LT(dayKey(late), dayKey(early));
}

TEST(RawFile, StampYearTakesThePreviousYearForLaterMonths) {
    EXPECT_EQ(stampYear(12, QDate(2010, 1, 4)), 9);
    EXPECT_EQ(stampYear(1, QDate(2010, 1, 4)), 10);
    EXPECT_EQ(stampYear(6, QDate(2010, 6, 30)), 10);
    EXPECT_EQ(stampYear(7, QDate(2000, 6, 30)), 99);
}

TEST(RawFile, FormatRecordFromTheSevenBytes) {
    // Month and day bytes carry stray high bits that the layout masks off.
    const std::array<std::uint8_t, 7> bytes{0x12, 0x34, 0xAB, 0xF2, 0xD5, 0xA3, 0x07};
    EXPECT_EQ(formatRecord(bytes, QDate(2010, 1, 5), 102), QString("0000001234AB091215A3072"));
    EXPECT_EQ(formatRecord(bytes, QDate(2010, 12, 20), 7), QString("0000001234AB101215A3077"));
    const std::array<std::uint8_t, 7> marker{0x00, 0x00, 0x42, 0x01, 0x01, 0x08, 0x80};
    EXPECT_EQ(formatRecord(marker, QDate(2010, 1, 5), 100),
              QString("0000000000421001010880") + u'0');
}

}  // namespace
}  // namespace dorodure::rawfile
