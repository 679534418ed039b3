#include "process_fixture.h"

namespace dorodure::test {

namespace {

// Texts that come from the language file only; the tests give them fixed wording.
void setLanguageFileTexts(TLanguageTable& texts) {
    texts.setText(150, "Nothing to report");
    texts.setText(152, "Name");
    texts.setText(153, "Count");
    texts.setText(154, "Memory wrap: one step back in time");
    texts.setText(155, "in a full baton memory.");
    texts.setText(156, "Check the baton's clock.");
    texts.setText(157, "Clockings out of time order:");
    texts.setText(158, "possible data tampering.");
    texts.setText(170, "Download report");
    texts.setText(171, "Secure report");
    texts.setText(175, "Event one");
    texts.setText(176, "Event two");
    texts.setText(177, "Event three");
    texts.setText(178, "Event four");
}

}  // namespace

ProcessFixture::ProcessFixture()
    : ProcessingWorld(QDateTime(QDate(2009, 5, 12), QTime(14, 3, 22))) {
    setLanguageFileTexts(texts);
    setSettings([](SettingsValues& v) {
        v.reportHeader = "Night patrol";
        v.reportFooter = "Footer text";
        v.aboutWeb = "www.example.com";
    });
    ctx.baton = BatonIdentity{"Id : Ziru0123", "0104"};
}

void ProcessFixture::site(const QString& name, const QStringList& checkpointLines) {
    writeSiteFolder(name, checkpointLines, "//End of file");
}

void ProcessFixture::load() {
    store = std::make_unique<TSiteStore>(dir.path());
    store->loadSites();
    store->rebuildSiteIds();
    ctx.sites = store.get();
}

void ProcessFixture::upload(const QStringList& lines, const QString& identity) {
    uploadRaw(QStringList{identity} + lines + QStringList{"Done"});
}

void ProcessFixture::uploadRaw(const QStringList& allLines) {
    writeCrlfLines(rawPath(), allLines);
    QFile file(rawPath());
    file.open(QIODevice::ReadWrite);
    file.setFileTime(QDateTime(QDate(2009, 5, 12), QTime(13, 58, 7)),
                     QFileDevice::FileModificationTime);
}

ProcessResult ProcessFixture::run(ProcessOrigin origin) {
    if (!store) {
        load();
    }
    return ProcessRaw(ctx, rawPath(), origin);
}

QString ProcessFixture::reportPath(const QString& siteName, const QString& ext) const {
    return dir.file(siteName + "/05121403." + ext);
}

QStringList ProcessFixture::text(const QString& siteName) const {
    return readCrlfLines(reportPath(siteName, "txt"));
}

QStringList ProcessFixture::csv(const QString& siteName) const {
    return readCrlfLines(reportPath(siteName, "csv"));
}

QStringList ProcessFixture::recordLines(const QString& siteName) const {
    const QStringList lines = text(siteName);
    const qsizetype head = lines.indexOf(texts.text(39));
    QStringList out;
    for (qsizetype i = head + 1; head >= 0 && i < lines.size(); ++i) {
        if (lines[i].isEmpty() || lines[i] == texts.text(61)) {
            break;
        }
        out << lines[i];
    }
    return out;
}

QStringList ProcessFixture::warningLines(const QString& siteName) const {
    const QStringList lines = text(siteName);
    const qsizetype head = lines.indexOf(" " + texts.text(72));
    QStringList out;
    for (qsizetype i = head + 2; head >= 0 && i < lines.size() && !lines[i].isEmpty(); ++i) {
        out << lines[i];
    }
    return out;
}

QStringList ProcessFixture::csvRecordRows(const QString& siteName) const {
    const QStringList lines = csv(siteName);
    const qsizetype head = lines.indexOf("Date,Time,Interval,Code,Point");
    QStringList out;
    for (qsizetype i = head + 1; head >= 0 && i < lines.size() && !lines[i].isEmpty(); ++i) {
        out << lines[i];
    }
    return out;
}

QStringList ProcessFixture::checkpointList(const QString& siteName) const {
    return readCrlfLines(dir.file(siteName + "/checkpt.lst"));
}

}  // namespace dorodure::test
