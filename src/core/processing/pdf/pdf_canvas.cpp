#include "pdf_canvas.h"

#include "shell/file_error.h"

#include <hpdf.h>

namespace dorodure {

namespace {

// The library reports failures through this handler and then returns an
// error code; nothing jumps across our frames.
void onLibraryError(HPDF_STATUS error, HPDF_STATUS detail, void* userData) {
    static_cast<PdfCanvas*>(userData)->recordError(error, detail);
}

HPDF_Doc asDoc(void* doc) {
    return static_cast<HPDF_Doc>(doc);
}

HPDF_Page asPage(void* page) {
    return static_cast<HPDF_Page>(page);
}

HPDF_REAL channel(int value) {
    return static_cast<HPDF_REAL>(value) / 255.0f;
}

HPDF_REAL real(double value) {
    return static_cast<HPDF_REAL>(value);
}

// Texts go to the page as single bytes of the document's encoding; the
// WinAnsi encoding agrees with Latin-1 on every printable character.
QByteArray encodeText(const QString& text) {
    QByteArray bytes = text.toLatin1();
    // A NUL byte would end the text early in the library.
    bytes.replace('\0', ' ');
    return bytes;
}

}  // namespace

const char* standardFontName(PdfFont font) {
    switch (font) {
        case PdfFont::TimesRoman:
            return "Times-Roman";
        case PdfFont::ArialBold:
            return "Helvetica-Bold";
        case PdfFont::ArialBoldItalic:
            return "Helvetica-BoldOblique";
        case PdfFont::FixedWidthBold:
            return "Courier-Bold";
    }
    return "Times-Roman";
}

PdfCanvas::PdfCanvas(double pageWidth, double pageHeight) : width_(pageWidth), height_(pageHeight) {
    HPDF_Doc doc = HPDF_New(onLibraryError, this);
    if (doc == nullptr) {
        throw FileError(QStringLiteral("The PDF library cannot create a document"));
    }
    doc_ = doc;
    HPDF_SetCompressionMode(doc, HPDF_COMP_ALL);
    clearLibraryError();
    if (!addPage()) {
        HPDF_Free(doc);
        doc_ = nullptr;
        throw FileError(QStringLiteral("The PDF library cannot add a page"));
    }
}

PdfCanvas::~PdfCanvas() {
    if (doc_ != nullptr) {
        HPDF_Free(asDoc(doc_));
    }
}

void PdfCanvas::recordError(unsigned long error, unsigned long detail) {
    ++errors_;
    lastError_ = error;
    lastDetail_ = detail;
}

// The library refuses every call on a document with a pending error; drawing
// goes on after a failure, so the error is cleared once counted.
void PdfCanvas::clearLibraryError() {
    if (doc_ != nullptr) {
        HPDF_ResetError(asDoc(doc_));
    }
}

bool PdfCanvas::addPage() {
    HPDF_Page page = HPDF_AddPage(asDoc(doc_));
    if (page == nullptr) {
        clearLibraryError();
        return false;
    }
    page_ = page;
    ++pages_;
    const bool sized = HPDF_Page_SetWidth(page, real(width_)) == HPDF_OK &&
                       HPDF_Page_SetHeight(page, real(height_)) == HPDF_OK;
    clearLibraryError();
    return sized;
}

bool PdfCanvas::finish(bool ok) {
    HPDF_Page page = asPage(page_);
    const HPDF_UINT16 mode = HPDF_Page_GetGMode(page);
    if (mode == HPDF_GMODE_PATH_OBJECT) {
        HPDF_Page_EndPath(page);
    } else if (mode == HPDF_GMODE_TEXT_OBJECT) {
        HPDF_Page_EndText(page);
    }
    clearLibraryError();
    return ok;
}

void PdfCanvas::line(double x1, double y1, double x2, double y2, double width, PdfColour colour) {
    HPDF_Page page = asPage(page_);
    finish(HPDF_Page_SetLineWidth(page, real(width)) == HPDF_OK &&
           HPDF_Page_SetRGBStroke(page, channel(colour.red), channel(colour.green),
                                  channel(colour.blue)) == HPDF_OK &&
           HPDF_Page_MoveTo(page, real(x1), real(y1)) == HPDF_OK &&
           HPDF_Page_LineTo(page, real(x2), real(y2)) == HPDF_OK &&
           HPDF_Page_Stroke(page) == HPDF_OK);
}

void PdfCanvas::box(double x, double y, double w, double h, double width, PdfColour colour) {
    line(x, y, x + w, y, width, colour);
    line(x + w, y, x + w, y + h, width, colour);
    line(x + w, y + h, x, y + h, width, colour);
    line(x, y + h, x, y, width, colour);
}

void PdfCanvas::band(double x, double y, double w, double h, PdfColour fill) {
    HPDF_Page page = asPage(page_);
    finish(HPDF_Page_SetRGBFill(page, channel(fill.red), channel(fill.green), channel(fill.blue)) ==
               HPDF_OK &&
           HPDF_Page_Rectangle(page, real(x), real(y), real(w), real(h)) == HPDF_OK &&
           HPDF_Page_Fill(page) == HPDF_OK);
}

void PdfCanvas::outlinedBand(double x, double y, double w, double h, PdfColour fill, double width,
                             PdfColour outline) {
    HPDF_Page page = asPage(page_);
    finish(HPDF_Page_SetLineWidth(page, real(width)) == HPDF_OK &&
           HPDF_Page_SetRGBFill(page, channel(fill.red), channel(fill.green), channel(fill.blue)) ==
               HPDF_OK &&
           HPDF_Page_SetRGBStroke(page, channel(outline.red), channel(outline.green),
                                  channel(outline.blue)) == HPDF_OK &&
           HPDF_Page_Rectangle(page, real(x), real(y), real(w), real(h)) == HPDF_OK &&
           HPDF_Page_FillStroke(page) == HPDF_OK);
}

void* PdfCanvas::fontHandle(PdfFont font) {
    void*& slot = fonts_[static_cast<int>(font)];
    if (slot == nullptr) {
        slot = HPDF_GetFont(asDoc(doc_), standardFontName(font), "WinAnsiEncoding");
        clearLibraryError();
    }
    return slot;
}

void PdfCanvas::text(PdfFont font, double size, PdfColour colour, double x, double y,
                     const QString& text) {
    const QByteArray bytes = encodeText(text);
    void* handle = fontHandle(font);
    if (bytes.isEmpty() || handle == nullptr) {
        return;
    }
    HPDF_Page page = asPage(page_);
    finish(HPDF_Page_SetRGBFill(page, channel(colour.red), channel(colour.green),
                                channel(colour.blue)) == HPDF_OK &&
           HPDF_Page_BeginText(page) == HPDF_OK &&
           HPDF_Page_SetFontAndSize(page, static_cast<HPDF_Font>(handle), real(size)) == HPDF_OK &&
           HPDF_Page_TextOut(page, real(x), real(y), bytes.constData()) == HPDF_OK &&
           HPDF_Page_EndText(page) == HPDF_OK);
}

double PdfCanvas::textWidth(PdfFont font, double size, const QString& text) {
    const QByteArray bytes = encodeText(text);
    void* handle = fontHandle(font);
    if (bytes.isEmpty() || handle == nullptr) {
        return 0;
    }
    HPDF_Page page = asPage(page_);
    const bool ok =
        HPDF_Page_SetFontAndSize(page, static_cast<HPDF_Font>(handle), real(size)) == HPDF_OK;
    const double width = ok ? HPDF_Page_TextWidth(page, bytes.constData()) : 0;
    return finish(ok) ? width : 0;
}

void PdfCanvas::textRightAligned(PdfFont font, double size, PdfColour colour, double x, double y,
                                 const QString& text) {
    this->text(font, size, colour, x - textWidth(font, size, text), y, text);
}

void PdfCanvas::textCentred(PdfFont font, double size, PdfColour colour, double x, double y,
                            const QString& text) {
    this->text(font, size, colour, x - textWidth(font, size, text) / 2, y, text);
}

QByteArray PdfCanvas::save() {
    HPDF_Doc doc = asDoc(doc_);
    const int before = errors_;
    HPDF_SaveToStream(doc);
    HPDF_UINT32 size = HPDF_GetStreamSize(doc);
    QByteArray bytes;
    if (errors_ == before && size > 0) {
        bytes.resize(static_cast<qsizetype>(size));
        HPDF_ReadFromStream(doc, reinterpret_cast<HPDF_BYTE*>(bytes.data()), &size);
        bytes.resize(static_cast<qsizetype>(size));
    }
    const bool failed = errors_ != before || bytes.isEmpty();
    clearLibraryError();
    if (failed) {
        throw FileError(QStringLiteral("The PDF library cannot write the document (error %1, %2)")
                            .arg(lastError_, 4, 16, QLatin1Char('0'))
                            .arg(lastDetail_));
    }
    return bytes;
}

}  // namespace dorodure
