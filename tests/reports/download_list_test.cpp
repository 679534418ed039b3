#include "reports/download_list.h"
#include "report_fixture.h"
#include "reports/report_texts.h"
#include "reports/site_information.h"
#include "shell/text_file.h"

#include <QDateTime>
#include <QFile>

#include <gtest/gtest.h>

namespace dorodure::test {
namespace {

void touch(const QString& path, const QDateTime& when) {
    writeCrlfLines(path, {"report"});
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
}

class Downloads : public ::testing::Test {
  protected:
    void SetUp() override {
        f.site("Gate House", {point("000123", "Gate")});
        folder = f.store->sitePath("Gate House");
    }
    QString file(const QString& name) const { return textfile::join(folder, name); }

    ReportFixture f;
    QString folder;
};

TEST_F(Downloads, OneRowPerReportOfTheChosenType) {
    const QDateTime y2011(QDate(2011, 8, 12), QTime(15, 31));
    touch(file("08121530.txt"), y2011);
    touch(file("08121530.pdf"), y2011);
    touch(file("08121530.csv"), y2011);
    touch(file("01020304.txt"), QDateTime(QDate(2012, 1, 2), QTime(3, 4)));
    for (const bool pdf : {false, true}) {
        const std::vector<DownloadRow> rows = listDownloadReports(folder, pdf, f.ui);
        ASSERT_EQ(rows.size(), pdf ? 1u : 2u);
        EXPECT_EQ(rows[0].date, "2011/08/12");
        EXPECT_EQ(rows[0].time, "15:30");
        EXPECT_EQ(downloadReportToOpen(folder, rows[0], pdf),
                  file(pdf ? "08121530.pdf" : "08121530.txt"));
    }
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

TEST_F(Downloads, RowsAreSortedByDate) {
    touch(file("12311000.txt"), QDateTime(QDate(2010, 12, 31), QTime(10, 0)));
    touch(file("01010900.txt"), QDateTime(QDate(2011, 1, 1), QTime(9, 0)));
    touch(file("01010800.txt"), QDateTime(QDate(2011, 1, 1), QTime(8, 0)));
    QStringList order;
    for (const DownloadRow& r : listDownloadReports(folder, false, f.ui)) {
        order << r.date + " " + r.time;
    }
    EXPECT_EQ(order, (QStringList{"2010/12/31 10:00", "2011/01/01 08:00", "2011/01/01 09:00"}));
}

TEST_F(Downloads, ForeignFileIsAnEmptyRowAndReported) {
    touch(file("notes.txt"), QDateTime::currentDateTime());
    const std::vector<DownloadRow> rows = listDownloadReports(folder, false, f.ui);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0].date.isEmpty());
    EXPECT_TRUE(downloadReportToOpen(folder, rows[0], false).isEmpty());
    EXPECT_EQ(f.ui.messages, QStringList{"File \"notes.txt\" does not belong in the directory " +
                                         folder + "\r" + folder + "\r Please remove it"});
}

TEST_F(Downloads, TextWantedButMissingOpensThePdf) {
    touch(file("08121530.pdf"), QDateTime(QDate(2011, 8, 12), QTime(15, 31)));
    const DownloadRow row{"2011/08/12", "15:30", "08121530.pdf"};
    EXPECT_EQ(downloadReportToOpen(folder, row, false), file("08121530.pdf"));
    writeCrlfLines(f.path("Report.pdf"), {"old"});
    EXPECT_EQ(openDownloadReports(f.ctx, "Gate House", {row}, false),
              QStringList{file("08121530.pdf")});
    EXPECT_EQ(f.ui.opened, QStringList{file("08121530.pdf")});
    // The text type asked for: the old request PDF is removed first.
    EXPECT_FALSE(QFile::exists(f.path("Report.pdf")));
}

TEST(FilterId, SelectorTextGivesSixCharacters) {
    EXPECT_EQ(filterIdFromSelector("(000123) Front gate"), "000123");
    EXPECT_EQ(filterIdFromSelector("123"), "000123");
    EXPECT_EQ(filterIdFromSelector("0FA500"), "0FA500");
}

class SiteInfo : public ::testing::Test {
  protected:
    ReportFixture f;
};

TEST_F(SiteInfo, ShowsListValuesAndPatrolSeparator) {
    f.site("Gate House", {point("000123", "Gate"), "000456 # Door", point("000789", "Park")});
    const SiteInformation info = loadSiteInformation(*f.store, f.texts, "Gate House");
    EXPECT_EQ(info.checkpointCount, 3);
    EXPECT_EQ(info.patrolSeparator, "(000456) Door");
    EXPECT_EQ(info.pointSelector, (QStringList{"(000123) Gate", "(000456) Door", "(000789) Park"}));
    EXPECT_EQ(info.patrolSeparatorList.first(), "none");
    EXPECT_EQ(info.patrolSeparatorIndex, 2);
    EXPECT_EQ(info.roundTime, "000");
    EXPECT_FALSE(info.listCreated);
}

TEST_F(SiteInfo, MissingListIsCreatedAndHasNoSeparator) {
    f.dir.mkdir("Empty Site/Raw");
    f.store->loadSites();
    const SiteInformation info = loadSiteInformation(*f.store, f.texts, "Empty Site");
    EXPECT_TRUE(info.listCreated);
    EXPECT_EQ(info.checkpointCount, 0);
    EXPECT_EQ(info.patrolSeparator, "(000000) Patrol Seperator");
    EXPECT_EQ(info.patrolSeparatorIndex, 0);
    EXPECT_EQ(readCrlfLines(f.store->checkpointListPath("Empty Site")),
              (QStringList{"//Checkpoint list for Empty Site", "", "", "//End of File"}));
}

TEST_F(SiteInfo, ChoosingASeparatorFlagsExactlyThatCheckpoint) {
    f.site("Gate House", {point("000123", "Gate"), "000456 # Door", point("000789", "Park")});
    auto flags = [&] {
        QString s;
        for (const TCheckpoint& c : f.store->readCheckpointList("Gate House").checkpoints) {
            s += c.flag;
        }
        return s;
    };
    choosePatrolSeparator(*f.store, "Gate House", 3);
    EXPECT_EQ(flags(), "==#");
    choosePatrolSeparator(*f.store, "Gate House", 0);
    EXPECT_EQ(flags(), "===");
    EXPECT_EQ(f.store->readCheckpointList("Gate House").checkpoints.size(), 3u);
}

}  // namespace
}  // namespace dorodure::test
