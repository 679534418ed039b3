#include "processing/pdf/pdf_canvas.h"
#include "pdf_reader.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace dorodure::test {
namespace {

// A failure of the PDF library is counted and cleared: the document goes on
// accepting drawing and can still be written.
TEST(PdfCanvas, DrawingGoesOnAfterALibraryFailure) {
    if (!popplerAvailable()) {
        GTEST_SKIP() << "poppler-utils (pdftotext, pdffonts) is not installed";
    }
    PdfCanvas canvas(595, 842);
    canvas.line(10, 10, 100, 10, -1, pdfcolour::kBlack);  // the library refuses a negative width
    EXPECT_EQ(canvas.errorCount(), 1);
    EXPECT_NE(canvas.lastError(), 0u);
    canvas.text(PdfFont::TimesRoman, 10, pdfcolour::kBlack, 50, 700, QStringLiteral("Still"));
    EXPECT_TRUE(canvas.addPage());
    canvas.text(PdfFont::TimesRoman, 10, pdfcolour::kBlack, 50, 700, QStringLiteral("Drawn"));
    EXPECT_EQ(canvas.errorCount(), 1);
    EXPECT_EQ(canvas.pageCount(), 2);

    TempDataFolder folder;
    const QString path = folder.file(QStringLiteral("canvas.pdf"));
    writeBytes(path, canvas.save());
    const QList<PdfPageWords> pages = readPdfWords(path);
    ASSERT_EQ(pages.size(), 2);
    EXPECT_TRUE(pages[0].has(QStringLiteral("Still")));
    EXPECT_TRUE(pages[1].has(QStringLiteral("Drawn")));
}

TEST(PdfCanvas, ReportFacesMapToStandardFonts) {
    EXPECT_STREQ(standardFontName(PdfFont::TimesRoman), "Times-Roman");
    EXPECT_STREQ(standardFontName(PdfFont::ArialBold), "Helvetica-Bold");
    EXPECT_STREQ(standardFontName(PdfFont::ArialBoldItalic), "Helvetica-BoldOblique");
    EXPECT_STREQ(standardFontName(PdfFont::FixedWidthBold), "Courier-Bold");
}

}  // namespace
}  // namespace dorodure::test
