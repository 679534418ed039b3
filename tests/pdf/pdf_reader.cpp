#include "pdf_reader.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <cmath>

namespace dorodure::test {

namespace {

QByteArray runTool(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.start(tool, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << tool.toStdString()
                      << " failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return process.readAllStandardOutput();
}

double attribute(const QXmlStreamReader& xml, const char* name) {
    return xml.attributes().value(QLatin1String(name)).toDouble();
}

}  // namespace

QList<PdfWord> PdfPageWords::find(const QString& text) const {
    QList<PdfWord> found;
    for (const PdfWord& word : words) {
        if (word.text == text) {
            found << word;
        }
    }
    return found;
}

PdfWord PdfPageWords::only(const QString& text) const {
    const QList<PdfWord> found = find(text);
    EXPECT_EQ(found.size(), 1) << "word " << text.toStdString();
    return found.value(0);
}

// pdftotext boxes a word from its font's ascent down to its descent below
// the baseline.
bool PdfPageWords::onBaseline(const PdfWord& word, double y, double size, double descent) const {
    const double fromTop = height - y;
    return std::abs(word.yMax - (fromTop + descent * size)) < 0.5;
}

bool popplerAvailable() {
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() &&
           !QStandardPaths::findExecutable(QStringLiteral("pdffonts")).isEmpty();
}

QList<PdfPageWords> readPdfWords(const QString& path) {
    const QByteArray xhtml =
        runTool(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), QStringLiteral("-enc"),
                                              QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    QList<PdfPageWords> pages;
    QXmlStreamReader xml(xhtml);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        if (xml.name() == QLatin1String("page")) {
            pages << PdfPageWords{attribute(xml, "width"), attribute(xml, "height"), {}};
        } else if (xml.name() == QLatin1String("word") && !pages.isEmpty()) {
            PdfWord word{{},
                         attribute(xml, "xMin"),
                         attribute(xml, "yMin"),
                         attribute(xml, "xMax"),
                         attribute(xml, "yMax")};
            word.text = xml.readElementText();
            pages.last().words << word;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return pages;
}

QList<PdfFontInfo> readPdfFonts(const QString& path) {
    const QString table = QString::fromUtf8(runTool(QStringLiteral("pdffonts"), {path}));
    QList<PdfFontInfo> fonts;
    // name type encoding emb sub uni object generation
    static const QRegularExpression row(
        QStringLiteral(R"(^(\S+)\s+.*\s(yes|no)\s+(yes|no)\s+(yes|no)\s+\d+\s+\d+\s*$)"));
    for (const QString& line : table.split(QLatin1Char('\n'))) {
        const QRegularExpressionMatch match = row.match(line);
        if (match.hasMatch()) {
            fonts << PdfFontInfo{match.captured(1), match.captured(2) == QLatin1String("yes")};
        }
    }
    return fonts;
}

}  // namespace dorodure::test
