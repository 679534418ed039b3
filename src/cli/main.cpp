#include "cli_command.h"

#include <QCoreApplication>
#include <QTextStream>

#include <map>

namespace dorodure::cli {

namespace {

struct Command {
    QString summary;
    CommandFn fn;
};

std::map<QString, Command>& registry() {
    static std::map<QString, Command> commands;
    return commands;
}

int usage() {
    QTextStream err(stderr);
    err << "usage: dorodure-cli COMMAND [options]   (run in the data folder)\n\ncommands:\n";
    for (const auto& [name, command] : registry()) {
        err << "  " << name.leftJustified(10) << command.summary << "\n";
    }
    return 2;
}

}  // namespace

CommandRegistration::CommandRegistration(const QString& name, const QString& summary,
                                         CommandFn fn) {
    registry()[name] = Command{summary, std::move(fn)};
}

}  // namespace dorodure::cli

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("dorodure-cli"));
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty()) {
        return dorodure::cli::usage();
    }
    const QString name = args.takeFirst();
    auto& commands = dorodure::cli::registry();
    auto it = commands.find(name);
    if (it == commands.end()) {
        return dorodure::cli::usage();
    }
    return it->second.fn(args);
}
