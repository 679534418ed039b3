#pragma once

// A data folder as the desktop program finds it after installation, and the
// main window started on it, for the window tests of start-up, shutdown and
// the main window.

#include "app_services.h"
#include "frm_main.h"
#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

namespace dorodure::test {

// Serves fixed check-file text, or fails like an unreachable web site.
class FakeFetcher final : public CheckFileFetcher {
  public:
    QString content;  // empty: the fetch fails
    QStringList urls;
    bool fetch(const QString& url, const QString& destinationPath) override;
};

class AppFixture {
  public:
    AppFixture();
    ~AppFixture();

    QString path(const QString& name) const { return folder.file(name); }
    // The delivered files, the language file, a fresh check file "temp" and
    // settings that put a simulated station without a baton on port 1.
    void install();
    void addSite(const QString& name);
    void writeSetting(const QString& key, const QString& value);

    // Makes the services and the window; start() also runs the start-up.
    void create();
    void start();
    // Processes events until done() or the time is up; returns done().
    static bool waitFor(const std::function<bool()>& done, int timeoutMs = 10000);

    AppServices& services() { return *services_; }
    TfrmMain& window() { return *window_; }
    // The main-window trace file of this run ("Rs232.txt" turns it on).
    QStringList traceLines() const;
    // The lines of this month's activity log.
    QStringList activityLines() const;

    TempDataFolder folder;
    ScriptedInteraction ui;
    FakeFetcher fetcher;
    bool demo = false;
    // The serial devices the Port Setup window lists; null: the system's.
    std::function<std::vector<SerialDeviceEntry>(const PortMap*)> serialDevices;

  private:
    std::unique_ptr<AppServices> services_;
    std::unique_ptr<TfrmMain> window_;
};

}  // namespace dorodure::test
