#pragma once

// The state the desktop program's windows share: the data folder and
// everything that works in it, the baton link's display and requests, and the
// communications thread. One instance lives for the run; windows receive it by
// reference. Everything here is used on the window thread, except what the
// communications thread reads through its own thread-safe objects (settings,
// language table, display state, baton requests).

#include "link/baton_requests.h"
#include "link/display_state.h"
#include "link/serial_devices.h"
#include "link/upload_session.h"
#include "processing/processing_context.h"
#include "shell/startup_checks.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace dorodure {

class Clock;
class TSettings;
class TLanguageTable;
class TActivityLog;
class TTraceLog;
class TSiteStore;
class BatonNames;
class PdfPrint;
class UserInteraction;
class UnknownCheckpointsAsker;
class TCommsThread;
class LinkHost;
class SerialLineFactory;

// How the program is set up; the defaults are those of a normal run.
struct AppOptions {
    QString dataFolder;                   // empty: the current folder
    Clock* clock = nullptr;               // null: the system clock
    UserInteraction* ui = nullptr;        // null: message boxes and input dialogs
    CheckFileFetcher* fetcher = nullptr;  // null: the HTTP download
    // The files delivered with the program, checked at start-up; empty: the
    // list of this release (vitalFiles() in startup_sequence.h).
    std::vector<VitalFile> vitalFiles;
    // Demo mode: no version check (the data folder is set up by the caller).
    bool demo = false;
    // null: ports are numbered devices as PortMap maps them, with the
    // settings' "Port<N>" overrides (simulated stations among them).
    LineFactory lineFactory;
    // The serial devices the Port Setup window lists; null: those the system
    // has now (availableSerialDevices).
    std::function<std::vector<SerialDeviceEntry>(const PortMap* portMap)> serialDevices;
};

// The settings key of the check file's address and its default.
inline constexpr const char* kCheckFileUrlKey = "CheckFileUrl";
inline constexpr const char* kDefaultCheckFileUrl = "https://www.dorodure.com/update/check.txt";

class AppServices {
  public:
    explicit AppServices(AppOptions options = {});
    ~AppServices();
    AppServices(const AppServices&) = delete;
    AppServices& operator=(const AppServices&) = delete;

    const AppOptions& options() const { return options_; }
    // ProgramFolder: the data folder, without a trailing separator.
    QString dataFolder() const { return dataFolder_; }
    // A file of the data folder.
    QString path(const QString& name) const;

    Clock& clock() { return *clock_; }
    TSettings& settings() { return *settings_; }
    TLanguageTable& texts() { return *texts_; }
    TActivityLog& activityLog() { return *activityLog_; }
    TTraceLog& trace() { return *trace_; }
    TSiteStore& sites() { return *sites_; }
    BatonNames& batonNames() { return *batonNames_; }
    PdfPrint& pdf() { return *pdf_; }
    UserInteraction& ui() { return *ui_; }
    CheckFileFetcher& fetcher() { return *fetcher_; }
    // The context of every processing run (DoRaw, Import, a chosen file, the
    // Reports window's clocking list).
    ProcessingContext& processing() { return processing_; }

    // What the communications thread shows (read by the main window's timer)
    // and the requests windows leave for the next baton (id window, failed
    // patrol, checkpoint window).
    DisplayState& display() { return display_; }
    BatonRequests& requests() { return requests_; }

    // SessionStamp: names this run's trace files.
    QString sessionStamp() const { return sessionStamp_; }
    // Main-window trace (also shown in Memo1); a trace file that cannot be
    // written is dropped rather than ending the operation.
    void traceMain(const QString& message);

    // Set by the version check (or any window) to close the main window at
    // its next timer tick.
    std::atomic<bool> closeRequested{false};
    // The site selected in the site lists at start-up (the DefaultSite
    // setting, or the first site just created); windows preselect it.
    int preselectedSite = 0;

    // The checkpoint editor's station path: called on the window thread with
    // each ID button read on the station (six upper-case hex digits). Unset:
    // the button is ignored.
    std::function<void(const QString& id)> stationIdHandler;

    // Who decides about unknown checkpoints during processing (the "Unknown
    // checkpoints" window); until one is set, they are ignored.
    void setUnknownAsker(UnknownCheckpointsAsker* asker);

    // The communications thread: started by the last step of start-up, stopped
    // at shutdown (DTR on, port closed). null while not running.
    void startCommsThread(LinkHost& host);
    void stopCommsThread();
    TCommsThread* commsThread() { return comms_.get(); }

  private:
    LineFactory makeLineFactory();

    AppOptions options_;
    QString dataFolder_;
    std::unique_ptr<Clock> ownClock_;
    Clock* clock_ = nullptr;
    QString sessionStamp_;
    std::unique_ptr<TSettings> settings_;
    std::unique_ptr<TLanguageTable> texts_;
    std::unique_ptr<TActivityLog> activityLog_;
    std::unique_ptr<TTraceLog> trace_;
    std::unique_ptr<TSiteStore> sites_;
    std::unique_ptr<BatonNames> batonNames_;
    std::unique_ptr<PdfPrint> pdf_;
    std::unique_ptr<UserInteraction> ownUi_;
    UserInteraction* ui_ = nullptr;
    std::unique_ptr<CheckFileFetcher> ownFetcher_;
    CheckFileFetcher* fetcher_ = nullptr;
    std::unique_ptr<UnknownCheckpointsAsker> defaultAsker_;
    ProcessingContext processing_;
    DisplayState display_;
    BatonRequests requests_;
    std::unique_ptr<SerialLineFactory> lineFactory_;
    std::unique_ptr<TCommsThread> comms_;
};

}  // namespace dorodure
