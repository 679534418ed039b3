// What a run leaves behind: report files appended under one stamp, the report
// opened, the activity log, unknown checkpoints added to a site, and no fixed
// limit on sites or checkpoints.

#include "process_fixture.h"

#include <gtest/gtest.h>

namespace dorodure::test {
namespace {

class ProcessOutputsTest : public ::testing::Test, public ProcessFixture {
  protected:
    void SetUp() override {
        site("Alpha", {point("100001", "Gate"), point("100002", "Yard")});
        site("Beta", {point("200001", "Door")});
    }

    QStringList logLines() const { return readCrlfLines(dir.file("LG200905.txt")); }
};

TEST_F(ProcessOutputsTest, ASecondRunInTheSameMinuteAppendsTextAndCsvAndReplacesThePdf) {
    upload({clocking("100001", "0905121010")});
    run();
    const QStringList firstText = text("Alpha");
    const QStringList firstCsv = csv("Alpha");
    run();
    const QStringList separator{"", "   ---   ---   ---   ---   ---   ---   ---   ---", ""};
    EXPECT_EQ(text("Alpha"), firstText + separator + firstText);
    EXPECT_EQ(csv("Alpha"), firstCsv + separator + firstCsv);
    EXPECT_TRUE(readBytes(reportPath("Alpha", "pdf")).startsWith("%PDF"));
}

TEST_F(ProcessOutputsTest, EachReportedSiteIsOpenedAndLogged) {
    upload({clocking("100001", "0905121010"), clocking("200001", "0905121020")});
    run();
    EXPECT_EQ(ui.opened, QStringList({reportPath("Alpha", "pdf"), reportPath("Beta", "pdf")}));
    const QStringList log = logLines();
    ASSERT_EQ(log.size(), 2);
    EXPECT_EQ(log[0],
              "\"2009/05/12 14:03.22\",\"Alpha\",\"Dorodure Uploaded and cleared Id : "
              "Ziru0123\"");
    EXPECT_TRUE(log[1].contains("\"Beta\""));
    EXPECT_EQ(batons->batonName("Ziru0123"), "Ziru0123");
}

TEST_F(ProcessOutputsTest, OpeningFollowsTheSecureAndFileTypeSettings) {
    setSettings([](SettingsValues& v) {
        v.secureReports = false;
        v.clearDorodureMemory = false;
        v.fileType = "csv";
    });
    upload({clocking("100001", "0905121010")});
    run();
    EXPECT_EQ(ui.opened, QStringList{reportPath("Alpha", "csv")});
    EXPECT_TRUE(logLines().value(0).contains("Dorodure Uploaded and Not cleared Id : Ziru0123"));

    ui.opened.clear();
    setSettings([](SettingsValues& v) { v.openReportAfterProcessing = false; });
    run();
    EXPECT_TRUE(ui.opened.isEmpty());
    EXPECT_EQ(logLines().size(), 2);
}

TEST_F(ProcessOutputsTest, WhileABlockWaitsForABatonReportsAreNeitherOpenedNorLogged) {
    writePending = true;
    upload({clocking("100001", "0905121010")});
    run();
    EXPECT_TRUE(QFile::exists(reportPath("Alpha", "txt")));
    EXPECT_TRUE(ui.opened.isEmpty());
    EXPECT_TRUE(logLines().isEmpty());
}

TEST_F(ProcessOutputsTest, AnImportIsLoggedUnderUnknown) {
    upload({clocking("100001", "0905121010")});
    run(ProcessOrigin::Import);
    EXPECT_TRUE(logLines().last().endsWith("\"unknown\",\"Raw.txt imported\""));
}

TEST_F(ProcessOutputsTest, UnknownCheckpointsPlacedInASiteGetNumberedAndSpecialNames) {
    FixedUnknownAsker toAlpha(UnknownDecision{UnknownDecision::Choice::ExistingSite, "Alpha"});
    ctx.unknownAsker = &toAlpha;
    upload({clocking("100001", "0905121010"), clocking("300001", "0905121011"),
            clocking("000000", "0905121012"), clocking("0FA500", "0905121013"),
            clocking("0FA502", "0905121014"), clocking("0FA505", "0905121015"),
            clocking("300001", "0905121020")});
    run();
    EXPECT_EQ(checkpointList("Alpha").mid(2, 7),
              QStringList({"100001 = Gate", "100002 = Yard", "300001 = 3 Unknown checkpoint",
                           "000000 = 4 ------ Baton Uploaded ------", "0FA500 = 5 Baton booted up",
                           "0FA502 = 6 Event two", "0FA505 = 7 Data removed from unit"}));
    const QStringList lines = recordLines("Alpha");
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[1], "2009/05/12 10:11 00:01  (300001)   3 Unknown checkpoint");
    EXPECT_EQ(lines[6], "2009/05/12 10:20 00:05  (300001)   3 Unknown checkpoint");
    EXPECT_FALSE(QFile::exists(dir.file("2.$$$")));
}

TEST_F(ProcessOutputsTest, IgnoredOrDiscardedUnknownCheckpointsAreNotReported) {
    upload({clocking("300001", "0905121011")});
    EXPECT_TRUE(run().reportedSites.isEmpty());
    EXPECT_EQ(ignoreAsker.timesAsked(), 1);

    setSettings([](SettingsValues& v) { v.discardUnknownCheckpoints = true; });
    EXPECT_TRUE(run().reportedSites.isEmpty());
    EXPECT_EQ(ignoreAsker.timesAsked(), 1);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(ProcessOutputsTest, UnknownCheckpointsInANewSiteAreReportedThere) {
    FixedUnknownAsker toNew(UnknownDecision{UnknownDecision::Choice::NewSite, "Gamma"});
    ctx.unknownAsker = &toNew;
    upload({clocking("300001", "0905121011"), clocking("300002", "0905121012")});
    EXPECT_EQ(run().reportedSites, QStringList{"Gamma"});
    EXPECT_EQ(checkpointList("Gamma").mid(2, 2),
              QStringList({"300001 = 1 Unknown checkpoint", "300002 = 2 Unknown checkpoint"}));
    EXPECT_FALSE(QFile::exists(dir.file("3.$$$")));
}

// The site's own list is searched before the common list, and of several
// entries of one id the last gives the name and the flag.
TEST_F(ProcessOutputsTest, TheLastMatchingEntryNamesTheCheckpoint) {
    site("Alpha", {point("100001", "Old gate"), point("900001", "Alpha canteen"),
                   point("100001", "New gate", "#")});
    site("Common", {point("900001", "Canteen"), point("900002", "Hall"), point("900002", "Lobby")});
    upload({clocking("100001", "0905121010"), clocking("900001", "0905121020"),
            clocking("900002", "0905121030")});
    run();
    EXPECT_EQ(recordLines("Alpha"),
              QStringList({"----------", "2009/05/12 10:10        (100001)   New gate",
                           "2009/05/12 10:20 00:10  (900001)   Alpha canteen",
                           "2009/05/12 10:30 00:10  (900002)   Lobby"}));
}

// Sites beyond 256 and checkpoints beyond 255 per site are filed, named and
// counted like any other.
TEST_F(ProcessOutputsTest, ThereIsNoFixedLimitOnSitesOrCheckpoints) {
    QStringList many;
    for (int i = 0; i < 300; ++i) {
        many << point(QString("4%1").arg(i, 5, 10, QChar('0')), QString("Point %1").arg(i));
    }
    site("Big", many);
    for (int i = 0; i < 260; ++i) {
        site(QString("Site%1").arg(i, 3, 10, QChar('0')),
             {point(QString("5%1").arg(i, 5, 10, QChar('0')), "Post")});
    }
    upload({clocking("400299", "0905121010"), clocking("500259", "0905121020"),
            clocking("500259", "0905121X30")});
    const ProcessResult result = run();
    EXPECT_EQ(result.reportedSites, QStringList({"Big", "Site259"}));
    EXPECT_EQ(recordLines("Big"), QStringList{"2009/05/12 10:10        (400299)   Point 299"});
    EXPECT_EQ(warningLines("Site259"), QStringList{"1 " + texts.text(26)});
}

}  // namespace
}  // namespace dorodure::test
