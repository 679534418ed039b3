#pragma once

#include "link/baton_requests.h"
#include "link/display_state.h"
#include "link/link_context.h"
#include "link/link_host.h"
#include "link/serial_line.h"
#include "link/shared_line.h"
#include "link/sim/simulated_station.h"
#include "link/upload_session.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "shell/trace_log.h"
#include "test_support.h"

#include <QStringList>

#include <atomic>
#include <functional>
#include <map>
#include <memory>

namespace dorodure::test {

// The main thread as the link sees it: DoRaw copies the records of Raw.txt to
// `processed` and appends "Done", as sorting does.
class RecordingHost : public LinkHost {
  public:
    explicit RecordingHost(QString rawPath) : rawPath_(std::move(rawPath)) {}

    void doRaw(const TBatonInfo& baton) override;
    void logActivity(const QString& name, const QString& message) override {
        activity << name + QLatin1Char('|') + message;
    }
    bool idButtonRead(const QString& id) override {
        buttons << id;
        return addButtons;
    }

    QStringList processed;  // record lines handed to DoRaw, in order
    QStringList batons;     // idCaption of each DoRaw
    QStringList activity;
    QStringList buttons;
    bool addButtons = true;
    int doRawCalls = 0;
    std::function<void()> beforeDoRaw;

  private:
    QString rawPath_;
};

// A data folder with settings, texts and the shared link state, a simulated
// station on a port, and an upload session run pass by pass in virtual time.
struct LinkFixture {
    LinkFixture();
    ~LinkFixture();

    // Puts the station on a port (COM1 unless told otherwise).
    std::shared_ptr<sim::SimulatedStation> addStation(int port = 1,
                                                      sim::StationOptions options = {});
    LineFactory factory();
    QString rawPath() const { return folder.file(QStringLiteral("Raw.txt")); }

    // Discovery and the first pass set-up.
    void start();
    // Runs passes until pred holds or virtualMs of virtual time have passed.
    bool runUntil(const std::function<bool()>& pred, qint64 virtualMs = 120000);
    // Runs passes for a stretch of virtual time.
    void runFor(qint64 virtualMs);
    // Clock reads (03 or 33) the station's batons took so far.
    int clockReads() const;
    // Places a baton, runs until the session polls its clock, takes the baton
    // away two seconds later and runs until the session is back looking.
    bool uploadOne(const sim::BatonSetup& baton, const sim::FaultPlan& faults = {},
                   qint64 lingerMs = 2000);
    // Places a baton whose faults may end its session early; takes it away
    // once its clock is polled (if it is still there) and runs until the
    // session is idle again. Returns false when it never gets there.
    bool uploadFaulty(const sim::BatonSetup& baton, const sim::FaultPlan& faults);
    bool idle() const;

    // The command frames the PC wrote, with the tick of their first byte,
    // from the tick `since` on.
    std::vector<std::pair<qint64, QByteArray>> pcFrames(qint64 since = 0) const;
    // The tick of the last event of a kind in the station's log, or -1.
    qint64 lastEvent(sim::LineEvent::Kind kind) const;

    // The record lines (first 22 characters) the station cleared, and those
    // handed to DoRaw.
    QStringList clearedKeys() const;
    QStringList processedKeys() const;
    // Record keys still on the batons that were taken away.
    QStringList keysLeftOnBatons() const;
    // Every cleared record was handed to DoRaw exactly once, and every record
    // handed to DoRaw was cleared or is still on its baton. Returns what is
    // wrong, or "".
    QString checkNothingLost() const;

    TempDataFolder folder;
    ManualClock clock;
    TSettings settings;
    TLanguageTable texts;
    DisplayState display;
    BatonRequests requests;
    RecordingHost host;
    // Writes the thread trace into the data folder when DORODURE_TEST_TRACE is set.
    TTraceLog trace;
    std::map<int, std::shared_ptr<SerialLine>> ports;
    std::vector<int> probed;  // every port the session asked the factory for
    std::shared_ptr<sim::SimulatedStation> station;
    std::atomic<bool> stop{false};
    LinkServices services;
    std::unique_ptr<UploadSession> session;
};

// A baton with n records in the given bank, each a distinct clocking.
sim::BatonSetup batonWith(const QByteArray& idText, std::vector<std::pair<int, int>> bankCounts);
// The first 22 characters of a record line made from a baton record today.
QString recordKey(const sim::BatonRecord& record, const QDate& today);

}  // namespace dorodure::test
