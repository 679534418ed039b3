#include "pdf_test_fixture.h"
#include "processing/pdf/print_time.h"
#include "shell/file_error.h"

#include <QFile>

namespace dorodure::test {
namespace {

using PdfLifecycleTest = PdfDocumentTest;

TEST_F(PdfLifecycleTest, StartingADocumentAbandonsTheOpenOne) {
    pdf.StartListDocument(QStringLiteral("Old"), QStringLiteral("Footer"),
                          QStringLiteral("Subtitle"));
    pdf.AddListRow(QStringLiteral("2009/05/28"), QStringLiteral("10:00"), QStringLiteral("Gate"),
                   false, 0);
    pdf.StartChartDocument(QStringLiteral("New"), QStringLiteral("Footer"), QStringLiteral("Site"));
    pdf.AddChartPage(QStringLiteral("First"), QString(), false);
    // List rows have no place in a chart document.
    pdf.AddListRow(QStringLiteral("2009/05/28"), QStringLiteral("10:00"), QStringLiteral("Stray"),
                   false, 0);
    const QList<PdfPageWords> pages = saveAndRead();
    ASSERT_EQ(pages.size(), 1);
    EXPECT_EQ(pages[0].width, 842);
    EXPECT_TRUE(pages[0].has(QStringLiteral("New")));
    for (const char* gone : {"Old", "Gate", "Stray"}) {
        EXPECT_FALSE(pages[0].has(QString::fromUtf8(gone))) << gone;
    }
}

TEST_F(PdfLifecycleTest, SavingFreesTheDocumentAndReplacesTheFile) {
    writeBytes(path, QByteArray(5000, 'x'));
    pdf.StartListDocument(QStringLiteral("Title"), QStringLiteral("Footer"),
                          QStringLiteral("Subtitle"));
    ASSERT_TRUE(pdf.hasDocument());
    pdf.SavePdf(path);
    EXPECT_FALSE(pdf.hasDocument());
    EXPECT_EQ(pdf.pageCount(), 0);
    EXPECT_TRUE(readBytes(path).startsWith("%PDF-"));
    EXPECT_EQ(readPdfWords(path).size(), 1);
    // Without a document rows do nothing and there is nothing to save.
    pdf.AddListRow(QStringLiteral("2009/05/28"), QStringLiteral("10:00"), QStringLiteral("Gate"),
                   false, 0);
    pdf.AddChartRow({"10:00"}, QStringLiteral("Gate"), 2);
    EXPECT_FALSE(pdf.hasDocument());
    EXPECT_THROW(pdf.SavePdf(path), FileError);
    EXPECT_TRUE(readBytes(path).startsWith("%PDF-"));
}

TEST_F(PdfLifecycleTest, FailureToWriteThrowsAndFreesTheDocument) {
    const QString missing = folder.file(QStringLiteral("no such folder/Report.pdf"));
    pdf.StartChartDocument(QStringLiteral("Title"), QStringLiteral("Footer"),
                           QStringLiteral("Site"));
    EXPECT_THROW(pdf.SavePdf(missing), FileError);
    EXPECT_FALSE(pdf.hasDocument());
    EXPECT_FALSE(QFile::exists(missing));
}

TEST(PdfTexts, TableHoldsEntriesOneTo199) {
    ManualClock clock;
    PdfPrint pdf(clock);
    EXPECT_EQ(pdf.pdfText(169), QString());
    QStringList texts;
    for (int n = 1; n <= 200; ++n) {
        texts << QStringLiteral("t%1").arg(n);
    }
    pdf.SetPdfTexts(texts);
    EXPECT_EQ(pdf.pdfText(1), QStringLiteral("t1"));
    EXPECT_EQ(pdf.pdfText(169), QStringLiteral("t169"));
    EXPECT_EQ(pdf.pdfText(199), QStringLiteral("t199"));
    EXPECT_EQ(pdf.pdfText(200), QString());
    EXPECT_EQ(pdf.pdfText(0), QString());
    // A shorter list replaces only its own entries.
    pdf.SetPdfTexts({QStringLiteral("only")});
    EXPECT_EQ(pdf.pdfText(1), QStringLiteral("only"));
    EXPECT_EQ(pdf.pdfText(2), QStringLiteral("t2"));
}

TEST(PdfPrintTime, ShortDateAndLongTimeWithoutTimeZone) {
    const QDateTime when(QDate(2009, 5, 28), QTime(14, 3, 22));
    const struct {
        QLocale locale;
        const char* expected;
    } cases[] = {
        {QLocale::c(), "28 May 2009 14:03:22"},
        {QLocale(QLocale::English, QLocale::UnitedStates), "5/28/09 2:03:22 PM"},
        {QLocale(QLocale::German, QLocale::Germany), "28.05.09 14:03:22"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pdfPrintTime(when, c.locale), QString::fromUtf8(c.expected));
    }
}

}  // namespace
}  // namespace dorodure::test
