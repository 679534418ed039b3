#include "startup_demo.h"

#include "shell/file_error.h"
#include "shell/settings.h"
#include "shell/text_file.h"
#include "startup_sequence.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dorodure {

namespace {

// Batons placed during a demo run, and the pauses before them.
constexpr int kDemoBatons = 40;
constexpr int kFirstWaitSeconds = 3;
constexpr int kNextWaitSeconds = 30;
constexpr int kLiftAfterSeconds = 4;

const char* const kDemoBatonFile = "demo-batons.txt";

// The files the demo folder needs from the delivered ones: those the start-up
// check wants (the program itself is linked, not copied), the language file
// and the Reports window's help documents.
QStringList deliveredNames() {
    QStringList names;
    for (const VitalFile& file : vitalFiles()) {
        if (file.name != QStringLiteral("dorodure")) {
            names << file.name;
        }
    }
    return names << QStringLiteral("English.lng") << QStringLiteral("downhelp.pdf")
                 << QStringLiteral("listhelp.pdf") << QStringLiteral("overhelp.pdf");
}

bool copyIfMissing(const QString& from, const QString& to) {
    if (QFileInfo::exists(to)) {
        return true;
    }
    return QFile::copy(from, to);
}

}  // namespace

QString demoBatonFileText() {
    QStringList lines{QStringLiteral("# The demo: the same baton comes back every little while."),
                      QStringLiteral("# Each time the program uploads it, files its clockings"),
                      QStringLiteral("# and writes the reports of \"Head Office\".")};
    for (int i = 0; i < kDemoBatons; ++i) {
        lines << QStringLiteral("demo")
              << QStringLiteral("wait %1").arg(i == 0 ? kFirstWaitSeconds : kNextWaitSeconds)
              << QStringLiteral("remove after-upload %1").arg(kLiftAfterSeconds);
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString findDeliveredFolder(const QString& programPath, const QString& buildTimeFolder) {
    const QString besideProgram = QFileInfo(programPath).absolutePath();
    for (const QString& folder : {besideProgram, buildTimeFolder}) {
        if (!folder.isEmpty() && QFileInfo::exists(folder + QStringLiteral("/logo.gif"))) {
            return folder;
        }
    }
    return {};
}

QString prepareDemoFolder(const DemoSetup& setup) {
    const QDir folder(setup.dataFolder);
    if (!folder.exists() && !QDir().mkpath(setup.dataFolder)) {
        return QStringLiteral("Cannot create the demo folder ") + setup.dataFolder;
    }
    for (const QString& name : deliveredNames()) {
        QString from = QDir(setup.deliveredFolder).filePath(name);
        if (!QFileInfo::exists(from)) {
            // The source tree keeps the language file one folder up.
            from = QDir(setup.deliveredFolder).filePath(QStringLiteral("../") + name);
        }
        if (!copyIfMissing(from, folder.filePath(name))) {
            return QStringLiteral("Cannot copy ") + from + QStringLiteral(" into the demo folder");
        }
    }
    const QString program = folder.filePath(QStringLiteral("dorodure"));
    if (!QFileInfo::exists(program) && !QFileInfo(program).isSymLink() &&
        !QFile::link(QFileInfo(setup.programPath).absoluteFilePath(), program)) {
        return QStringLiteral("Cannot link the program into the demo folder");
    }
    const QString batons = folder.filePath(QString::fromLatin1(kDemoBatonFile));
    try {
        if (!textfile::exists(batons)) {
            textfile::writeLinesAtomic(batons, demoBatonFileText().split(u'\n'));
        }
        TSettings settings(folder.filePath(QStringLiteral("Dorodure.ini")));
        settings.load();
        settings.writeKeys({{QStringLiteral("CommPort"), QStringLiteral("1")},
                            {QStringLiteral("Port1"), QStringLiteral("simulator:") + batons}});
    } catch (const FileError& e) {
        return e.message();
    }
    return {};
}

}  // namespace dorodure
