#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace dorodure::cli {

// A subcommand of dorodure-cli: run with the arguments after its name; returns
// the exit code. Each subcommand's source file registers itself with a static
// CommandRegistration, so the dispatcher needs no list of them.
using CommandFn = std::function<int(const QStringList& args)>;

struct CommandRegistration {
    CommandRegistration(const QString& name, const QString& summary, CommandFn fn);
};

}  // namespace dorodure::cli
