#pragma once

#include "link/sim/simulated_station.h"
#include "shell/file_error.h"

#include <QDate>
#include <QString>

namespace dorodure::sim {

// A baton file that cannot be read: the message names the line.
class BatonFileError : public FileError {
  public:
    BatonFileError(int lineNumber, const QString& message);
    int lineNumber() const { return line_; }

  private:
    int line_;
};

// Parses the text of a baton file (format: docs/baton-file.md). Throws
// BatonFileError for the first line it cannot take.
StationScript parseBatonFile(const QString& text, const QDate& today = QDate::currentDate());
// Reads and parses a file; "demo" gives the demo script for today's date.
// Throws FileError when the file cannot be read, BatonFileError when a line
// is wrong.
StationScript readBatonFile(const QString& pathOrDemo, const QDate& today);

// The built-in demo: a Ziru baton with two banks of clockings of a night
// round over checkpoints 0000A1 to 0000A6 on the night before `today`.
StationScript demoScript(const QDate& today);

}  // namespace dorodure::sim
