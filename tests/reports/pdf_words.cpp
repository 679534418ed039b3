#include "pdf_words.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace dorodure::test {

QList<Word> Page::find(const QString& text) const {
    QList<Word> found;
    for (const Word& w : words) {
        if (w.text == text) {
            found << w;
        }
    }
    return found;
}

QString Page::text() const {
    QStringList all;
    for (const Word& w : words) {
        all << w.text;
    }
    return all.join(' ');
}

bool pdftotextAvailable() {
    return !QStandardPaths::findExecutable("pdftotext").isEmpty();
}

namespace {

QString unescape(QString s) {
    s.replace("&lt;", "<").replace("&gt;", ">").replace("&quot;", "\"").replace("&apos;", "'");
    return s.replace("&amp;", "&");
}

}  // namespace

QList<Page> readPages(const QString& pdfPath) {
    QProcess p;
    p.start("pdftotext", {"-bbox", pdfPath, "-"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) {
        return {};
    }
    const QString xhtml = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression pageRe(R"re(<page width="([\d.]+)" height="([\d.]+)">)re");
    static const QRegularExpression wordRe(
        R"re(<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    QList<Page> pages;
    double height = 0;
    for (const QString& line : xhtml.split('\n')) {
        if (const auto m = pageRe.match(line); m.hasMatch()) {
            height = m.captured(2).toDouble();
            pages << Page{};
        } else if (const auto w = wordRe.match(line); w.hasMatch() && !pages.isEmpty()) {
            pages.last().words << Word{unescape(w.captured(5)), w.captured(1).toDouble(),
                                       w.captured(3).toDouble(), height - w.captured(4).toDouble(),
                                       height - w.captured(2).toDouble()};
        }
    }
    return pages;
}

int columnAt(double x) {
    if (x < 188 || x >= 188 + 26 * 24) {
        return -1;
    }
    return int((x - 188) / 26);
}

}  // namespace dorodure::test
