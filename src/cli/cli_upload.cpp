// dorodure-cli upload: the port search and the upload sessions without
// windows. The communications thread runs as in the desktop program; the main
// thread serves its calls (DoRaw, activity-log entries) from a queue.

#include "cli_command.h"
#include "cli_session.h"

#include "link/baton_requests.h"
#include "link/comms_thread.h"
#include "link/display_state.h"
#include "link/link_host.h"
#include "link/port_map.h"
#include "link/rfc2217_line.h"
#include "link/sim/simulated_station.h"
#include "processing/sort_raw.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/file_error.h"
#include "shell/settings.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <exception>
#include <future>
#include <mutex>

namespace dorodure::cli {

namespace {

// Printing from both threads, one line at a time.
void printLine(const QString& line) {
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    std::fputs((line + QLatin1Char('\n')).toLocal8Bit().constData(), stdout);
    std::fflush(stdout);
}

// Work the communications thread hands to the main thread; the caller waits.
class MainThreadQueue {
  public:
    void runBlocking(std::function<void()> work) {
        std::promise<void> done;
        auto result = done.get_future();
        {
            std::lock_guard lock(mutex_);
            tasks_.push_back(Task{std::move(work), std::move(done)});
        }
        wake_.notify_all();
        result.get();  // rethrows what the work threw
    }

    // Main thread: runs what is queued, waiting up to ms for work to come.
    void serve(int ms) {
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return !tasks_.empty(); });
        while (!tasks_.empty()) {
            Task task = std::move(tasks_.front());
            tasks_.pop_front();
            lock.unlock();
            try {
                task.work();
                task.done.set_value();
            } catch (...) {
                task.done.set_exception(std::current_exception());
            }
            lock.lock();
        }
    }

  private:
    struct Task {
        std::function<void()> work;
        std::promise<void> done;
    };
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Task> tasks_;
};

class CliLinkHost final : public LinkHost {
  public:
    CliLinkHost(MainThreadQueue& queue, CliSession& session, const BatonRequests& requests)
        : queue_(queue), session_(session), requests_(requests) {}

    void doRaw(const TBatonInfo& baton) override {
        queue_.runBlocking([&] {
            ProcessingContext& ctx = session_.context();
            ctx.baton = BatonIdentity{baton.idCaption, baton.versionText};
            ctx.writePending = &requests_.writePendingFlag();
            try {
                DoRaw(ctx);
                printLine(QStringLiteral("Processed the upload of ") + baton.idCaption);
            } catch (const FileError& e) {
                printLine(QStringLiteral("Processing failed: ") + e.message());
                throw;
            }
        });
    }

    void logActivity(const QString& name, const QString& message) override {
        queue_.runBlocking([&] { session_.activityLog().append(name, message); });
    }

    bool idButtonRead(const QString& id) override {
        printLine(QStringLiteral("ID button read: ") + id);
        return false;
    }

  private:
    MainThreadQueue& queue_;
    CliSession& session_;
    const BatonRequests& requests_;
};

struct UploadOptions {
    QString simulate;  // baton file or "demo"; empty: the real ports
    QString device;    // a device path or rfc2217:// address for the CommPort number
    bool realTime = false;
    int batons = 0;    // 0: no count
    int timeoutS = 0;  // 0: none
};

int positiveNumber(const std::optional<QString>& text, const QString& option) {
    if (!text) {
        return 0;
    }
    bool ok = false;
    const int value = text->toInt(&ok);
    if (!ok || value <= 0) {
        throw UsageError(option + QStringLiteral(" needs a positive number"));
    }
    return value;
}

UploadOptions takeUploadOptions(QStringList& args) {
    UploadOptions o;
    if (auto file = takeOption(args, QStringLiteral("simulate"))) {
        o.simulate = *file == QLatin1String("demo") ? *file : QFileInfo(*file).absoluteFilePath();
    }
    if (auto device = takeOption(args, QStringLiteral("device"))) {
        o.device = device->trimmed();
        if (o.device.startsWith(QLatin1String("rfc2217:"), Qt::CaseInsensitive) &&
            !parseRfc2217Address(o.device)) {
            throw UsageError(QStringLiteral("--device \"%1\" is not an address of the form "
                                            "rfc2217://HOST:PORT")
                                 .arg(o.device));
        }
        if (!o.simulate.isEmpty()) {
            throw UsageError(QStringLiteral("--device and --simulate exclude each other"));
        }
    }
    o.realTime = takeFlag(args, QStringLiteral("real-time"));
    o.batons =
        positiveNumber(takeOption(args, QStringLiteral("batons")), QStringLiteral("--batons"));
    o.timeoutS =
        positiveNumber(takeOption(args, QStringLiteral("timeout")), QStringLiteral("--timeout"));
    return o;
}

bool idle(const TCommsThread& thread) {
    const int state = thread.currentState();
    return thread.portReady() && (state == 5 || state == 10);
}

// Serves the thread until the run is over; returns the exit code.
int serveUntilDone(TCommsThread& thread, MainThreadQueue& queue, const UploadOptions& o,
                   const std::shared_ptr<sim::SimulatedStation>& station) {
    QElapsedTimer wall;
    wall.start();
    for (;;) {
        queue.serve(50);
        if (o.batons > 0 && thread.completedSessions() >= o.batons) {
            return 0;
        }
        if (o.batons == 0 && station && station->scriptFinished() && idle(thread)) {
            return 0;
        }
        if (o.timeoutS > 0 && wall.elapsed() >= qint64(o.timeoutS) * 1000) {
            printLine(QStringLiteral("Timed out after %1 s").arg(o.timeoutS));
            return 3;
        }
    }
}

int runUpload(QStringList args) {
    CliSession::Options options;
    CliSession::takeCommonOptions(args, options);
    const UploadOptions o = takeUploadOptions(args);
    if (!args.isEmpty()) {
        throw UsageError(QStringLiteral("unexpected argument \"%1\"").arg(args.first()));
    }
    std::unique_ptr<Clock> clock;
    if (!o.simulate.isEmpty() && !o.realTime) {
        clock = std::make_unique<ManualClock>(QDateTime::currentDateTime());
    } else {
        clock = std::make_unique<SystemClock>();
    }
    options.clock = clock.get();
    CliSession session(options);

    TSettings& settings = session.settings();
    PortMap map = settingsPortMap(settings);
    std::shared_ptr<sim::SimulatedStation> station;
    QString device;
    if (!o.simulate.isEmpty()) {
        device = QStringLiteral("simulator:") + o.simulate;
        map.setOverride(std::max(1, settings.values().commPort), device);
    } else if (!o.device.isEmpty()) {
        // The search starts at the CommPort number (1 when 0): it finds the
        // station there first.
        map.setOverride(std::max(1, settings.values().commPort), o.device);
    }
    SerialLineFactory lines(map, *clock);
    registerRfc2217Transport(lines);
    if (!device.isEmpty()) {
        station = lines.station(device);  // a bad baton file stops here
    }

    DisplayState display;
    display.setStatusObserver([](const QString& text) { printLine(text); });
    BatonRequests requests;
    MainThreadQueue queue;
    CliLinkHost host(queue, session, requests);
    LinkServices services{*clock, session.texts(),      settings,        display, requests,
                          host,   session.dataFolder(), &session.trace()};
    TCommsThread thread(services, [&lines](int port) { return lines.make(port); });
    thread.start();
    const int code = serveUntilDone(thread, queue, o, station);
    thread.requestStop();
    while (thread.running()) {
        queue.serve(20);
    }
    thread.stop();
    printLine(QStringLiteral("Batons uploaded: %1").arg(thread.completedSessions()));
    return code;
}

const CommandRegistration kUpload(
    QStringLiteral("upload"),
    QStringLiteral("find the station and upload batons [--simulate FILE|demo] [--device DEVICE] "
                   "[--real-time] "
                   "[--batons K] [--timeout S] [--unknown ignore|site:NAME|new:NAME]"),
    [](const QStringList& args) {
        return CliSession::guarded(QStringLiteral("upload"), [&] { return runUpload(args); });
    });

}  // namespace

}  // namespace dorodure::cli
