#pragma once

#include <QByteArray>
#include <QString>

namespace dorodure {

// A colour as red, green and blue, 0 to 255.
struct PdfColour {
    int red = 0;
    int green = 0;
    int blue = 0;
};

namespace pdfcolour {
inline constexpr PdfColour kBlack{0, 0, 0};
inline constexpr PdfColour kGrey{128, 128, 128};
inline constexpr PdfColour kTitleBrown{165, 42, 42};
inline constexpr PdfColour kBrandRed{255, 0, 0};
inline constexpr PdfColour kHeadBlue{167, 217, 255};
inline constexpr PdfColour kRowGreen{128, 224, 128};
inline constexpr PdfColour kFrequencyOrange{224, 128, 0};
inline constexpr PdfColour kFrequencyYellow{224, 224, 0};
inline constexpr PdfColour kHourGreen{158, 255, 115};
}  // namespace pdfcolour

// The four faces the reports use, by the names the report layouts give them.
enum class PdfFont {
    TimesRoman,       // "Times-Roman"
    ArialBold,        // "Arial-Bold": Helvetica-Bold
    ArialBoldItalic,  // "Arial-BoldItalic": Helvetica-BoldOblique
    FixedWidthBold,   // "FixedWidth-Bold": Courier-Bold
};

// The standard PDF font that stands for a report face.
const char* standardFontName(PdfFont font);

// One PDF document on the PDF library, drawn page by page with the primitives
// the reports need. Coordinates are points with the origin at the bottom left.
// Texts are written in WinAnsiEncoding, so Latin-1 characters print; others
// print as "?".
//
// The library's failures do not interrupt drawing: a primitive stops at its
// first failing call, the failure is counted, the library's error state is
// cleared and the next primitive goes on. Callers that
// must know (a page break, the save) compare errorCount() around the call.
class PdfCanvas {
  public:
    // Creates the document with its first page of the given size.
    // Throws FileError when the library cannot create it.
    PdfCanvas(double pageWidth, double pageHeight);
    ~PdfCanvas();
    PdfCanvas(const PdfCanvas&) = delete;
    PdfCanvas& operator=(const PdfCanvas&) = delete;

    // Adds a page of the document's size and makes it current. Returns false
    // (and keeps drawing on the old page) when the library fails.
    bool addPage();
    int pageCount() const { return pages_; }
    double pageWidth() const { return width_; }

    // A line from (x1, y1) to (x2, y2).
    void line(double x1, double y1, double x2, double y2, double width, PdfColour colour);
    // The outline of a rectangle (x, y is its bottom left corner).
    void box(double x, double y, double w, double h, double width, PdfColour colour);
    // A filled rectangle.
    void band(double x, double y, double w, double h, PdfColour fill);
    // A filled rectangle with its outline.
    void outlinedBand(double x, double y, double w, double h, PdfColour fill, double width,
                      PdfColour outline);

    // Text with its baseline starting at (x, y).
    void text(PdfFont font, double size, PdfColour colour, double x, double y, const QString& text);
    // Text whose right end is at x.
    void textRightAligned(PdfFont font, double size, PdfColour colour, double x, double y,
                          const QString& text);
    // Text centred on x.
    void textCentred(PdfFont font, double size, PdfColour colour, double x, double y,
                     const QString& text);
    // The width of the text in the font and size.
    double textWidth(PdfFont font, double size, const QString& text);

    // The whole document as PDF bytes. Throws FileError when the library
    // cannot write it.
    QByteArray save();

    int errorCount() const { return errors_; }
    // The library's codes of the last failure (error, detail), 0 when none.
    unsigned long lastError() const { return lastError_; }

    // Called by the library's error handler.
    void recordError(unsigned long error, unsigned long detail);

  private:
    void* fontHandle(PdfFont font);
    void clearLibraryError();
    // Ends one primitive's run of library calls (which stops at the first
    // failure): closes a path or text object left open and clears the error.
    bool finish(bool ok);

    void* doc_ = nullptr;
    void* page_ = nullptr;
    double width_ = 0;
    double height_ = 0;
    int pages_ = 0;
    int errors_ = 0;
    unsigned long lastError_ = 0;
    unsigned long lastDetail_ = 0;
    void* fonts_[4] = {nullptr, nullptr, nullptr, nullptr};
};

}  // namespace dorodure
