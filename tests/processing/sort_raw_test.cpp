#include "processing/sort_raw.h"

#include "prefs/baton_names.h"
#include "processing/pdf/pdfprint.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/file_error.h"
#include "shell/settings.h"
#include "sort_fixture.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

using test::rec;
using test::stored;

// Alpha holds 111111 and 333333, Beta 222222 and 333333, Common 0C0C0C,
// Empty nothing.
class SortRawTest : public ::testing::Test, public test::SortFixture {
  protected:
    void SetUp() override {
        site("Alpha", {"111111", "333333"});
        site("Beta", {"222222", "333333"});
        site("Common", {"0C0C0C"});
        site("Empty", {});
        load();
    }
    void sortUpload(const QStringList& lines) {
        upload(lines);
        SortRaw(ctx, rawPath());
    }
};

TEST_F(SortRawTest, CommonRecordsFollowTheSitePatrolledAroundThem) {
    sortUpload({
        rec("0C0C0C", "0905121000"),  // before the first ordinary record: joins Alpha
        rec("111111", "0905121001"),
        rec("0C0C0C", "0905121002"),  // between Alpha and Beta: the earlier one, Alpha
        rec("222222", "0905121003"), rec("0C0C0C", "0905121004"),  // after Beta: Beta
    });
    EXPECT_EQ(day("Alpha", "090512"),
              QStringList({stored("0C0C0C", "0905121000"), stored("111111", "0905121001"),
                           stored("0C0C0C", "0905121002")}));
    EXPECT_EQ(day("Beta", "090512"),
              QStringList({stored("222222", "0905121003"), stored("0C0C0C", "0905121004")}));
    EXPECT_TRUE(dayFiles("Common").isEmpty());
}

TEST_F(SortRawTest, AnUploadOfOnlyCommonRecordsIsFiledUnderTheCommonSite) {
    sortUpload({rec("0C0C0C", "0905121000"), rec("0C0C0C", "0905121005")});
    EXPECT_EQ(day("Common", "090512"),
              QStringList({stored("0C0C0C", "0905121000"), stored("0C0C0C", "0905121005")}));
    EXPECT_TRUE(dayFiles("Alpha").isEmpty());
}

TEST_F(SortRawTest, AnIdListedInTwoSitesIsStoredInBoth) {
    sortUpload({rec("333333", "0905121000")});
    EXPECT_EQ(day("Alpha", "090512"), QStringList{stored("333333", "0905121000")});
    EXPECT_EQ(day("Beta", "090512"), QStringList{stored("333333", "0905121000")});
}

TEST_F(SortRawTest, NewRecordsMergeIntoTheDayFileInTimeOrderKeepingDuplicates) {
    test::writeCrlfLines(dayPath("Alpha", "090512"),
                         {stored("111111", "0905120800"), stored("111111", "0905121200")});
    sortUpload({rec("111111", "0905121300"), rec("111111", "0905121200", "12"),
                rec("111111", "0905120700")});
    EXPECT_EQ(day("Alpha", "090512"),
              QStringList({stored("111111", "0905120700"), stored("111111", "0905120800"),
                           stored("111111", "0905121200"), stored("111111", "0905121200"),
                           stored("111111", "0905121300")}));
}

TEST_F(SortRawTest, EqualTimesAreOrderedByCheckByteAndId) {
    sortUpload({rec("333333", "0905121000"), "01" + rec("111111", "0905121000").mid(2),
                rec("111111", "0905121000")});
    EXPECT_EQ(day("Alpha", "090512"),
              QStringList({stored("111111", "0905121000"), stored("333333", "0905121000"),
                           "01" + stored("111111", "0905121000").mid(2)}));
}

TEST_F(SortRawTest, RecordsEitherSideOfMidnightLandInTwoDayFiles) {
    sortUpload({rec("111111", "0905122359"), rec("111111", "0905130001")});
    EXPECT_EQ(day("Alpha", "090512"), QStringList{stored("111111", "0905122359")});
    EXPECT_EQ(day("Alpha", "090513"), QStringList{stored("111111", "0905130001")});
    EXPECT_EQ(dayFiles("Alpha"), QStringList({"090512.txt", "090513.txt"}));
}

TEST_F(SortRawTest, DayFilesOfOtherDaysAreLeftAlone) {
    const QStringList old{stored("111111", "0905110900")};
    test::writeCrlfLines(dayPath("Alpha", "090511"), old);
    const auto before = QFileInfo(dayPath("Alpha", "090511")).lastModified();
    sortUpload({rec("111111", "0905121000")});
    EXPECT_EQ(day("Alpha", "090511"), old);
    EXPECT_EQ(QFileInfo(dayPath("Alpha", "090511")).lastModified(), before);
}

TEST_F(SortRawTest, DoneIsAppendedOnlyWhenMissing) {
    struct Case {
        const char* name;
        QByteArray before;
        QByteArray after;
    };
    const QByteArray id = "Id : 00012345\r\n";
    const QByteArray r = rec("111111", "0905121000").toLatin1();
    const Case cases[] = {
        {"no Done", id + r + "\r\n", id + r + "\r\nDone\r\n"},
        {"Done last", id + r + "\r\nDone\r\n", id + r + "\r\nDone\r\n"},
        {"Done without line end", id + r + "\r\nDone", id + r + "\r\nDone"},
        {"last line without line end", id + r, id + r + "\r\nDone\r\n"},
        {"empty file", "", "Done\r\n"},
    };
    for (const Case& c : cases) {
        test::writeBytes(rawPath(), c.before);
        SortRaw(ctx, rawPath());
        EXPECT_EQ(test::readBytes(rawPath()), c.after) << c.name;
    }
}

TEST_F(SortRawTest, ASiteWithoutCheckpointsReceivesNothing) {
    sortUpload({rec("111111", "0905121000"), rec("ABCDEF", "0905121001")});
    EXPECT_TRUE(dayFiles("Empty").isEmpty());
}

TEST_F(SortRawTest, UnitMarkersTravelWithTheNextRecordAndAreDroppedAtTheEnd) {
    const QString marker = "0000000000120905120985";  // unit 0012, minute byte 0x85
    sortUpload({marker + "2", rec("111111", "0905121000"), marker + "3"});
    EXPECT_EQ(day("Alpha", "090512"), QStringList({marker, stored("111111", "0905121000")}));
    EXPECT_TRUE(dayFiles("Beta").isEmpty());
}

TEST_F(SortRawTest, AMarkerGoesToEverySiteOfItsRecord) {
    const QString marker = "0000000000120905120985";
    sortUpload({marker + "2", rec("333333", "0905121000")});
    EXPECT_EQ(day("Alpha", "090512"), QStringList({marker, stored("333333", "0905121000")}));
    EXPECT_EQ(day("Beta", "090512"), QStringList({marker, stored("333333", "0905121000")}));
}

TEST_F(SortRawTest, CorruptUnknownAndShortLinesReachNoDayFile) {
    sortUpload({
        "00000011111109051210A07",    // a letter in the minute: corrupt
        rec("ABCDEF", "0905121000"),  // in no site
        "000000111111",               // too short to be a record
        "Missing Line",
        "000000111111090512A2007",  // hour flags at position 19: a record
    });
    EXPECT_EQ(day("Alpha", "090512"), QStringList{"000000111111090512A200"});
    EXPECT_EQ(dayFiles("Alpha"), QStringList{"090512.txt"});
}

TEST_F(SortRawTest, ScratchFilesAreRemovedAndEmptyTxtIsLeft) {
    test::writeBytes(dir.file("sorttemp.$$$"), "x");
    sortUpload({rec("111111", "0905121000")});
    EXPECT_TRUE(QFileInfo::exists(dir.file("empty.txt")));
    EXPECT_EQ(QFileInfo(dir.file("empty.txt")).size(), 0);
    EXPECT_TRUE(QDir(dir.path()).entryList({"*.$$$"}, QDir::Files).isEmpty());
}

TEST_F(SortRawTest, AFailedDayFileKeepsTheStoreAndLeavesTheUploadUnprocessed) {
    // Beta's new day file cannot be written (a folder stands in the way of its
    // scratch copy); Alpha's, written before it, must not replace the old one.
    dir.mkdir("Beta/Raw/090512.txt.$$$");
    const QStringList oldAlpha{stored("111111", "0905120800")};
    const QStringList oldBeta{stored("222222", "0905120800")};
    test::writeCrlfLines(dayPath("Alpha", "090512"), oldAlpha);
    test::writeCrlfLines(dayPath("Beta", "090512"), oldBeta);
    upload({rec("111111", "0905111000"), rec("111111", "0905121000"), rec("222222", "0905121000")});
    const QByteArray before = test::readBytes(rawPath());

    EXPECT_THROW(SortRaw(ctx, rawPath()), FileError);
    EXPECT_EQ(day("Alpha", "090512"), oldAlpha);
    EXPECT_EQ(day("Beta", "090512"), oldBeta);
    EXPECT_EQ(test::readBytes(rawPath()), before);
    EXPECT_EQ(dayFiles("Alpha"), QStringList{"090512.txt"});  // no copy left behind
}

TEST_F(SortRawTest, AMissingRawFolderIsMadeAgain) {
    QDir(dir.file("Alpha/Raw")).removeRecursively();
    sortUpload({rec("111111", "0905121000")});
    EXPECT_EQ(day("Alpha", "090512"), QStringList{stored("111111", "0905121000")});
}

TEST_F(SortRawTest, AMarkerWhoseDateIsNotDigitsNamesNoDayFile) {
    const QString badMarker = "000000000012../../0985";
    sortUpload({badMarker + "2", rec("111111", "0905121000")});
    EXPECT_EQ(dayFiles("Alpha"), QStringList{"090512.txt"});
    EXPECT_EQ(day("Alpha", "090512"), QStringList{stored("111111", "0905121000")});
}

}  // namespace
}  // namespace dorodure

namespace dorodure {
namespace {

// DoRaw with everything processing needs: the upload stored and reported.
TEST(DoRawTest, SortsThenReportsRawTxt) {
    test::SortFixture f;
    f.site("Alpha", {"111111"});
    f.load();
    ManualClock clock(QDateTime(QDate(2009, 5, 12), QTime(14, 3, 22)));
    TSettings settings(f.dir.file("Dorodure.ini"));
    settings.load();
    TActivityLog log(f.dir.path(), clock);
    BatonNames names(f.dir.path());
    names.load();
    PdfPrint pdf(clock);
    f.ctx.settings = &settings;
    f.ctx.activityLog = &log;
    f.ctx.batonNames = &names;
    f.ctx.pdf = &pdf;
    f.ctx.clock = &clock;
    f.upload({rec("111111", "0905121000"), rec("111111", "0905121030")});

    DoRaw(f.ctx);
    EXPECT_EQ(f.day("Alpha", "090512"),
              QStringList({stored("111111", "0905121000"), stored("111111", "0905121030")}));
    const QStringList raw = test::readCrlfLines(f.rawPath());
    EXPECT_EQ(raw.count("Done"), 1);
    EXPECT_EQ(raw.last(), "Done");
    for (const char* report : {"Alpha/05121403.txt", "Alpha/05121403.csv", "Alpha/05121403.pdf"}) {
        EXPECT_TRUE(QFileInfo(f.dir.file(report)).isFile()) << report;
    }
    EXPECT_TRUE(QDir(f.dir.path()).entryList({"*.$$$"}, QDir::Files).isEmpty());
}

}  // namespace
}  // namespace dorodure
