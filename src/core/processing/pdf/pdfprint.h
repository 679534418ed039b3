#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

namespace dorodure {

class Clock;
class PdfCanvas;

// Draws the program's PDF reports with the standard PDF fonts.
//
// Two kinds of document:
// - the list document (portrait, 595 x 842 points): two columns of ten-point
//   rows per page, used by the download report and the clocking list;
// - the chart document (landscape, 842 x 595 points): one row per checkpoint
//   under a 24-hour grid, used by the overview report.
// Both carry a page header with the title and the brand and a page footer with
// the footer text, the print time (from the clock) and the page number.
//
// One document is open at a time: the caller starts it, adds rows and saves
// it. Starting a new document abandons the open one. Row operations without
// an open document do nothing. Used on the window thread only.
class PdfPrint {
  public:
    // The text table holds the language table's entries 1 to 199.
    static constexpr int kPdfTexts = 199;
    // Chart rows: a row of more lines than this is split over pages.
    static constexpr int kMaxChartLinesPerPage = 30;

    explicit PdfPrint(const Clock& clock);
    ~PdfPrint();
    PdfPrint(const PdfPrint&) = delete;
    PdfPrint& operator=(const PdfPrint&) = delete;

    // Copies the language table's entries 1..199 (index 0 = entry 1): the
    // first texts.size() entries are replaced, the others keep their texts
    // (empty until set). Entries used: 165 (brand subline), 166-168 (list
    // column heads), 169 (the word before the page number).
    void SetPdfTexts(const QStringList& texts);
    // Entry n (1..199) of the text table; "" out of range.
    QString pdfText(int n) const;

    // --- List documents (portrait) ---

    // Starts a list document and draws its first page's header and footer.
    // Throws FileError when the PDF library cannot create a document.
    void StartListDocument(const QString& title, const QString& footer, const QString& subtitle);
    // One clocking row: date (printed only when it changes and on the first
    // row of every column), time, name, the separator mark (a special point:
    // a grey line above it, never in a column's last six rows) and a number
    // printed at the right when above 0.
    void AddListRow(const QString& date, const QString& time, const QString& name,
                    bool separatorMark, int number);
    // One line of free text, such as a warning; may be empty.
    void AddListLine(const QString& text);
    // A frequency table: title, head above the names (head2) and above the
    // counts (head3), then one row per name with its count. The table is never
    // broken across columns: it moves whole to the next column or page.
    void AddFrequencyTable(const QString& title, const QString& head2, const QString& head3,
                           const QList<int>& counts, const QStringList& names);

    // --- Chart documents (landscape) ---

    // Starts a chart document with its first (still empty) page.
    // Throws FileError when the PDF library cannot create a document.
    void StartChartDocument(const QString& title, const QString& footer, const QString& subtitle);
    // Starts a chart page (the first call uses the document's first page):
    // page header, grid head with the two header lines and the hour labels,
    // page footer. With night set the grid runs from hour 12 to hour 11.
    void AddChartPage(const QString& line1, const QString& line2, bool night);
    // One chart row: times "hh:nn" in the order of the grid's columns (the
    // walk stops at the first time whose column has passed), the label in the
    // name cell, and the row height in text lines (15 points each). A row that
    // does not fit goes to a new page; a row higher than a page's grid area
    // continues over the following pages.
    void AddChartRow(const QStringList& times, const QString& label, int lines);

    // Writes the open document to path (created or replaced as a whole) and
    // frees it. Throws FileError when there is no document or the file cannot
    // be written; the document is freed in every case.
    void SavePdf(const QString& path);

    bool hasDocument() const;
    // Pages of the open document (0 without one).
    int pageCount() const;
    // Failures of the PDF library while drawing the open document (drawing
    // goes on after them); 0 for a sound document.
    int drawingErrors() const;

  private:
    enum class Kind { None, List, Chart };

    void drawListPageHeader();
    void drawPageFooter();
    void drawListHeadBand(double offset);
    void newListPage();
    void newListColumn(bool withHeadBand);
    void drawChartPageHeader();
    void drawChartGridHead();
    void startChartPage();
    void drawChartPart(const QStringList& times, const QString& label, int firstLine,
                       int lineCount);
    void discardDocument();

    const Clock& clock_;
    QStringList texts_;
    std::unique_ptr<PdfCanvas> canvas_;
    Kind kind_ = Kind::None;

    QString title_;
    QString footer_;
    QString subtitle_;
    int pageCounter_ = 0;
    double currentY_ = 0;
    double columnOffset_ = 0;
    int rowCounter_ = 0;
    QString lastDate_;
    QString chartLine1_;
    QString chartLine2_;
    bool night_ = false;
};

}  // namespace dorodure
