#pragma once

#include <QDateTime>
#include <QString>

namespace dorodure {

class Clock;

// The monthly activity log: "LG" + yyyy + mm + ".txt" in the data folder, one
// line per entry: "yyyy/mm/dd hh:nn.ss","name","message" (quotes inside the
// fields are written as they stand; a line break inside a field becomes a
// blank, so that an entry is always one line). Written from the window thread
// only.
class TActivityLog {
  public:
    TActivityLog(QString dataFolder, const Clock& clock);

    // Appends one entry to the file of the current month. Throws FileError.
    void append(const QString& name, const QString& message);

    // The file name for a date, e.g. LG200905.txt.
    static QString fileNameFor(const QDate& date);
    // The line for an entry made at the given time.
    static QString formatLine(const QDateTime& when, const QString& name, const QString& message);

  private:
    QString dataFolder_;
    const Clock& clock_;
};

}  // namespace dorodure
