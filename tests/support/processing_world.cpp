#include "processing_world.h"

#include <QLocale>

#include <ctime>

namespace dorodure::test {

void pinLocaleAndZone() {
    static const bool pinned = [] {
        qputenv("TZ", "UTC");
        tzset();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
        return true;
    }();
    (void)pinned;
}

ProcessingWorld::ProcessingWorld(const QDateTime& now) : clock(now) {
    pinLocaleAndZone();
    texts.loadDefaults();
    settings = std::make_unique<TSettings>(dir.file("Dorodure.ini"));
    settings->load();
    log = std::make_unique<TActivityLog>(dir.path(), clock);
    batons = std::make_unique<BatonNames>(dir.path());
    batons->load();
    pdf = std::make_unique<PdfPrint>(clock);
    ctx.dataFolder = dir.path();
    ctx.settings = settings.get();
    ctx.texts = &texts;
    ctx.activityLog = log.get();
    ctx.batonNames = batons.get();
    ctx.pdf = pdf.get();
    ctx.clock = &clock;
    ctx.ui = &ui;
    ctx.unknownAsker = &ignoreAsker;
    ctx.writePending = &writePending;
}

void ProcessingWorld::setSettings(const std::function<void(SettingsValues&)>& change) {
    SettingsValues values = settings->values();
    change(values);
    settings->setValues(values);
}

void ProcessingWorld::writeSiteFolder(const QString& name, const QStringList& checkpointLines,
                                      const QString& endLine) {
    QStringList lines{"//Checkpoint list for " + name, ""};
    lines << checkpointLines << "" << endLine;
    dir.mkdir(name + "/Raw");
    writeCrlfLines(dir.file(name + "/checkpt.lst"), lines);
}

}  // namespace dorodure::test
