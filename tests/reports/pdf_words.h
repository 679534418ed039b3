#pragma once

#include <QList>
#include <QString>

namespace dorodure::test {

// A word of a PDF page as poppler's "pdftotext -bbox" finds it, with its box
// converted to PDF points from the page's bottom left.
struct Word {
    QString text;
    double left = 0;
    double right = 0;
    double bottom = 0;  // lower edge of the box
    double top = 0;     // upper edge of the box
    double centreX() const { return (left + right) / 2; }
};

struct Page {
    QList<Word> words;
    QList<Word> find(const QString& text) const;
    bool has(const QString& text) const { return !find(text).isEmpty(); }
    // All words joined by blanks, in reading order.
    QString text() const;
};

// Whether pdftotext can be run.
bool pdftotextAvailable();
// The pages of a PDF file; empty when it cannot be read.
QList<Page> readPages(const QString& pdfPath);

// The hour column (0-23) whose cell holds x, or -1.
int columnAt(double x);

}  // namespace dorodure::test
