#include "system_check.h"

#include <QDir>
#include <QFileInfo>

namespace dorodure {

QString serialSetupAdvice(const QString& devFolder) {
    const QDir dev(devFolder);
    const QStringList names = dev.entryList(
        {QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
        QDir::System | QDir::Files | QDir::Readable | QDir::Writable | QDir::Hidden, QDir::Name);
    const QStringList all = dev.entryList({QStringLiteral("ttyUSB*"), QStringLiteral("ttyACM*")},
                                          QDir::System | QDir::Files | QDir::Hidden, QDir::Name);
    QStringList lines;
    if (all.isEmpty()) {
        lines << QStringLiteral(
            "No USB serial adapter was found. Plug the upload station's cable in again.");
    }
    for (const QString& name : all) {
        const bool usable = names.contains(name);
        lines << dev.filePath(name) +
                     (usable ? QStringLiteral(": ready") : QStringLiteral(": no permission"));
    }
    if (all.size() != names.size()) {
        lines << QStringLiteral(
            "Add your user to the group of the serial devices (usually \"dialout\") and log in "
            "again.");
    }
    return lines.join(u'\r');
}

}  // namespace dorodure
