#pragma once

#include "pdf_reader.h"
#include "processing/pdf/pdfprint.h"
#include "shell/clock.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace dorodure::test {

// A PDF writer with one-word page texts, a fixed print time and a file to
// save to; the saved document is read back with poppler.
class PdfDocumentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!popplerAvailable()) {
            GTEST_SKIP() << "poppler-utils (pdftotext, pdffonts) is not installed";
        }
        QStringList texts;
        for (int n = 1; n <= PdfPrint::kPdfTexts; ++n) {
            texts << QStringLiteral("text%1").arg(n);
        }
        texts[165 - 1] = QStringLiteral("Tours");
        texts[166 - 1] = QStringLiteral("Date");
        texts[167 - 1] = QStringLiteral("Time");
        texts[168 - 1] = QStringLiteral("Location");
        texts[169 - 1] = QStringLiteral("Page");
        pdf.SetPdfTexts(texts);
    }

    // Saves the open document and returns its pages' words.
    QList<PdfPageWords> saveAndRead() {
        EXPECT_EQ(pdf.drawingErrors(), 0);
        pdf.SavePdf(path);
        return readPdfWords(path);
    }

    static QString label(const char* prefix, int n) {
        return QStringLiteral("%1%2").arg(QLatin1String(prefix)).arg(n, 3, 10, QLatin1Char('0'));
    }

    // The 28th: no part of the footer's date reads like an hour label.
    ManualClock clock{QDateTime(QDate(2009, 5, 28), QTime(14, 3, 22))};
    PdfPrint pdf{clock};
    TempDataFolder folder;
    QString path = folder.file(QStringLiteral("Report.pdf"));
};

}  // namespace dorodure::test
