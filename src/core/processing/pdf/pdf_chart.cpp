// Chart documents: the overview report's landscape pages with one row per
// checkpoint under a 24-hour grid.
#include "pdfprint.h"

#include "pdf_canvas.h"

#include <algorithm>

namespace dorodure {

namespace {

constexpr double kChartWidth = 842;
constexpr double kChartHeight = 595;
// The grid's rows hang from this line, below the grid head.
constexpr double kGridTop = 500;
constexpr double kBottomMargin = 40;
constexpr double kLineHeight = 15;
constexpr double kGridLeft = 30;
constexpr double kGridWidth = 782;
constexpr double kNameWidth = 158;
constexpr double kHourLeft = 188;
constexpr double kHourWidth = 26;
constexpr int kHours = 24;

const QString kBrand = QStringLiteral("ROZEDAVA");

double hourColumnX(int column) {
    return kHourLeft + kHourWidth * column;
}

double hourColumnCentre(int column) {
    return hourColumnX(column) + kHourWidth / 2;
}

// The hour shown in a grid column; a night grid runs from 12 to 11.
int columnHour(int column, bool night) {
    return night ? (column + 12) % kHours : column;
}

// The hour of a cell entry "hh:nn"; -1 (no column) when it has none.
int entryHour(const QString& time) {
    if (time.size() < 2) {
        return -1;
    }
    bool ok = false;
    const int hour = time.left(2).toInt(&ok);
    return ok ? hour : -1;
}

// The entries of one hour cell: the column and the times stacked in it.
struct HourCell {
    int column = 0;
    QStringList times;
};

// Places the times in the grid's columns. The times come in column order;
// the walk stops at the first one whose column has already passed.
QList<HourCell> placeTimes(const QStringList& times, bool night) {
    QList<HourCell> cells;
    qsizetype position = 0;
    for (int column = 0; column < kHours; ++column) {
        const int hour = columnHour(column, night);
        if (position >= times.size() || entryHour(times[position]) != hour) {
            continue;
        }
        HourCell cell{column, {}};
        while (position < times.size() && entryHour(times[position]) == hour) {
            cell.times << times[position++];
        }
        cells << cell;
    }
    return cells;
}

}  // namespace

void PdfPrint::StartChartDocument(const QString& title, const QString& footer,
                                  const QString& subtitle) {
    discardDocument();
    title_ = title;
    footer_ = footer;
    subtitle_ = subtitle;
    pageCounter_ = 1;
    currentY_ = kGridTop;
    canvas_ = std::make_unique<PdfCanvas>(kChartWidth, kChartHeight);
    kind_ = Kind::Chart;
}

void PdfPrint::drawChartPageHeader() {
    canvas_->text(PdfFont::ArialBoldItalic, 14, pdfcolour::kTitleBrown, 30, 565, title_);
    canvas_->text(PdfFont::ArialBold, 18, pdfcolour::kTitleBrown, 30, 540, subtitle_);
    canvas_->line(20, 560, 672, 560, 1.5, pdfcolour::kBlack);
    canvas_->text(PdfFont::FixedWidthBold, 24, pdfcolour::kBrandRed, 685, 552, kBrand);
    canvas_->text(PdfFont::FixedWidthBold, 13, pdfcolour::kBlack, 687, 542, pdfText(165));
}

void PdfPrint::drawChartGridHead() {
    canvas_->outlinedBand(kGridLeft, kGridTop, kGridWidth, 30, pdfcolour::kHeadBlue, 1,
                          pdfcolour::kGrey);
    for (int column = 0; column < kHours; ++column) {
        canvas_->line(hourColumnX(column), kGridTop, hourColumnX(column), kGridTop + 30, 1,
                      pdfcolour::kGrey);
    }
    canvas_->text(PdfFont::TimesRoman, 10.5, pdfcolour::kBlack, 35, 515, chartLine1_);
    canvas_->text(PdfFont::TimesRoman, 10.5, pdfcolour::kBlack, 35, 505, chartLine2_);
    for (int column = 0; column < kHours; ++column) {
        const QString label =
            QStringLiteral("%1").arg(columnHour(column, night_), 2, 10, QLatin1Char('0'));
        canvas_->textCentred(PdfFont::TimesRoman, 10.5, pdfcolour::kBlack, hourColumnCentre(column),
                             510, label);
    }
}

// The first chart page uses the document's first page. A failure to add a
// page is ignored: the page is then drawn over the current one.
void PdfPrint::startChartPage() {
    if (pageCounter_ != 1) {
        canvas_->addPage();
        currentY_ = kGridTop;
    }
    ++pageCounter_;
    drawChartPageHeader();
    drawChartGridHead();
    drawPageFooter();
}

void PdfPrint::AddChartPage(const QString& line1, const QString& line2, bool night) {
    if (kind_ != Kind::Chart) {
        return;
    }
    chartLine1_ = line1;
    chartLine2_ = line2;
    night_ = night;
    startChartPage();
}

void PdfPrint::AddChartRow(const QStringList& times, const QString& label, int lines) {
    if (kind_ != Kind::Chart) {
        return;
    }
    lines = std::max(lines, 1);
    if (lines <= kMaxChartLinesPerPage) {
        const double height = kLineHeight * lines;
        currentY_ -= height;
        if (currentY_ < kBottomMargin) {
            startChartPage();
            currentY_ = kGridTop - height;
        }
        drawChartPart(times, label, 0, lines);
        return;
    }
    // A row higher than a page's grid area: it starts at the top of a page
    // and continues, a page's worth of lines at a time, on the next pages.
    for (int first = 0; first < lines; first += kMaxChartLinesPerPage) {
        if (first > 0 || currentY_ < kGridTop) {
            startChartPage();
        }
        const int count = std::min(kMaxChartLinesPerPage, lines - first);
        currentY_ = kGridTop - kLineHeight * count;
        drawChartPart(times, label, first, count);
    }
}

// Draws the lines firstLine .. firstLine + lineCount - 1 of a row with its
// bottom at the current y: name cell, green hour cells with their stacked
// times, then the grid lines over it.
void PdfPrint::drawChartPart(const QStringList& times, const QString& label, int firstLine,
                             int lineCount) {
    const double bottom = currentY_;
    const double height = kLineHeight * lineCount;
    const double top = bottom + height;
    canvas_->outlinedBand(kGridLeft, bottom, kNameWidth, height, pdfcolour::kHeadBlue, 1,
                          pdfcolour::kGrey);
    canvas_->text(PdfFont::TimesRoman, 10.5, pdfcolour::kBlack, 35, bottom + height / 2, label);
    for (const HourCell& cell : placeTimes(times, night_)) {
        const QStringList shown = cell.times.mid(firstLine, lineCount);
        if (shown.isEmpty()) {
            continue;
        }
        canvas_->band(hourColumnX(cell.column), bottom, kHourWidth, height, pdfcolour::kHourGreen);
        for (qsizetype k = 0; k < shown.size(); ++k) {
            canvas_->textCentred(PdfFont::TimesRoman, 10.5, pdfcolour::kBlack,
                                 hourColumnCentre(cell.column),
                                 top - kLineHeight * static_cast<double>(k) - 11, shown[k]);
        }
    }
    for (int column = 0; column < kHours; ++column) {
        canvas_->line(hourColumnX(column), bottom, hourColumnX(column), top, 1, pdfcolour::kGrey);
    }
    canvas_->box(kGridLeft, bottom, kGridWidth, height, 1, pdfcolour::kGrey);
}

}  // namespace dorodure
