// Distribution of an upload over the sites: duplicates, markers, the common
// site, ids in two sites, the last line of an unfinished file.

#include "process_fixture.h"
#include "processing/distribution_pass.h"

#include <gtest/gtest.h>

namespace dorodure::test {
namespace {

class ProcessDistributionTest : public ::testing::Test, public ProcessFixture {
  protected:
    void SetUp() override {
        site("Alpha", {point("100001", "Gate"), point("100002", "Yard")});
        site("Beta", {point("200001", "Door"), point("100002", "Shared yard")});
        site("Common", {point("900001", "Canteen")});
    }

    // The times ("HH:NN") of a site's text report lines, in order.
    QStringList times(const QString& siteName) const {
        QStringList out;
        for (const QString& line : recordLines(siteName)) {
            out << line.mid(11, 5);
        }
        return out;
    }
};

struct DuplicateCase {
    const char* what;
    QStringList stamps;
    QStringList reported;
};

TEST_F(ProcessDistributionTest, RepeatedTouchesAreMeasuredAgainstTheLastKeptRecord) {
    const std::vector<DuplicateCase> cases{
        {"same minute", {"0905121015", "0905121015"}, {"10:15"}},
        {"one minute later", {"0905121015", "0905121016"}, {"10:15"}},
        {"two minutes later", {"0905121015", "0905121017"}, {"10:15", "10:17"}},
        {"across the hour", {"0905121059", "0905121100"}, {"10:59", "11:00"}},
        {"chain of three", {"0905121015", "0905121016", "0905121017"}, {"10:15", "10:17"}},
        {"other day", {"0905121015", "0905131015"}, {"10:15", "10:15"}},
    };
    for (const DuplicateCase& c : cases) {
        QStringList lines;
        for (const QString& stamp : c.stamps) {
            lines << clocking("100001", stamp);
        }
        upload(lines);
        QFile::remove(reportPath("Alpha", "txt"));
        run();
        EXPECT_EQ(times("Alpha"), c.reported) << c.what;
    }
}

TEST_F(ProcessDistributionTest, WithoutDuplicateRemovalEveryTouchIsReported) {
    setSettings([](SettingsValues& v) { v.removeDuplicatePoints = false; });
    upload({clocking("100001", "0905121015"), clocking("100001", "0905121015"),
            clocking("100001", "0905121016")});
    run();
    EXPECT_EQ(times("Alpha"), QStringList({"10:15", "10:15", "10:16"}));
}

// Kept as the system always behaved: the second filing of the same record is
// judged a duplicate of the first, so the second site never sees it.
TEST_F(ProcessDistributionTest, AnIdInTwoSitesReachesOnlyTheFirstSiteWithDuplicateRemoval) {
    upload({clocking("100002", "0905121015"), clocking("200001", "0905121030")});
    const ProcessResult result = run();
    EXPECT_EQ(times("Alpha"), QStringList({"10:15"}));
    EXPECT_EQ(times("Beta"), QStringList({"10:30"}));
    EXPECT_EQ(result.filedRecords, 3);

    setSettings([](SettingsValues& v) { v.removeDuplicatePoints = false; });
    QFile::remove(reportPath("Alpha", "txt"));
    QFile::remove(reportPath("Beta", "txt"));
    run();
    EXPECT_EQ(times("Alpha"), QStringList({"10:15"}));
    EXPECT_EQ(times("Beta"), QStringList({"10:15", "10:30"}));
}

TEST_F(ProcessDistributionTest, CommonRecordsBeforeAnyOrdinaryOneStayWithTheCommonSite) {
    upload({clocking("900001", "0905121015"), clocking("900001", "0905121020")});
    const ProcessResult result = run();
    EXPECT_EQ(result.reportedSites, QStringList({"Common"}));
    EXPECT_EQ(times("Common"), QStringList({"10:15", "10:20"}));
    // Its own report lists the touched common checkpoint twice in the frequency part.
    const QStringList report = text("Common");
    EXPECT_EQ(report.count("2          (900001)   Canteen"), 2);
    EXPECT_TRUE(report.contains("4"));
}

TEST_F(ProcessDistributionTest, UnitMarkersTravelWithTheirRecordAndAreDroppedAtTheEnd) {
    const QString marker = "0000000000420905121085" + QString("5");
    upload({marker, clocking("100001", "0905121010"), clocking("100001", "0905121030"), marker});
    run();
    const QStringList lines = recordLines("Alpha");
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[1], "2009/05/12 10:05  From Unit (0042)");
    EXPECT_TRUE(lines[3].startsWith("2009/05/12 10:10"));
    EXPECT_TRUE(lines[4].startsWith("2009/05/12 10:30"));
}

// A marker whose unit field is not all digits is counted as corrupt in the
// unknown bucket's counter, which no site report prints.
TEST_F(ProcessDistributionTest, AMarkerWithALetterInItsUnitFieldWarnsNoSite) {
    upload({clocking("100001", "0905121010"), "0000000A00420905121085" + QString("5"),
            clocking("100001", "0905121030")});
    run();
    EXPECT_EQ(times("Alpha"), QStringList({"10:10", "10:30"}));
    EXPECT_TRUE(warningLines("Alpha").isEmpty());
    EXPECT_FALSE(text("Alpha").contains(" " + texts.text(72)));
}

TEST_F(ProcessDistributionTest, TheLastLineOfAnUnfinishedUploadIsNotReported) {
    uploadRaw(
        {"Id : Ziru0123", clocking("100001", "0905121010"), clocking("100001", "0905121030")});
    run();
    EXPECT_EQ(times("Alpha"), QStringList({"10:10"}));
    EXPECT_EQ(readCrlfLines(rawPath()).last(), "Done");
    // The download time is the upload's own, not the time "Done" was added.
    EXPECT_TRUE(text("Alpha").contains(texts.text(21) + " 12/05/2009 13:58:07 UTC"));
}

TEST_F(ProcessDistributionTest, GapShortAndDoneLinesAreSkipped) {
    upload({"MissingLine", clocking("100001", "0905121010"), "Extra Line", "0000001000010905121",
            clocking("100001", "0905121030")});
    run();
    EXPECT_EQ(times("Alpha"), QStringList({"10:10", "10:30"}));
    EXPECT_TRUE(warningLines("Alpha").isEmpty());
}

TEST_F(ProcessDistributionTest, AnUploadWithNoRecordsWritesNothing) {
    uploadRaw({"Done"});
    const ProcessResult result = run();
    EXPECT_TRUE(result.reportedSites.isEmpty());
    EXPECT_FALSE(QFile::exists(reportPath("Alpha", "txt")));
    EXPECT_EQ(readBytes(rawPath()), QByteArray("Done\r\n"));
    EXPECT_FALSE(QFile::exists(dir.file("0.$$$")));
}

}  // namespace
}  // namespace dorodure::test

namespace dorodure {

TEST(UploadIdentityTest, LongIdentityIsARequestWindowNotABatonWithADelay) {
    struct Case {
        const char* line;
        bool longIdentity;
    };
    const Case cases[] = {
        {"Id : Ziru0123", false},
        {"Id : Ziru0123   Dly : 5", false},
        {"Id : Ziru0123   Dly : 255", false},
        {"Id : From 12:00:00 10/08/2011 to 12:00:00 11/08/2011", true},
        {"Id : 12345678901234567", true},
        {"Id : 1234567890123456", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(UploadIdentity::fromLine(QString::fromLatin1(c.line)).longIdentity,
                  c.longIdentity)
            << c.line;
    }
}

}  // namespace dorodure
