#pragma once

#include <QString>

#include <stdexcept>

namespace dorodure {

// An input/output failure on one of the program's files. File errors are not
// handled where they happen: they end the running operation, and the window or
// the command-line tool shows the message.
class FileError : public std::runtime_error {
  public:
    explicit FileError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

}  // namespace dorodure
