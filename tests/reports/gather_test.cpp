#include "report_fixture.h"
#include "reports/checkpoint_sort.h"
#include "reports/request_gather.h"

#include <gtest/gtest.h>

namespace dorodure::test {
namespace {

const QDate k10Aug(2011, 8, 10);
const QDate k11Aug(2011, 8, 11);

class Gathering : public ::testing::Test {
  protected:
    void SetUp() override { f.site("Gate House", {point("000123", "Front gate")}); }

    QStringList gather(const QDate& from, const QTime& t1, const QDate& to, const QTime& t2) {
        last = gatherDayFiles(*f.store, "Gate House", {from, t1, to, t2});
        return last.lines;
    }

    ReportFixture f;
    GatheredLines last;
};

TEST_F(Gathering, SimpleListTakesNoonToNoon) {
    f.dayFile("Gate House", "110810",
              {dayLine("000123", "1108101159"), dayLine("000123", "1108101200"),
               dayLine("000123", "1108102300")});
    f.dayFile("Gate House", "110811",
              {dayLine("000123", "1108110700"), dayLine("000123", "1108111200"),
               dayLine("000123", "1108111201")});
    EXPECT_EQ(gather(k10Aug, QTime(12, 0), k11Aug, QTime(12, 0)),
              (QStringList{dayLine("000123", "1108101200"), dayLine("000123", "1108102300"),
                           dayLine("000123", "1108110700"), dayLine("000123", "1108111200")}));
}

TEST_F(Gathering, OneDayKeepsWholeMinutesAtBothEnds) {
    f.dayFile("Gate House", "110811",
              {dayLine("000123", "1108110829"), dayLine("000123", "1108110830"),
               dayLine("000123", "1108111700"), dayLine("000123", "1108111701")});
    EXPECT_EQ(gather(k11Aug, QTime(8, 30), k11Aug, QTime(17, 0)),
              (QStringList{dayLine("000123", "1108110830"), dayLine("000123", "1108111700")}));
}

TEST_F(Gathering, DaysBetweenAreTakenWholeAndMissingDaysSkipped) {
    f.dayFile("Gate House", "110809", {dayLine("000123", "1108092359")});
    f.dayFile("Gate House", "110810", {dayLine("000123", "1108100000")});
    // No file for 11/08.
    EXPECT_EQ(gather(QDate(2011, 8, 9), QTime(23, 59), k11Aug, QTime(12, 0)),
              (QStringList{dayLine("000123", "1108092359"), dayLine("000123", "1108100000")}));
}

// Unit markers carry bit 7 in the minute byte: "A5" is minute 25.
TEST_F(Gathering, UnitMarkerMinuteIsReadWithoutItsMarkerBit) {
    const QString marker25 = QStringLiteral("000000000007") + "11081108A5";
    const QString marker24 = QStringLiteral("000000000007") + "11081108A4";
    f.dayFile("Gate House", "110811", {marker24, marker25});
    EXPECT_EQ(gather(k11Aug, QTime(8, 25), k11Aug, QTime(23, 59)), QStringList{marker25});
}

// The hour byte's bracket (bit 7) and separator (bit 6) flags do not move a
// clocking in time: "92" is 12 o'clock with the bracket flag, "51" 11 o'clock
// with the separator flag.
TEST_F(Gathering, FlaggedHoursAtTheEdgesAreReadAsTheirPlainHour) {
    f.dayFile("Gate House", "110810",
              {dayLine("000123", "1108105159"), dayLine("000123", "1108109200")});
    f.dayFile("Gate House", "110811",
              {dayLine("000123", "1108115200"), dayLine("000123", "1108119201")});
    EXPECT_EQ(gather(k10Aug, QTime(12, 0), k11Aug, QTime(12, 0)),
              (QStringList{dayLine("000123", "1108109200"), dayLine("000123", "1108115200")}));
    EXPECT_TRUE(last.unreadable.isEmpty());
}

TEST_F(Gathering, UnreadableEdgeLinesAreSetAsideAndOthersKept) {
    const QString badHour = dayLine("000123", "11081012X0");
    const QString badMiddle = dayLine("000123", "110810X200");
    f.dayFile("Gate House", "110810",
              {badHour, dayLine("000123", "1108101300"), "short line", "Done"});
    f.dayFile("Gate House", "110811", {badMiddle});
    // 11/08 is a day between: its lines are taken without reading their time.
    EXPECT_EQ(gather(k10Aug, QTime(12, 0), QDate(2011, 8, 12), QTime(12, 0)),
              (QStringList{dayLine("000123", "1108101300"), badMiddle}));
    EXPECT_EQ(last.unreadable, QStringList{badHour});
}

TEST(EdgeRules, MinuteEndsAtOrAfterTheFromTime) {
    EXPECT_TRUE(keptOnFirstDay(8, 30, QTime(8, 30)));
    EXPECT_FALSE(keptOnFirstDay(8, 29, QTime(8, 30)));
    EXPECT_TRUE(keptOnLastDay(17, 0, QTime(17, 0)));
    EXPECT_FALSE(keptOnLastDay(17, 1, QTime(17, 0)));
}

}  // namespace
}  // namespace dorodure::test

namespace dorodure::test {
namespace {

// A checkpoint listed twice still has its clockings once in the sorted list;
// a line of an id and a flag only is a checkpoint for sorting too.
TEST(SortByCheckpoint, EachCheckpointOnceInListOrder) {
    const std::vector<ReportCheckpoint> list{
        {"000456", "Door"}, {"000123", ""}, {"000456", "Door again"}};
    const QStringList lines{dayLine("000123", "1108110800"), dayLine("000456", "1108110900"),
                            dayLine("000789", "1108111000"), dayLine("000456", "1108111100")};
    EXPECT_EQ(sortByCheckpoint(lines, list),
              (QStringList{dayLine("000456", "1108110900"), dayLine("000456", "1108111100"),
                           dayLine("000123", "1108110800")}));
    EXPECT_EQ(sortByCheckpoint(lines, list, "000123"),
              QStringList{dayLine("000123", "1108110800")});
}

}  // namespace
}  // namespace dorodure::test
