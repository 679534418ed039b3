// List documents (the download report and the clocking list) and what both
// document kinds share: the text table, the page footer and the save.
#include "pdfprint.h"

#include "pdf_canvas.h"
#include "print_time.h"
#include "shell/clock.h"
#include "shell/file_error.h"
#include "shell/text_file.h"

namespace dorodure {

namespace {

constexpr double kListWidth = 595;
constexpr double kListHeight = 842;
// The right column of a list page starts this far right of the left one.
constexpr double kRightColumnOffset = 283;
// Rows go down to this baseline position; the footer lies below it.
constexpr double kBottomMargin = 40;
// A special point's row never starts below this: a separator line and at
// least a few rows must follow it in the same column.
constexpr double kSeparatorLimit = 100;
// A frequency table starts in a new column unless its last row stays above this.
constexpr double kFrequencyLimit = 200;

const QString kBrand = QStringLiteral("ROZEDAVA");

}  // namespace

PdfPrint::PdfPrint(const Clock& clock) : clock_(clock) {
    texts_.resize(kPdfTexts);
}

PdfPrint::~PdfPrint() = default;

void PdfPrint::SetPdfTexts(const QStringList& texts) {
    for (qsizetype i = 0; i < texts.size() && i < kPdfTexts; ++i) {
        texts_[i] = texts[i];
    }
}

QString PdfPrint::pdfText(int n) const {
    return texts_.value(n - 1);
}

bool PdfPrint::hasDocument() const {
    return canvas_ != nullptr;
}

int PdfPrint::pageCount() const {
    return canvas_ ? canvas_->pageCount() : 0;
}

int PdfPrint::drawingErrors() const {
    return canvas_ ? canvas_->errorCount() : 0;
}

void PdfPrint::discardDocument() {
    canvas_.reset();
    kind_ = Kind::None;
}

// Footer of every page: footer text at the left, print time and page number
// ending 30 points from the right edge.
void PdfPrint::drawPageFooter() {
    const double width = canvas_->pageWidth();
    canvas_->line(20, 30, width - 20, 30, 1.5, pdfcolour::kBlack);
    canvas_->text(PdfFont::TimesRoman, 14, pdfcolour::kTitleBrown, 30, 15, footer_);
    const QString stamp = pdfPrintTime(clock_.now()) + QStringLiteral("   ") + pdfText(169) +
                          QLatin1Char(' ') + QString::number(pageCounter_ - 1);
    canvas_->textRightAligned(PdfFont::TimesRoman, 14, pdfcolour::kTitleBrown, width - 30, 15,
                              stamp);
}

// The light blue band with the three column heads over one column.
void PdfPrint::drawListHeadBand(double offset) {
    canvas_->band(offset + 30, 750, 253, 30, pdfcolour::kHeadBlue);
    canvas_->text(PdfFont::TimesRoman, 10.5, pdfcolour::kBlack, offset + 35, 760, pdfText(166));
    canvas_->text(PdfFont::TimesRoman, 10.5, pdfcolour::kBlack, offset + 85, 760, pdfText(167));
    canvas_->text(PdfFont::TimesRoman, 10.5, pdfcolour::kBlack, offset + 150, 760, pdfText(168));
}

void PdfPrint::drawListPageHeader() {
    rowCounter_ = 0;
    columnOffset_ = 0;
    canvas_->text(PdfFont::ArialBoldItalic, 14, pdfcolour::kTitleBrown, 30, 812, title_);
    canvas_->text(PdfFont::ArialBold, 18, pdfcolour::kTitleBrown, 30, 787, subtitle_);
    canvas_->line(20, 807, 425, 807, 1.5, pdfcolour::kBlack);
    canvas_->text(PdfFont::FixedWidthBold, 24, pdfcolour::kBrandRed, 438, 797, kBrand);
    canvas_->text(PdfFont::FixedWidthBold, 13, pdfcolour::kBlack, 440, 787, pdfText(165));
    drawListHeadBand(0);
    canvas_->line(40, currentY_ - 5, 273, currentY_ - 5, 1.5, pdfcolour::kGrey);
    currentY_ -= 10;
}

// A failure to add the page is ignored: the header, the footer and the rows
// that follow are then drawn on the current page.
void PdfPrint::newListPage() {
    ++pageCounter_;
    canvas_->addPage();
    drawListPageHeader();
    drawPageFooter();
}

// Moves on when a column is full: from the left column to the right one, from
// the right column to the left column of a new page.
void PdfPrint::newListColumn(bool withHeadBand) {
    if (columnOffset_ == 0) {
        columnOffset_ = kRightColumnOffset;
        if (withHeadBand) {
            drawListHeadBand(columnOffset_);
            canvas_->line(columnOffset_ + 40, 745, columnOffset_ + 273, 745, 1.5, pdfcolour::kGrey);
        }
        currentY_ = 730;
        return;
    }
    newListPage();
    currentY_ -= 10;
}

void PdfPrint::StartListDocument(const QString& title, const QString& footer,
                                 const QString& subtitle) {
    discardDocument();
    title_ = title;
    footer_ = footer;
    subtitle_ = subtitle;
    pageCounter_ = 2;
    currentY_ = 750;
    lastDate_.clear();
    canvas_ = std::make_unique<PdfCanvas>(kListWidth, kListHeight);
    kind_ = Kind::List;
    drawListPageHeader();
    drawPageFooter();
}

void PdfPrint::AddListRow(const QString& date, const QString& time, const QString& name,
                          bool separatorMark, int number) {
    if (kind_ != Kind::List) {
        return;
    }
    currentY_ -= 10;
    if (currentY_ < kBottomMargin || (separatorMark && currentY_ < kSeparatorLimit)) {
        rowCounter_ = 0;
        lastDate_.clear();
        currentY_ = 750;
        newListColumn(true);
    }
    const double x = columnOffset_;
    if (separatorMark && rowCounter_ > 1) {
        canvas_->line(x + 40, currentY_ + 5, x + 273, currentY_ + 5, 1.5, pdfcolour::kGrey);
        currentY_ -= 10;
        rowCounter_ = 0;
        lastDate_.clear();
    }
    if (rowCounter_ % 2 == 0) {
        canvas_->band(x + 30, currentY_, 253, 10, pdfcolour::kRowGreen);
    }
    ++rowCounter_;
    const double baseline = currentY_ + 2;
    if (date != lastDate_) {
        canvas_->text(PdfFont::TimesRoman, 10, pdfcolour::kBlack, x + 35, baseline, date);
        lastDate_ = date;
    }
    canvas_->text(PdfFont::TimesRoman, 10, pdfcolour::kBlack, x + 85, baseline, time);
    canvas_->text(PdfFont::TimesRoman, 10, pdfcolour::kBlack, x + 150, baseline, name);
    if (number > 0) {
        canvas_->text(PdfFont::TimesRoman, 10, pdfcolour::kBlack, x + 275, baseline,
                      QString::number(number));
    }
}

void PdfPrint::AddListLine(const QString& text) {
    if (kind_ != Kind::List) {
        return;
    }
    currentY_ -= 10;
    if (currentY_ < kBottomMargin || (text.isEmpty() && currentY_ < 50)) {
        rowCounter_ = 0;
        currentY_ = 750;
        newListColumn(false);
    }
    ++rowCounter_;
    canvas_->text(PdfFont::TimesRoman, 10, pdfcolour::kBlack, columnOffset_ + 35, currentY_ + 2,
                  text);
}

void PdfPrint::AddFrequencyTable(const QString& title, const QString& head2, const QString& head3,
                                 const QList<int>& counts, const QStringList& names) {
    if (kind_ != Kind::List) {
        return;
    }
    const auto rows = names.size();
    if (currentY_ - 10.0 * static_cast<double>(rows) - 30 < kFrequencyLimit) {
        rowCounter_ = 0;
        lastDate_.clear();
        currentY_ = 750;
        if (columnOffset_ != 0) {
            newListPage();
        } else {
            columnOffset_ = kRightColumnOffset;
        }
    }
    const double x = columnOffset_;
    currentY_ -= 30;
    canvas_->band(x + 30, currentY_, 253, 30, pdfcolour::kFrequencyOrange);
    canvas_->text(PdfFont::TimesRoman, 14, pdfcolour::kBlack, x + 35, currentY_ + 15, title);
    canvas_->text(PdfFont::TimesRoman, 10.5, pdfcolour::kBlack, x + 35, currentY_ + 5, head3);
    canvas_->text(PdfFont::TimesRoman, 10.5, pdfcolour::kBlack, x + 85, currentY_ + 5, head2);
    canvas_->line(x + 40, currentY_ - 5, x + 273, currentY_ - 5, 1.5, pdfcolour::kGrey);
    currentY_ -= 20;
    for (qsizetype i = 0; i < rows; ++i) {
        if (i % 2 == 0) {
            canvas_->band(x + 30, currentY_, 253, 10, pdfcolour::kFrequencyYellow);
        }
        const QString count = i < counts.size() ? QString::number(counts[i]) : QString();
        canvas_->text(PdfFont::TimesRoman, 10, pdfcolour::kBlack, x + 35, currentY_ + 2, count);
        canvas_->text(PdfFont::TimesRoman, 10, pdfcolour::kBlack, x + 85, currentY_ + 2, names[i]);
        currentY_ -= 10;
    }
}

void PdfPrint::SavePdf(const QString& path) {
    if (!canvas_) {
        throw FileError(QStringLiteral("No PDF document to write to %1").arg(path));
    }
    // The document is freed whatever happens to the file.
    const std::unique_ptr<PdfCanvas> canvas = std::move(canvas_);
    discardDocument();
    textfile::writeBytesAtomic(path, canvas->save());
}

}  // namespace dorodure
