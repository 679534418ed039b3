#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <stdexcept>

namespace dorodure {

// A command line that cannot be run; the message says why.
class UsageError : public std::runtime_error {
  public:
    explicit UsageError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromStdString(what()); }
};

// Takes "--name VALUE" or "--name=VALUE" out of args; nullopt when absent.
// Throws UsageError when the option is given without a value.
std::optional<QString> takeOption(QStringList& args, const QString& name);
// Takes a flag "--name" out of args; true when it was there.
bool takeFlag(QStringList& args, const QString& name);

}  // namespace dorodure
