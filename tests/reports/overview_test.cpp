#include "pdf_words.h"
#include "report_fixture.h"
#include "reports/overview_chart.h"
#include "shell/file_error.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace dorodure::test {
namespace {

const QDate k10Aug(2011, 8, 10);
const QDate k11Aug(2011, 8, 11);
const QDate k12Aug(2011, 8, 12);

class Overview : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!pdftotextAvailable()) {
            GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
        }
        f.site("Gate House", {point("000123", "Gate"), point("000456", "Door")});
    }

    // Runs the request and reads the report back.
    QList<Page> make(const ReportRequest& r) {
        const RequestOutcome out = f.run(r);
        EXPECT_EQ(out.status, RequestOutcome::Status::Made);
        EXPECT_EQ(f.ui.opened, QStringList{f.path("Report.pdf")});
        return readPages(f.path("Report.pdf"));
    }

    // The words of the grid's rows (below the header band).
    static QList<Word> inRows(const Page& p, const QString& text) {
        QList<Word> found;
        for (const Word& w : p.find(text)) {
            if (w.top < 500) {
                found << w;
            }
        }
        return found;
    }
    static bool inRowsHas(const Page& p, const QString& text) { return !inRows(p, text).isEmpty(); }
    // The column of a time that the rows hold once; -2 when they hold it not once.
    static int columnOf(const Page& p, const QString& time) {
        const QList<Word> w = inRows(p, time);
        return w.size() == 1 ? columnAt(w.first().centreX()) : -2;
    }

    ReportFixture f;
};

TEST_F(Overview, NightShiftRunsFromNoonToNoon) {
    f.dayFile("Gate House", "110810",
              {dayLine("000123", "1108101159"), dayLine("000123", "1108101200")});
    f.dayFile("Gate House", "110811",
              {dayLine("000123", "1108110130"), dayLine("000123", "1108111159"),
               dayLine("000123", "1108111200")});
    const QList<Page> pages = make(f.overview(k11Aug, k11Aug, true));
    ASSERT_EQ(pages.size(), 1);
    const Page& p = pages.first();
    EXPECT_EQ(columnOf(p, "12:00"), 0);
    EXPECT_EQ(columnOf(p, "01:30"), 13);
    EXPECT_EQ(columnOf(p, "11:59"), 23);
    // The hour labels run from 12 to 11.
    EXPECT_EQ(columnAt(p.find("12").first().centreX()), 0);
    EXPECT_EQ(columnAt(p.find("11").first().centreX()), 23);
    EXPECT_TRUE(p.text().contains("Start : 10/08/2011 12:00 End : 11/08/2011 12:00"));
    EXPECT_TRUE(p.text().contains("Dorodure Uploader Ver 1.04s - Overview Weekly check"));
    EXPECT_TRUE(p.text().contains("Gate House"));
    EXPECT_TRUE(p.text().contains("Footer text"));
    // The request file holds the night's clockings only.
    EXPECT_EQ(
        f.requestFile(),
        (QStringList{"Night From 10/08/2011 to 11/08/2011", dayLine("000123", "1108101200"),
                     dayLine("000123", "1108110130"), dayLine("000123", "1108111159"), "Done"}));
}

TEST_F(Overview, DayShiftRunsFromMidnightToMidnight) {
    f.dayFile("Gate House", "110811",
              {dayLine("000123", "1108110000"), dayLine("000123", "1108112359")});
    f.dayFile("Gate House", "110812", {dayLine("000123", "1108120000")});
    const QList<Page> pages = make(f.overview(k11Aug, k11Aug, false));
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(columnOf(pages[0], "00:00"), 0);
    EXPECT_EQ(columnOf(pages[0], "23:59"), 23);
    EXPECT_TRUE(pages[0].text().contains("11/08/2011"));
    EXPECT_EQ(f.requestFile().first(), "Day From 11/08/2011 to 11/08/2011");
}

// Three clockings in one hour stack in one cell, 15 points apart, and make the
// row three lines high; a checkpoint with one clocking gets two lines.
TEST_F(Overview, StackedTimesAndRowHeights) {
    f.dayFile("Gate House", "110811",
              {dayLine("000123", "1108111405"), dayLine("000123", "1108111435"),
               dayLine("000123", "1108111450"), dayLine("000456", "1108110900")});
    const QList<Page> pages = make(f.overview(k11Aug, k11Aug, false));
    ASSERT_EQ(pages.size(), 1);
    const Page& p = pages.first();
    for (const char* t : {"14:05", "14:35", "14:50"}) {
        EXPECT_EQ(columnOf(p, t), 14) << t;
    }
    const double first = inRows(p, "14:05").first().bottom;
    EXPECT_NEAR(first - inRows(p, "14:35").first().bottom, 15, 0.5);
    EXPECT_NEAR(first - inRows(p, "14:50").first().bottom, 30, 0.5);
    // Labels sit at the middle of their rows: the first row 45 points high
    // from y 500, the second 30 points high below it.
    const double gate = inRows(p, "Gate").first().bottom;
    const double door = inRows(p, "Door").first().bottom;
    EXPECT_NEAR(gate - door, 45.0 / 2 + 30.0 / 2, 0.5);
    EXPECT_NEAR(first - gate, (500 - 11) - (500 - 22.5), 0.5);
}

// The same record stored twice (uploaded twice) is drawn once.
TEST_F(Overview, RepeatedClockingIsDrawnOnce) {
    const QString twice = dayLine("000123", "1108111405");
    f.dayFile("Gate House", "110811", {twice, "AB0000" + twice.mid(6), twice});
    const QList<Page> pages = make(f.overview(k11Aug, k11Aug, false));
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(inRows(pages[0], "14:05").size(), 1);
    EXPECT_EQ(f.requestClockings(), QStringList{twice});
}

TEST_F(Overview, OnePagePerShiftWithRowsForEveryCheckpoint) {
    f.dayFile("Gate House", "110810", {dayLine("000123", "1108100800")});
    f.dayFile("Gate House", "110811", {dayLine("000123", "1108110900")});
    f.dayFile("Gate House", "110812",
              {dayLine("000123", "1108121000"), dayLine("000456", "1108121100")});
    const QList<Page> pages = make(f.overview(k10Aug, k12Aug, false));
    ASSERT_EQ(pages.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(inRowsHas(pages[i], "Door")) << i;
        EXPECT_TRUE(inRowsHas(pages[i], "Gate")) << i;
        EXPECT_TRUE(pages[i].text().contains(QString("Page %1").arg(i + 1))) << i;
    }
    EXPECT_FALSE(inRowsHas(pages[0], "11:00"));
    EXPECT_FALSE(inRowsHas(pages[1], "11:00"));
    EXPECT_EQ(columnOf(pages[2], "11:00"), 11);
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

TEST_F(Overview, ShiftWithoutClockingsGetsAMessageAndNoPage) {
    f.dayFile("Gate House", "110810", {dayLine("000123", "1108101300")});
    f.dayFile("Gate House", "110812", {dayLine("000123", "1108120800")});
    const QList<Page> pages = make(f.overview(QDate(2011, 8, 9), k12Aug, false));
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(f.ui.messages, (QStringList{"Nothing found 09/08/2011", "Nothing found 11/08/2011"}));
    EXPECT_TRUE(pages[0].text().contains("10/08/2011"));
    EXPECT_TRUE(pages[1].text().contains("12/08/2011"));
    EXPECT_TRUE(pages[1].text().contains("Page 2"));
}

TEST_F(Overview, NightWithoutClockingsNamesBothEnds) {
    f.dayFile("Gate House", "110812", {dayLine("000123", "1108120800")});
    make(f.overview(k10Aug, k12Aug, true));
    EXPECT_EQ(f.ui.messages,
              QStringList{"Nothing found Start : 10/08/2011 12:00  End : 11/08/2011 12:00"});
}

TEST_F(Overview, PointFilterLeavesOneRow) {
    f.dayFile("Gate House", "110811",
              {dayLine("000123", "1108110800"), dayLine("000456", "1108110900")});
    ReportRequest r = f.overview(k11Aug, k11Aug, false);
    r.pointFilter = true;
    r.pointSelectorText = "(000456) Door";
    const QList<Page> pages = make(r);
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(inRowsHas(pages[0], "Door"));
    EXPECT_FALSE(inRowsHas(pages[0], "Gate"));
    EXPECT_FALSE(inRowsHas(pages[0], "08:00"));
}

// Flag bits in the hour byte and the marker bit in the minute byte do not
// move a clocking out of its cell.
TEST_F(Overview, FlaggedHourAndMarkerMinuteArePlacedByTheirPlainTime) {
    f.dayFile("Gate House", "110810",
              {dayLine("000123", "1108109205"), dayLine("000456", "11081014A5")});
    f.dayFile("Gate House", "110811", {dayLine("000123", "1108110300")});
    const QList<Page> pages = make(f.overview(k11Aug, k11Aug, true));
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(columnOf(pages[0], "12:05"), 0);
    EXPECT_EQ(columnOf(pages[0], "14:25"), 2);
    // The line after them is drawn too.
    EXPECT_EQ(columnOf(pages[0], "03:00"), 15);
}

// A checkpoint line with an id and a flag but no name still has a row.
TEST_F(Overview, CheckpointWithoutNameGetsARowNamedByItsId) {
    f.site("Gate House", {point("000123", "Gate"), "000777 =", point("000456", "Door")});
    f.dayFile("Gate House", "110811",
              {dayLine("000777", "1108110700"), dayLine("000456", "1108110800")});
    const QList<Page> pages = make(f.overview(k11Aug, k11Aug, false));
    ASSERT_EQ(pages.size(), 1);
    ASSERT_TRUE(inRowsHas(pages[0], "000777"));
    EXPECT_EQ(columnOf(pages[0], "07:00"), 7);
    EXPECT_EQ(columnOf(pages[0], "08:00"), 8);
    EXPECT_GT(inRows(pages[0], "000777").first().bottom, inRows(pages[0], "Door").first().bottom);
}

// Drawing straight from a request file: an unreadable line is reported once
// and does not hold up the lines after it.
TEST_F(Overview, UnreadableRequestLineIsReportedOnceAndSkipped) {
    OverviewInput in;
    in.site = "Gate House";
    in.plan = planShifts(k11Aug, k12Aug, false);
    in.checkpoints = {{"000123", "Gate"}, {"000456", "Door"}};
    const QString bad = dayLine("000123", "11081109Z0");
    in.requestLines = {bad, dayLine("000123", "1108111000"), dayLine("000456", "1108121100"),
                       "Done"};
    EXPECT_EQ(drawOverview(*f.pdf, f.texts, f.ui, in), 2);
    EXPECT_EQ(f.ui.messages, QStringList{"Error O=" + bad});
    f.pdf->SavePdf(f.path("direct.pdf"));
    const QList<Page> pages = readPages(f.path("direct.pdf"));
    ASSERT_EQ(pages.size(), 2);
    EXPECT_EQ(columnOf(pages[0], "10:00"), 10);
    EXPECT_EQ(columnOf(pages[1], "11:00"), 11);
}

TEST_F(Overview, NothingGatheredMakesNoDocument) {
    const RequestOutcome out = f.run(f.overview(k11Aug, k11Aug, true));
    EXPECT_EQ(out.status, RequestOutcome::Status::NothingFound);
    EXPECT_FALSE(QFileInfo::exists(f.path("Report.pdf")));
    EXPECT_TRUE(f.ui.opened.isEmpty());
    EXPECT_EQ(f.ui.messages,
              QStringList{"Nothing found\n\rFrom 12:00:00 10/08/2011 to 12:00:00 11/08/2011"});
}

// "Report.pdf" cannot be replaced (here a folder holds the name): the error
// ends the request and nothing is opened.
TEST_F(Overview, UnwritableReportEndsTheRequestWithoutOpening) {
    f.dayFile("Gate House", "110811", {dayLine("000123", "1108110800")});
    f.dir.mkdir("Report.pdf/inside");
    EXPECT_THROW(f.run(f.overview(k11Aug, k11Aug, false)), FileError);
    EXPECT_TRUE(f.ui.opened.isEmpty());
}

}  // namespace
}  // namespace dorodure::test
