// The desktop program: one copy per user and data folder, the main window,
// and demo mode ("--demo": a simulated station with a demo baton).
#include "app_services.h"
#include "frm_main.h"
#include "single_instance.h"
#include "startup_demo.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QMessageBox>

#ifndef DORODURE_DELIVERED_DIR
#define DORODURE_DELIVERED_DIR ""
#endif

namespace {

struct Arguments {
    bool demo = false;
    QString dataFolder;
};

Arguments parseArguments(const QApplication& app) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Dorodure uploader: uploads guard-tour batons and writes site reports.\n"
                       "The data folder is the current folder unless --data-folder names one."));
    parser.addHelpOption();
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Run with a simulated upload station and a "
                                                 "demo baton (no hardware needed)."));
    const QCommandLineOption folder(QStringLiteral("data-folder"),
                                    QStringLiteral("The folder of the sites and settings."),
                                    QStringLiteral("folder"));
    parser.addOption(demo);
    parser.addOption(folder);
    parser.process(app);
    return {parser.isSet(demo), parser.value(folder)};
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dorodure"));
    // The desktop entry, the AppStream metadata and the icons share this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.dorodure.Uploader"));
    const Arguments args = parseArguments(app);
    const QString folder =
        QDir(args.dataFolder.isEmpty() ? QDir::currentPath() : args.dataFolder).absolutePath();

    dorodure::SingleInstance instance(dorodure::SingleInstance::keyFor(folder));
    if (instance.raiseRunningCopy()) {
        return 0;
    }
    instance.listen();

    if (args.demo) {
        const QString program = QCoreApplication::applicationFilePath();
        dorodure::DemoSetup setup{
            folder, dorodure::findDeliveredFolder(program, QStringLiteral(DORODURE_DELIVERED_DIR)),
            program};
        const QString problem = dorodure::prepareDemoFolder(setup);
        if (!problem.isEmpty()) {
            QMessageBox::critical(nullptr, QStringLiteral("Dorodure"), problem);
            return 1;
        }
    }
    QDir::setCurrent(folder);
    dorodure::AppOptions options;
    options.dataFolder = folder;
    options.demo = args.demo;
    dorodure::AppServices services(options);
    dorodure::TfrmMain window(services);
    QObject::connect(&instance, &dorodure::SingleInstance::raiseRequested, &window, [&] {
        services.traceMain(QStringLiteral("restored by a second start"));
        window.restoreAndRaise();
    });
    window.show();
    return QApplication::exec();
}
