#include "reports/report_command_line.h"

#include <gtest/gtest.h>

namespace dorodure {
namespace {

TEST(ReportCommand, ListTakesDatesTimesAndOptions) {
    const ReportCommand c =
        parseReportCommand({"list", "--site", "Gate House", "--from", "2011-08-10 8:30",
                            "--to=2011-08-11 17:05", "--sort", "--point", "123"});
    EXPECT_EQ(c.mode, ReportCommand::Mode::List);
    const ReportRequest& r = c.request;
    EXPECT_EQ(r.site, "Gate House");
    EXPECT_EQ(r.kind, ReportKind::ClockingList);
    EXPECT_EQ(r.fromDate, QDate(2011, 8, 10));
    EXPECT_EQ(r.fromTime, "08h30");
    EXPECT_EQ(r.toDate, QDate(2011, 8, 11));
    EXPECT_EQ(r.toTime, "17h05");
    EXPECT_TRUE(r.sortByCheckpoints);
    EXPECT_TRUE(r.pointFilter);
    EXPECT_EQ(r.pointSelectorText, "123");
}

TEST(ReportCommand, AdvancedDateRulesApply) {
    const ReportCommand list = parseReportCommand(
        {"list", "--site", "S", "--from", "2011-08-15 08:00", "--to", "2011-08-11 17:00"});
    EXPECT_EQ(list.request.fromDate, QDate(2011, 8, 11));

    const ReportCommand night = parseReportCommand(
        {"overview", "--site", "S", "--from", "2011-08-11", "--to", "2011-08-11", "--night"});
    EXPECT_TRUE(night.request.nightShift);
    EXPECT_EQ(night.request.fromDate, QDate(2011, 8, 10));
    EXPECT_EQ(night.request.fromTime, "12h00");
    EXPECT_EQ(night.request.toTime, "12h00");
    EXPECT_TRUE(night.request.createPdf);

    const ReportCommand day = parseReportCommand(
        {"overview", "--site", "S", "--from", "2011-08-01", "--to", "2011-08-11"});
    EXPECT_EQ(day.request.fromDate, QDate(2011, 8, 1));
    EXPECT_EQ(day.request.fromTime, "00h00");
    EXPECT_EQ(day.request.toTime, "23h59");
}

TEST(ReportCommand, DownloadsTakeTheFileType) {
    const ReportCommand c = parseReportCommand({"downloads", "--site", "S", "--pdf"});
    EXPECT_EQ(c.mode, ReportCommand::Mode::Downloads);
    EXPECT_TRUE(c.pdf);
    EXPECT_FALSE(parseReportCommand({"downloads", "--site", "S"}).pdf);
}

TEST(ReportCommand, BadCommandLinesAreRefused) {
    const QList<QStringList> bad{
        {},
        {"chart", "--site", "S"},
        {"list", "--from", "2011-08-10 08:00", "--to", "2011-08-11 08:00"},
        {"list", "--site", "S", "--from", "2011-08-10", "--to", "2011-08-11 08:00"},
        {"list", "--site", "S", "--from", "2011-08-10 24:00", "--to", "2011-08-11 08:00"},
        {"list", "--site", "S", "--from", "2011-08-10 08:00", "--to", "2011-13-11 08:00"},
        {"overview", "--site", "S", "--from", "2011-08-10", "--to"},
        {"overview", "--site", "S", "--from", "2011-08-10", "--to", "2011-08-11", "--sort"},
        {"downloads", "--site", "S", "extra"},
    };
    for (const QStringList& args : bad) {
        EXPECT_THROW(parseReportCommand(args), ReportUsageError) << args.join(' ').toStdString();
    }
}

}  // namespace
}  // namespace dorodure
