#include "shell/command_line.h"

namespace dorodure {

std::optional<QString> takeOption(QStringList& args, const QString& name) {
    const QString flag = QStringLiteral("--") + name;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == flag) {
            if (i + 1 >= args.size()) {
                throw UsageError(flag + QStringLiteral(" needs a value"));
            }
            const QString value = args[i + 1];
            args.remove(i, 2);
            return value;
        }
        if (args[i].startsWith(flag + QLatin1Char('='))) {
            const QString value = args[i].mid(flag.size() + 1);
            args.remove(i);
            return value;
        }
    }
    return std::nullopt;
}

bool takeFlag(QStringList& args, const QString& name) {
    return args.removeAll(QStringLiteral("--") + name) > 0;
}

}  // namespace dorodure
