#include "pdf_test_fixture.h"
#include "processing/pdf/print_time.h"

#include <QList>

namespace dorodure::test {
namespace {

const QString kDate = QStringLiteral("2009/05/12");
constexpr double kTimes = PdfPageWords::kTimesDescent;
constexpr double kHelvetica = PdfPageWords::kHelveticaDescent;
constexpr double kCourier = PdfPageWords::kCourierDescent;

struct Placement {
    const char* word;
    double x;
    double y;
    double size;
    double descent;
};

void expectPlaced(const PdfPageWords& page, const Placement& p) {
    const PdfWord word = page.only(QString::fromUtf8(p.word));
    EXPECT_NEAR(word.xMin, p.x, 0.5) << p.word;
    EXPECT_TRUE(page.onBaseline(word, p.y, p.size, p.descent))
        << p.word << " yMax " << word.yMax << " expected baseline " << p.y;
}

// The row whose name is `name`: its words on the same baseline.
QList<PdfWord> rowOf(const PdfPageWords& page, const QString& name) {
    const PdfWord nameWord = page.only(name);
    QList<PdfWord> row;
    for (const PdfWord& word : page.words) {
        if (std::abs(word.yMax - nameWord.yMax) < 0.1) {
            row << word;
        }
    }
    return row;
}

bool rowHasDate(const PdfPageWords& page, const QString& name) {
    for (const PdfWord& word : rowOf(page, name)) {
        if (word.text == kDate) {
            return true;
        }
    }
    return false;
}

using ListDocumentTest = PdfDocumentTest;

TEST_F(ListDocumentTest, FirstPageHasHeaderFirstRowAndFooter) {
    pdf.StartListDocument(QStringLiteral("Title"), QStringLiteral("Footer"),
                          QStringLiteral("Subtitle"));
    pdf.AddListRow(kDate, QStringLiteral("10:00"), QStringLiteral("Gate"), false, 7);
    EXPECT_EQ(pdf.pageCount(), 1);
    const QList<PdfPageWords> pages = saveAndRead();
    ASSERT_EQ(pages.size(), 1);
    const PdfPageWords& page = pages[0];
    EXPECT_EQ(page.width, 595);
    EXPECT_EQ(page.height, 842);
    const Placement placements[] = {
        {"Title", 30, 812, 14, kHelvetica},   {"Subtitle", 30, 787, 18, kHelvetica},
        {"ROZEDAVA", 438, 797, 24, kCourier}, {"Tours", 440, 787, 13, kCourier},
        {"Date", 35, 760, 10.5, kTimes},      {"Time", 85, 760, 10.5, kTimes},
        {"Location", 150, 760, 10.5, kTimes}, {"2009/05/12", 35, 732, 10, kTimes},
        {"10:00", 85, 732, 10, kTimes},       {"Gate", 150, 732, 10, kTimes},
        {"7", 275, 732, 10, kTimes},          {"Footer", 30, 15, 14, kTimes},
    };
    for (const Placement& p : placements) {
        expectPlaced(page, p);
    }
    // "<print time>   Page 1", ending 30 points from the right edge.
    ASSERT_GE(page.words.size(), 2);
    const PdfWord number = page.words.last();
    EXPECT_EQ(number.text, QStringLiteral("1"));
    EXPECT_NEAR(number.xMax, 565, 0.5);
    // Before it: the print time, then text 169.
    const QStringList stamp = (pdfPrintTime(clock.now()) + QStringLiteral(" Page 1"))
                                  .split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList printed;
    for (const PdfWord& word : page.words.mid(page.words.size() - stamp.size())) {
        printed << word.text;
    }
    EXPECT_EQ(printed, stamp);
}

TEST_F(ListDocumentTest, UsesTheFourStandardFontsWithoutEmbedding) {
    pdf.StartListDocument(QStringLiteral("Title"), QStringLiteral("Footer"),
                          QStringLiteral("Subtitle"));
    pdf.AddListRow(kDate, QStringLiteral("10:00"), QStringLiteral("Gate"), false, 0);
    saveAndRead();
    QStringList names;
    for (const PdfFontInfo& font : readPdfFonts(path)) {
        names << font.name;
        EXPECT_FALSE(font.embedded) << font.name.toStdString();
    }
    names.sort();
    EXPECT_EQ(names, (QStringList{"Courier-Bold", "Helvetica-Bold", "Helvetica-BoldOblique",
                                  "Times-Roman"}));
}

TEST_F(ListDocumentTest, Latin1TextPrints) {
    pdf.StartListDocument(QStringLiteral("Rapport"), QStringLiteral("Pied"),
                          QStringLiteral("Entrée"));
    pdf.AddListRow(kDate, QStringLiteral("10:00"), QStringLiteral("Café Süd"), false, 0);
    const PdfPageWords page = saveAndRead().value(0);
    EXPECT_TRUE(page.has(QStringLiteral("Entrée")));
    EXPECT_TRUE(page.has(QStringLiteral("Café")));
    EXPECT_TRUE(page.has(QStringLiteral("Süd")));
}

TEST_F(ListDocumentTest, RowsFillLeftColumnThenRightColumnThenNextPage) {
    pdf.StartListDocument(QStringLiteral("Title"), QStringLiteral("Footer"),
                          QStringLiteral("Subtitle"));
    for (int i = 1; i <= 141; ++i) {
        pdf.AddListRow(kDate, QStringLiteral("10:00"), label("R", i), false, 0);
    }
    EXPECT_EQ(pdf.pageCount(), 2);
    const QList<PdfPageWords> pages = saveAndRead();
    ASSERT_EQ(pages.size(), 2);
    const PdfPageWords& first = pages[0];
    const Placement firstPage[] = {
        {"R001", 150, 732, 10, kTimes},
        {"R070", 150, 42, 10, kTimes},
        {"R071", 433, 732, 10, kTimes},
        {"R140", 433, 42, 10, kTimes},
    };
    for (const Placement& p : firstPage) {
        expectPlaced(first, p);
    }
    // The right column has its own heads.
    EXPECT_EQ(first.find(QStringLiteral("Location")).size(), 2);
    EXPECT_NEAR(first.find(QStringLiteral("Location")).value(1).xMin, 433, 0.5);
    // The date prints on the first row of each column only.
    EXPECT_EQ(first.find(kDate).size(), 2);
    EXPECT_TRUE(rowHasDate(first, QStringLiteral("R071")));
    EXPECT_FALSE(rowHasDate(first, QStringLiteral("R072")));

    const PdfPageWords& second = pages[1];
    expectPlaced(second, {"R141", 150, 732, 10, kTimes});
    expectPlaced(second, {"Title", 30, 812, 14, kHelvetica});
    EXPECT_TRUE(rowHasDate(second, QStringLiteral("R141")));
    EXPECT_EQ(second.words.last().text, QStringLiteral("2"));
    EXPECT_EQ(first.words.last().text, QStringLiteral("1"));
}

// A special point's row: where it lands after some plain rows.
struct SeparatorCase {
    int rowsBefore;
    bool separator;
    double x;  // of the name
    double y;  // baseline
    bool dateAgain;
};

TEST_F(ListDocumentTest, SeparatorMarkNeverStartsInTheLastSixRows) {
    const SeparatorCase cases[] = {
        {64, false, 150, 92, false},  // a plain row uses the sixth last place
        {64, true, 433, 732, true},   // a special one moves to the next column
        {63, true, 150, 92, true},    // at 100 it stays: line, then the row below it
        {2, true, 150, 702, true},    // after two rows: a line and a gap
        {1, true, 150, 722, false},   // after one row: no line
        {140, true, 150, 732, true},  // the right column's last rows: next page
    };
    for (const SeparatorCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rowsBefore << " rows, separator " << c.separator);
        pdf.StartListDocument(QStringLiteral("Title"), QStringLiteral("Footer"),
                              QStringLiteral("Subtitle"));
        for (int i = 1; i <= c.rowsBefore; ++i) {
            pdf.AddListRow(kDate, QStringLiteral("10:00"), label("R", i), false, 0);
        }
        pdf.AddListRow(kDate, QStringLiteral("10:00"), QStringLiteral("Special"), c.separator, 0);
        const QList<PdfPageWords> pages = saveAndRead();
        ASSERT_FALSE(pages.isEmpty());
        expectPlaced(pages.last(), {"Special", c.x, c.y, 10, kTimes});
        // After a separator line or a column break the date prints again.
        EXPECT_EQ(rowHasDate(pages.last(), QStringLiteral("Special")), c.dateAgain);
    }
}

TEST_F(ListDocumentTest, FreeLinesBreakColumnsWithoutHeads) {
    pdf.StartListDocument(QStringLiteral("Title"), QStringLiteral("Footer"),
                          QStringLiteral("Subtitle"));
    for (int i = 1; i <= 69; ++i) {
        pdf.AddListLine(label("L", i));
    }
    pdf.AddListLine(QString());  // would print at 42: an empty line starts the next column
    pdf.AddListLine(QStringLiteral("After"));
    const PdfPageWords page = saveAndRead().value(0);
    expectPlaced(page, {"L001", 35, 732, 10, kTimes});
    expectPlaced(page, {"L069", 35, 52, 10, kTimes});
    expectPlaced(page, {"After", 318, 722, 10, kTimes});
    EXPECT_EQ(page.find(QStringLiteral("Location")).size(), 1);
}

TEST_F(ListDocumentTest, FrequencyTableFollowsTheRows) {
    pdf.StartListDocument(QStringLiteral("Title"), QStringLiteral("Footer"),
                          QStringLiteral("Subtitle"));
    for (int i = 1; i <= 3; ++i) {
        pdf.AddListRow(kDate, QStringLiteral("10:00"), label("R", i), false, 0);
    }
    pdf.AddFrequencyTable(QStringLiteral("Frequency"), QStringLiteral("Names"),
                          QStringLiteral("Counts"), {4, 0}, {"Gate", "Yard"});
    const PdfPageWords page = saveAndRead().value(0);
    const Placement placements[] = {
        {"Frequency", 35, 695, 14, kTimes}, {"Counts", 35, 685, 10.5, kTimes},
        {"Names", 85, 685, 10.5, kTimes},   {"4", 35, 662, 10, kTimes},
        {"Gate", 85, 662, 10, kTimes},      {"0", 35, 652, 10, kTimes},
        {"Yard", 85, 652, 10, kTimes},
    };
    for (const Placement& p : placements) {
        expectPlaced(page, p);
    }
}

TEST_F(ListDocumentTest, FrequencyTableIsNotBrokenAcrossColumns) {
    QStringList names;
    QList<int> counts;
    for (int i = 1; i <= 40; ++i) {
        names << label("N", i);
        counts << i;
    }
    pdf.StartListDocument(QStringLiteral("Title"), QStringLiteral("Footer"),
                          QStringLiteral("Subtitle"));
    for (int i = 1; i <= 30; ++i) {
        pdf.AddListRow(kDate, QStringLiteral("10:00"), label("R", i), false, 0);
    }
    // 40 rows do not fit below the 30th row: the table moves to the right column.
    pdf.AddFrequencyTable(QStringLiteral("First"), QStringLiteral("Names"),
                          QStringLiteral("Counts"), counts, names);
    // The right column is now too full for another: it moves to a new page.
    pdf.AddFrequencyTable(QStringLiteral("Second"), QStringLiteral("Names"),
                          QStringLiteral("Counts"), counts, names);
    const QList<PdfPageWords> pages = saveAndRead();
    ASSERT_EQ(pages.size(), 2);
    expectPlaced(pages[0], {"First", 318, 735, 14, kTimes});
    const QList<PdfWord> lastName = pages[0].find(QStringLiteral("N040"));
    ASSERT_EQ(lastName.size(), 1);
    EXPECT_TRUE(pages[0].onBaseline(lastName[0], 312, 10));
    expectPlaced(pages[1], {"Second", 35, 725, 14, kTimes});
    EXPECT_EQ(pages[1].words.last().text, QStringLiteral("2"));
}

}  // namespace
}  // namespace dorodure::test
