#include "trace_log.h"

#include "clock.h"
#include "file_error.h"
#include "text_file.h"

#include <QDateTime>

namespace dorodure {

namespace {

const QString kMarker = QStringLiteral("Rs232.txt");

// The tick count as at least six upper-case hexadecimal digits.
QString hexTicks(qint64 ticks) {
    return QString::number(ticks, 16).toUpper().rightJustified(6, QLatin1Char('0'));
}

}  // namespace

TTraceLog::TTraceLog(QString dataFolder, QString sessionStamp, const Clock& clock)
    : dataFolder_(std::move(dataFolder)), stamp_(std::move(sessionStamp)), clock_(clock) {}

void TTraceLog::setMemoSink(MemoSink sink) {
    std::lock_guard lock(mutex_);
    memo_ = std::move(sink);
}

bool TTraceLog::enabled() const {
    return textfile::exists(textfile::join(dataFolder_, kMarker));
}

void TTraceLog::main(const QString& message) {
    const QString line = hexTicks(clock_.tickMs()) + QLatin1Char(' ') + message;
    MemoSink memo;
    {
        std::lock_guard lock(mutex_);
        memo = memo_;
    }
    // The memo gets the line first, so it has it even when the file write fails.
    if (memo) {
        memo(line);
    }
    if (enabled()) {
        textfile::appendLine(textfile::join(dataFolder_, QStringLiteral("RsM") + stamp_ + ".txt"),
                             line);
    }
}

void TTraceLog::thread(qint64 loopCount, const QString& message) {
    std::lock_guard lock(mutex_);
    if (!enabled() || (hasLastThreadMessage_ && message == lastThreadMessage_)) {
        return;
    }
    const QString line = QString::number(loopCount) + QStringLiteral(" ,, ") + message;
    try {
        textfile::appendLine(textfile::join(dataFolder_, QStringLiteral("Rs") + stamp_ + ".txt"),
                             line);
    } catch (const FileError&) {
        // A diagnostic line that cannot be written must not stop the baton
        // link; the message is not remembered, so the next one tries again.
        return;
    }
    lastThreadMessage_ = message;
    hasLastThreadMessage_ = true;
}

QString TTraceLog::sessionStampFor(const QDateTime& when) {
    // Days since 30 December 1899 times 3600 is the time in units of 24
    // seconds; counted in whole milliseconds the rounding is exact.
    const qint64 days = QDate(1899, 12, 30).daysTo(when.date());
    const qint64 ms = days * 86'400'000 + when.time().msecsSinceStartOfDay();
    constexpr qint64 kUnit = 24'000;
    qint64 units = ms / kUnit;
    qint64 rest = ms % kUnit;
    if (rest < 0) {
        rest += kUnit;
        --units;
    }
    return QString::number(rest * 2 >= kUnit ? units + 1 : units);
}

}  // namespace dorodure
