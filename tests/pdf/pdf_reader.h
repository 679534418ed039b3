#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace dorodure::test {

// One word of a PDF page as poppler's text extraction finds it. Its box is in
// points with the origin at the top left of the page (y grows downwards).
struct PdfWord {
    QString text;
    double xMin = 0;
    double yMin = 0;
    double xMax = 0;
    double yMax = 0;
};

struct PdfPageWords {
    double width = 0;
    double height = 0;
    QList<PdfWord> words;

    // The words with this text, in reading order.
    QList<PdfWord> find(const QString& text) const;
    // The only word with this text; fails the test when there is not exactly one.
    PdfWord only(const QString& text) const;
    bool has(const QString& text) const { return !find(text).isEmpty(); }
    // Whether a word written in a font of this size and descent (as a share
    // of the size) has its baseline at y (points from the page's bottom).
    bool onBaseline(const PdfWord& word, double y, double size,
                    double descent = kTimesDescent) const;

    static constexpr double kTimesDescent = 0.217;
    static constexpr double kHelveticaDescent = 0.207;
    static constexpr double kCourierDescent = 0.157;
};

struct PdfFontInfo {
    QString name;
    bool embedded = false;
};

// Whether poppler's pdftotext and pdffonts can be run.
bool popplerAvailable();
// The words of every page (pdftotext -bbox); empty when the file cannot be read.
QList<PdfPageWords> readPdfWords(const QString& path);
// The fonts the document uses (pdffonts).
QList<PdfFontInfo> readPdfFonts(const QString& path);

}  // namespace dorodure::test
