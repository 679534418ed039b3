#include "report_fixture.h"
#include "shell/text_file.h"

#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace dorodure::test {
namespace {

const QDate k10Aug(2011, 8, 10);
const QDate k11Aug(2011, 8, 11);

class ClockingList : public ::testing::Test {
  protected:
    void SetUp() override {
        f.site("Gate House", {point("000123", "Front gate"), point("000456", "Back door"),
                              point("000789", "Car park")});
        f.dayFile("Gate House", "110810",
                  {dayLine("000456", "1108101159"), dayLine("000456", "1108101200"),
                   dayLine("000123", "1108101300"), dayLine("000999", "1108101400"),
                   dayLine("000456", "1108101500")});
        f.dayFile("Gate House", "110811",
                  {dayLine("000123", "1108110900"), dayLine("000123", "1108111200"),
                   dayLine("000123", "1108111201")});
    }

    ReportRequest simpleList() const { return f.list(k10Aug, "12h00", k11Aug, "12h00"); }

    ReportFixture f;
};

TEST_F(ClockingList, UnsortedListKeepsTheWindowInTimeOrder) {
    const RequestOutcome out = f.run(simpleList());
    EXPECT_EQ(out.status, RequestOutcome::Status::Made);
    EXPECT_EQ(out.gatheredLines, 6);
    EXPECT_EQ(
        f.requestFile(),
        (QStringList{"Id : From 12:00:00 10/08/2011 to 12:00:00 11/08/2011",
                     dayLine("000456", "1108101200"), dayLine("000123", "1108101300"),
                     dayLine("000999", "1108101400"), dayLine("000456", "1108101500"),
                     dayLine("000123", "1108110900"), dayLine("000123", "1108111200"), "Done"}));
    EXPECT_TRUE(QFileInfo::exists(f.path("Processed.txt")));
    EXPECT_FALSE(out.reportFiles.isEmpty());
    // The processing run does not stay filtered after the request.
    EXPECT_FALSE(f.ctx.pointFilterChecked);
}

// 000999 was deleted from the list: the sorted list leaves it out.
TEST_F(ClockingList, SortedListGroupsByCheckpointInListOrder) {
    ReportRequest r = simpleList();
    r.sortByCheckpoints = true;
    EXPECT_EQ(f.run(r).status, RequestOutcome::Status::Made);
    EXPECT_EQ(f.requestFile(),
              (QStringList{"Ids: From 12:00:00 10/08/2011 to 12:00:00 11/08/2011",
                           dayLine("000123", "1108101300"), dayLine("000123", "1108110900"),
                           dayLine("000123", "1108111200"), dayLine("000456", "1108101200"),
                           dayLine("000456", "1108101500"), "Done"}));
}

TEST_F(ClockingList, PointFilterByEntryOrTypedNumberKeepsOneCheckpoint) {
    for (const QString& selector : {QStringLiteral("(000123) Front gate"), QStringLiteral("123")}) {
        ReportRequest r = simpleList();
        r.pointFilter = true;
        r.pointSelectorText = selector;
        EXPECT_EQ(f.run(r).status, RequestOutcome::Status::Made) << selector.toStdString();
        EXPECT_EQ(f.requestClockings(),
                  (QStringList{dayLine("000123", "1108101300"), dayLine("000123", "1108110900"),
                               dayLine("000123", "1108111200")}))
            << selector.toStdString();
        EXPECT_TRUE(f.requestFile().first().startsWith("Ids: "));
    }
}

TEST_F(ClockingList, NothingFoundShowsTheWindowAndLeavesTwoLines) {
    const RequestOutcome out =
        f.run(f.list(QDate(2011, 9, 1), "08h00", QDate(2011, 9, 2), "17h00"));
    EXPECT_EQ(out.status, RequestOutcome::Status::NothingFound);
    EXPECT_EQ(out.requestLines, 2);
    EXPECT_EQ(f.requestFile(),
              (QStringList{"Id : From 08:00:00 01/09/2011 to 17:00:00 02/09/2011", "Done"}));
    EXPECT_EQ(f.ui.messages,
              QStringList{"Nothing found\n\rFrom 08:00:00 01/09/2011 to 17:00:00 02/09/2011"});
    EXPECT_FALSE(QFileInfo::exists(f.path("Processed.txt")));
}

TEST_F(ClockingList, FilterMatchingNoCheckpointEndsAsNothingFound) {
    ReportRequest r = simpleList();
    r.pointFilter = true;
    r.pointSelectorText = "424242";
    const RequestOutcome out = f.run(r);
    EXPECT_EQ(out.status, RequestOutcome::Status::NothingFound);
    EXPECT_EQ(f.requestFile().size(), 2);
    EXPECT_TRUE(f.ui.messages.last().startsWith("Nothing found\n\rFrom 12:00:00 10/08/2011"));
}

TEST_F(ClockingList, UnreadableEdgeLineIsReportedAndLeftOut) {
    f.dayFile("Gate House", "110811",
              {dayLine("000123", "11081109X0"), dayLine("000123", "1108110900")});
    EXPECT_EQ(f.run(simpleList()).status, RequestOutcome::Status::Made);
    EXPECT_EQ(f.ui.messages.count("Unreadable clocking"), 1);
    EXPECT_FALSE(f.requestFile().contains(dayLine("000123", "11081109X0")));
}

TEST_F(ClockingList, InvalidTimesAndDatesAreRefused) {
    const QList<ReportRequest> bad{
        f.list(k10Aug, "24h00", k11Aug, "12h00"), f.list(k10Aug, "12h00", k11Aug, "12h60"),
        f.list(k10Aug, "ab h00", k11Aug, "12h00"), f.list(QDate(), "12h00", k11Aug, "12h00")};
    for (const ReportRequest& r : bad) {
        f.ui.messages.clear();
        const RequestOutcome out = f.run(r);
        const std::string what = (r.fromTime + " " + r.toTime).toStdString();
        EXPECT_EQ(out.status, RequestOutcome::Status::Refused) << what;
        ASSERT_EQ(f.ui.messages.size(), 1) << what;
        EXPECT_FALSE(QFileInfo::exists(f.path("Raw.txt"))) << what;
    }
    EXPECT_TRUE(f.ui.messages.first().contains("date"));
}

// A waiting upload is never overwritten by a request.
TEST_F(ClockingList, UnprocessedUploadIsNotOverwritten) {
    const QStringList upload{"Id : 00001234", "000000000123110811090012"};
    writeCrlfLines(f.path("Raw.txt"), upload);
    const RequestOutcome out = f.run(simpleList());
    EXPECT_EQ(out.status, RequestOutcome::Status::Refused);
    EXPECT_EQ(f.requestFile(), upload);
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_TRUE(f.ui.messages.first().contains("not been processed"));

    // Once processed (ends with "Done") the file may be used again.
    writeCrlfLines(f.path("Raw.txt"), upload + QStringList{"Done"});
    EXPECT_EQ(f.run(simpleList()).status, RequestOutcome::Status::Made);
}

TEST_F(ClockingList, OldReportPdfIsDeletedOnlyForTextReports) {
    writeCrlfLines(f.path("Report.pdf"), {"old"});
    ReportRequest r = simpleList();
    r.createPdf = true;
    EXPECT_TRUE(removeOldReportPdf(f.ctx, true));
    EXPECT_TRUE(QFileInfo::exists(f.path("Report.pdf")));
    EXPECT_TRUE(removeOldReportPdf(f.ctx, false));
    EXPECT_FALSE(QFileInfo::exists(f.path("Report.pdf")));
}

TEST_F(ClockingList, ReportPdfThatCannotBeDeletedStopsTheRequest) {
    // A folder of that name cannot be removed as a file.
    f.dir.mkdir("Report.pdf/inside");
    ReportRequest r = simpleList();
    r.createPdf = false;
    const RequestOutcome out = f.run(r);
    EXPECT_EQ(out.status, RequestOutcome::Status::Refused);
    EXPECT_EQ(f.ui.messages, QStringList{"Report.pdf is in use"});
    EXPECT_FALSE(QFileInfo::exists(f.path("Raw.txt")));
}

TEST_F(ClockingList, TextReportWithoutPdfWhenTheBoxIsUnchecked) {
    ReportRequest r = simpleList();
    r.createPdf = false;
    EXPECT_EQ(f.run(r).status, RequestOutcome::Status::Made);
    EXPECT_FALSE(QFileInfo::exists(f.path("Report.pdf")));
    EXPECT_TRUE(f.ui.opened.contains(f.path("Processed.txt")));
}

}  // namespace
}  // namespace dorodure::test
