#include "pdf_test_fixture.h"

namespace dorodure::test {
namespace {

constexpr double kTimes = PdfPageWords::kTimesDescent;

// The centre of hour column j.
double columnCentre(int j) {
    return 201 + 26 * j;
}

double centreOf(const PdfWord& word) {
    return (word.xMin + word.xMax) / 2;
}

// The centre of the only word `text`, checked against column j and baseline y.
void expectInCell(const PdfPageWords& page, const QString& text, int column, double y) {
    const PdfWord word = page.only(text);
    EXPECT_NEAR(centreOf(word), columnCentre(column), 0.5) << text.toStdString();
    EXPECT_TRUE(page.onBaseline(word, y, 10.5))
        << text.toStdString() << " yMax " << word.yMax << " expected baseline " << y;
}

// The lowest baseline on the page above the footer line, from the bottom.
double lowestBaseline(const PdfPageWords& page, double footerTop) {
    double lowest = page.height;
    for (const PdfWord& word : page.words) {
        const double baseline = page.height - (word.yMax - kTimes * 10.5);
        if (baseline > footerTop) {
            lowest = std::min(lowest, baseline);
        }
    }
    return lowest;
}

using ChartDocumentTest = PdfDocumentTest;

TEST_F(ChartDocumentTest, DayPageHasHeaderHourLabelsAndFooter) {
    pdf.StartChartDocument(QStringLiteral("Title"), QStringLiteral("Footer"),
                           QStringLiteral("Site"));
    pdf.AddChartPage(QStringLiteral("First"), QStringLiteral("Second"), false);
    const QList<PdfPageWords> pages = saveAndRead();
    ASSERT_EQ(pages.size(), 1);
    const PdfPageWords& page = pages[0];
    EXPECT_EQ(page.width, 842);
    EXPECT_EQ(page.height, 595);
    const PdfWord title = page.only(QStringLiteral("Title"));
    EXPECT_NEAR(title.xMin, 30, 0.5);
    EXPECT_TRUE(page.onBaseline(title, 565, 14, PdfPageWords::kHelveticaDescent));
    EXPECT_TRUE(page.onBaseline(page.only(QStringLiteral("Site")), 540, 18,
                                PdfPageWords::kHelveticaDescent));
    EXPECT_NEAR(page.only(QStringLiteral("ROZEDAVA")).xMin, 685, 0.5);
    EXPECT_TRUE(page.onBaseline(page.only(QStringLiteral("First")), 515, 10.5));
    EXPECT_TRUE(page.onBaseline(page.only(QStringLiteral("Second")), 505, 10.5));
    for (int hour = 0; hour < 24; ++hour) {
        expectInCell(page, QStringLiteral("%1").arg(hour, 2, 10, QLatin1Char('0')), hour, 510);
    }
    EXPECT_EQ(page.words.last().text, QStringLiteral("1"));
    EXPECT_NEAR(page.words.last().xMax, 812, 0.5);
}

TEST_F(ChartDocumentTest, NightPageRunsFromNoonToNoon) {
    pdf.StartChartDocument(QStringLiteral("Title"), QStringLiteral("Footer"),
                           QStringLiteral("Site"));
    pdf.AddChartPage(QStringLiteral("First"), QString(), true);
    pdf.AddChartRow({"12:00", "23:10", "00:05", "11:59"}, QStringLiteral("Gate"), 2);
    const PdfPageWords page = saveAndRead().value(0);
    expectInCell(page, QStringLiteral("12"), 0, 510);
    expectInCell(page, QStringLiteral("23"), 11, 510);
    expectInCell(page, QStringLiteral("00"), 12, 510);
    expectInCell(page, QStringLiteral("11"), 23, 510);
    expectInCell(page, QStringLiteral("12:00"), 0, 489);
    expectInCell(page, QStringLiteral("23:10"), 11, 489);
    expectInCell(page, QStringLiteral("00:05"), 12, 489);
    expectInCell(page, QStringLiteral("11:59"), 23, 489);
}

TEST_F(ChartDocumentTest, TimesOfOneHourStackInOneCell) {
    pdf.StartChartDocument(QStringLiteral("Title"), QStringLiteral("Footer"),
                           QStringLiteral("Site"));
    pdf.AddChartPage(QStringLiteral("First"), QString(), false);
    pdf.AddChartRow({"14:05", "14:35", "14:50"}, QStringLiteral("Gate"), 3);
    pdf.AddChartRow({"09:00"}, QStringLiteral("Yard"), 2);
    const PdfPageWords page = saveAndRead().value(0);
    // The first row spans 455 to 500, the second 425 to 455.
    expectInCell(page, QStringLiteral("14:05"), 14, 489);
    expectInCell(page, QStringLiteral("14:35"), 14, 474);
    expectInCell(page, QStringLiteral("14:50"), 14, 459);
    expectInCell(page, QStringLiteral("09:00"), 9, 444);
    const PdfWord gate = page.only(QStringLiteral("Gate"));
    EXPECT_NEAR(gate.xMin, 35, 0.5);
    EXPECT_TRUE(page.onBaseline(gate, 477.5, 10.5));
    EXPECT_TRUE(page.onBaseline(page.only(QStringLiteral("Yard")), 440, 10.5));
}

TEST_F(ChartDocumentTest, TimesOutOfColumnOrderStopTheRow) {
    pdf.StartChartDocument(QStringLiteral("Title"), QStringLiteral("Footer"),
                           QStringLiteral("Site"));
    pdf.AddChartPage(QStringLiteral("First"), QString(), false);
    pdf.AddChartRow({"15:00", "14:00", "16:00"}, QStringLiteral("Gate"), 2);
    const PdfPageWords page = saveAndRead().value(0);
    expectInCell(page, QStringLiteral("15:00"), 15, 489);
    EXPECT_FALSE(page.has(QStringLiteral("14:00")));
    EXPECT_FALSE(page.has(QStringLiteral("16:00")));
}

TEST_F(ChartDocumentTest, RowBelowTheMarginGoesToANewPageWithTheSameHead) {
    pdf.StartChartDocument(QStringLiteral("Title"), QStringLiteral("Footer"),
                           QStringLiteral("Site"));
    pdf.AddChartPage(QStringLiteral("First"), QStringLiteral("Second"), true);
    // Rows of 30 points: fifteen fit above y 40 (the last from 50 to 80).
    for (int i = 1; i <= 16; ++i) {
        pdf.AddChartRow({}, label("R", i), 2);
    }
    EXPECT_EQ(pdf.pageCount(), 2);
    const QList<PdfPageWords> pages = saveAndRead();
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].onBaseline(pages[0].only(QStringLiteral("R015")), 65, 10.5));
    EXPECT_FALSE(pages[0].has(QStringLiteral("R016")));
    EXPECT_TRUE(pages[1].onBaseline(pages[1].only(QStringLiteral("R016")), 485, 10.5));
    EXPECT_TRUE(pages[1].has(QStringLiteral("Second")));
    expectInCell(pages[1], QStringLiteral("12"), 0, 510);
    EXPECT_EQ(pages[1].words.last().text, QStringLiteral("2"));
}

TEST_F(ChartDocumentTest, RowTallerThanAPageContinuesOnTheNextPages) {
    QStringList times;
    for (int i = 0; i < 70; ++i) {
        times << QStringLiteral("03:%1").arg(i, 2, 10, QLatin1Char('0'));
    }
    pdf.StartChartDocument(QStringLiteral("Title"), QStringLiteral("Footer"),
                           QStringLiteral("Site"));
    pdf.AddChartPage(QStringLiteral("First"), QString(), false);
    pdf.AddChartRow({"01:00"}, QStringLiteral("Before"), 2);
    pdf.AddChartRow(times, QStringLiteral("Busy"), 70);
    pdf.AddChartRow({"05:00"}, QStringLiteral("After"), 2);
    const QList<PdfPageWords> pages = saveAndRead();
    // The tall row starts on a fresh page: 30 + 30 + 10 of its lines.
    ASSERT_EQ(pages.size(), 4);
    EXPECT_TRUE(pages[0].has(QStringLiteral("Before")));
    const int firstOnPage[] = {0, 30, 60};
    for (int p = 1; p <= 3; ++p) {
        SCOPED_TRACE(testing::Message() << "page " << p + 1);
        const PdfPageWords& page = pages[p];
        expectInCell(page, QStringLiteral("03"), 3, 510);
        expectInCell(page, times[firstOnPage[p - 1]], 3, 489);
        EXPECT_EQ(page.find(QStringLiteral("Busy")).size(), 1);
        EXPECT_GE(lowestBaseline(page, 30), 40);
        EXPECT_EQ(page.words.last().text, QString::number(p + 1));
    }
    expectInCell(pages[1], times[29], 3, 54);
    for (const QString& time : times) {
        int seen = 0;
        for (const PdfPageWords& page : pages) {
            seen += static_cast<int>(page.find(time).size());
        }
        EXPECT_EQ(seen, 1) << time.toStdString();
    }
    // The next row continues under the tall row's last part (350 to 500).
    expectInCell(pages[3], QStringLiteral("05:00"), 5, 339);
}

}  // namespace
}  // namespace dorodure::test
