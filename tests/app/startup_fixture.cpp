#include "startup_fixture.h"

#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/settings.h"
#include "shell/text_file.h"
#include "sites/site_store.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QThread>

namespace dorodure::test {

bool FakeFetcher::fetch(const QString& url, const QString& destinationPath) {
    urls << url;
    if (content.isEmpty()) {
        return false;
    }
    writeBytes(destinationPath, content.toLatin1());
    return true;
}

AppFixture::AppFixture() = default;

AppFixture::~AppFixture() {
    window_.reset();
    services_.reset();
}

void AppFixture::install() {
    const QDir delivered(QStringLiteral(DORODURE_SOURCE_DIR "/data/delivered"));
    for (const QString& name : delivered.entryList(QDir::Files)) {
        QFile::copy(delivered.filePath(name), path(name));
    }
    QFile::copy(QStringLiteral(DORODURE_SOURCE_DIR "/data/English.lng"),
                path(QStringLiteral("English.lng")));
    writeBytes(path(QStringLiteral("dorodure")), "#!/bin/sh\n");
    // A check made today: no fetch at this start.
    writeBytes(path(QStringLiteral("temp")), "01/01/2024\r\nnewest\r\nend\r\n");
    writeSetting(QStringLiteral("CommPort"), QStringLiteral("1"));
    writeSetting(QStringLiteral("Port1"), QStringLiteral("simulator"));
}

void AppFixture::addSite(const QString& name) {
    folder.mkdir(name + QStringLiteral("/Raw"));
}

void AppFixture::writeSetting(const QString& key, const QString& value) {
    TSettings settings(path(QStringLiteral("Dorodure.ini")));
    settings.load();
    settings.writeKey(key, value);
}

void AppFixture::create() {
    AppOptions options;
    options.dataFolder = folder.path();
    options.ui = &ui;
    options.fetcher = &fetcher;
    options.demo = demo;
    options.serialDevices = serialDevices;
    services_ = std::make_unique<AppServices>(options);
    window_ = std::make_unique<TfrmMain>(*services_);
    // The main window installs the "Unknown checkpoints" window as the asker;
    // these tests answer from a script and must never meet a modal window.
    services_->setUnknownAsker(nullptr);
}

void AppFixture::start() {
    create();
    window_->runStartup();
}

bool AppFixture::waitFor(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

QStringList AppFixture::traceLines() const {
    QDirIterator it(folder.path(), {QStringLiteral("RsM*.txt")}, QDir::Files);
    return it.hasNext() ? readCrlfLines(it.next()) : QStringList{};
}

QStringList AppFixture::activityLines() const {
    const QString name = TActivityLog::fileNameFor(QDate::currentDate());
    return textfile::readLinesIfExists(path(name));
}

}  // namespace dorodure::test
