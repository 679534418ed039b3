#pragma once

#include <QDateTime>
#include <QString>

#include <functional>
#include <mutex>

namespace dorodure {

class Clock;

// The diagnostic traces, written only while the marker file "Rs232.txt" exists
// in the data folder (checked before every line):
// - main-window trace "RsM" + stamp + ".txt": tick count as at least 6
//   upper-case hex digits, a blank, the message; every line also goes to the
//   memo sink (Memo1 of the main window) whether or not tracing is on;
// - thread trace "Rs" + stamp + ".txt": loop count, " ,, ", the message; a
//   message equal to the previous one is not written again.
class TTraceLog {
  public:
    using MemoSink = std::function<void(const QString& line)>;

    TTraceLog(QString dataFolder, QString sessionStamp, const Clock& clock);

    void setMemoSink(MemoSink sink);

    // Main-window trace (window thread). Throws FileError when the trace file
    // cannot be written; the memo has the line by then.
    void main(const QString& message);
    // Thread trace (communications thread only). Never throws: a line that
    // cannot be written is dropped, so diagnostics never stop the baton link.
    void thread(qint64 loopCount, const QString& message);

    bool enabled() const;

    // round(days since 30 Dec 1899 x 3600) of the given time, as decimal text.
    static QString sessionStampFor(const QDateTime& when);

  private:
    QString dataFolder_;
    QString stamp_;
    const Clock& clock_;
    std::mutex mutex_;
    MemoSink memo_;
    QString lastThreadMessage_;
    bool hasLastThreadMessage_ = false;
};

}  // namespace dorodure
