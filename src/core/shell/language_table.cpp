#include "language_table.h"

#include "language_defaults.h"
#include "text_file.h"

#include <mutex>

namespace dorodure {

namespace {

void traceIf(const TLanguageTable::Trace& trace, const QString& message) {
    if (trace) {
        trace(message);
    }
}

QString corruptMessage(int count, const QString& path) {
    return QStringLiteral("Error(") + QString::number(count) + QStringLiteral(") ") + path +
           QStringLiteral(" Languauge file corupt please contact You program vendor");
}

// The loader reads line after line until the end of the file: an empty file
// still takes one read, a final line end adds no line.
int loaderLineCount(const QStringList& lines) {
    return lines.isEmpty() ? 1 : static_cast<int>(lines.size());
}

}  // namespace

TLanguageTable::TLanguageTable() {
    loadDefaults();
}

void TLanguageTable::loadDefaults(const Trace& trace) {
    {
        std::unique_lock lock(mutex_);
        for (int n = 1; n <= kEntries; ++n) {
            entries_[static_cast<std::size_t>(n)] = builtInText(n);
        }
    }
    traceIf(trace, QStringLiteral("flinished language file defaults"));
}

int TLanguageTable::countLines(const QString& path) {
    return loaderLineCount(textfile::readLines(path));
}

QString TLanguageTable::loadLanguageFile(const QString& path, const Trace& trace) {
    traceIf(trace, QStringLiteral("Load Language file start"));
    // One read serves both the count and the texts, so the file that was
    // counted is the file that is applied.
    const QStringList lines = textfile::readLines(path);
    const int count = loaderLineCount(lines);
    if (count != kFileLines) {
        traceIf(trace, QStringLiteral("Load language file end"));
        return corruptMessage(count, path);
    }
    QStringList pdfTexts;
    PdfTextsSink sink;
    {
        std::unique_lock lock(mutex_);
        applyLines(lines);
        loadedLines_ = lines;
        for (int n = 1; n < kEntries; ++n) {
            pdfTexts << entries_[static_cast<std::size_t>(n)];
        }
        sink = pdfSink_;
    }
    // The sink runs outside the lock: it may read the table itself.
    if (sink) {
        sink(pdfTexts);
    }
    traceIf(trace, QStringLiteral("Load language file end"));
    return {};
}

void TLanguageTable::applyLines(const QStringList& lines) {
    for (const LanguageLine& layoutLine : languageFileLayout()) {
        for (const CaptionTarget& target : layoutLine.targets) {
            if (target.kind == CaptionTarget::Kind::Entry) {
                entries_[static_cast<std::size_t>(target.index)] = lines[layoutLine.line - 1];
            }
        }
    }
}

QString TLanguageTable::text(int n) const {
    if (n < 1 || n > kEntries) {
        return {};
    }
    std::shared_lock lock(mutex_);
    return entries_[static_cast<std::size_t>(n)];
}

void TLanguageTable::setText(int n, const QString& value) {
    if (n < 1 || n > kEntries) {
        return;
    }
    std::unique_lock lock(mutex_);
    entries_[static_cast<std::size_t>(n)] = value;
}

QStringList TLanguageTable::loadedLines() const {
    std::shared_lock lock(mutex_);
    return loadedLines_;
}

void TLanguageTable::setPdfTextsSink(PdfTextsSink sink) {
    std::unique_lock lock(mutex_);
    pdfSink_ = std::move(sink);
}

}  // namespace dorodure
