#include "report_fixture.h"

#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace dorodure::test {
namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

class ReportCli : public ::testing::Test {
  protected:
    void SetUp() override {
        f.site("Gate House", {point("000123", "Gate"), point("000456", "Door")});
        f.dayFile("Gate House", "110810",
                  {dayLine("000123", "1108101300"), dayLine("000456", "1108101400")});
        f.dayFile("Gate House", "110811", {dayLine("000123", "1108110900")});
    }

    CliRun run(const QStringList& args) {
        QProcess p;
        p.setWorkingDirectory(f.dir.path());
        p.start(DORODURE_CLI, QStringList{"report"} + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitCode(), QString::fromLocal8Bit(p.readAllStandardOutput()),
                QString::fromLocal8Bit(p.readAllStandardError())};
    }

    ReportFixture f;
};

TEST_F(ReportCli, ListAndOverviewSayWhereTheReportIs) {
    const CliRun list = run({"list", "--site", "Gate House", "--from", "2011-08-10 13:30", "--to",
                             "2011-08-11 12:00", "--point", "123"});
    EXPECT_EQ(list.exitCode, 0) << list.err.toStdString();
    EXPECT_TRUE(list.out.contains("Report written to: " + f.path("Processed.txt")));
    // The 13:00 clocking is before the window, 000456 is filtered out.
    EXPECT_EQ(f.requestClockings(), QStringList{dayLine("000123", "1108110900")});

    const CliRun overview = run({"overview", "--site", "Gate House", "--from", "2011-08-11", "--to",
                                 "2011-08-11", "--night"});
    EXPECT_EQ(overview.exitCode, 0) << overview.err.toStdString();
    EXPECT_TRUE(overview.out.contains("Report written to: " + f.path("Report.pdf")));
    EXPECT_TRUE(QFileInfo::exists(f.path("Report.pdf")));
    EXPECT_EQ(f.requestClockings().size(), 3);
}

TEST_F(ReportCli, FailuresExitNonZeroWithAMessage) {
    struct Case {
        QStringList args;
        int exitCode;
        const char* message;
    };
    const QList<Case> cases{
        {{"list", "--site", "Gate House", "--from", "2011-09-01 08:00", "--to", "2011-09-01 17:00"},
         1,
         "From 08:00:00"},
        {{"overview", "--site", "Nowhere", "--from", "2011-08-11", "--to", "2011-08-11"},
         2,
         "no site \"Nowhere\""},
        {{"list", "--site", "Gate House", "--from", "2011-08-10"}, 2, "--from"},
        {{"summary"}, 2, "unknown report kind"},
    };
    for (const Case& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
    }
}

TEST_F(ReportCli, DownloadsListTheStoredReports) {
    writeCrlfLines(f.path("Gate House/08121530.txt"), {"report"});
    writeCrlfLines(f.path("Gate House/08121530.pdf"), {"report"});
    const CliRun r = run({"downloads", "--site", "Gate House", "--pdf"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains(" 15:30  " + f.path("Gate House/08121530.pdf")));
    EXPECT_EQ(r.out.count('\n'), 1);
}

}  // namespace
}  // namespace dorodure::test
