// Processor time of the communications thread while it waits for a baton: the
// port search finds the simulated station, then the idle cycle (LED blink,
// BREAK toggling) runs for the given time on the real clock. Goal: well under
// 1% of one core.
//
//   link_idle [--duration SECONDS]   (default 60)

#include "link/baton_requests.h"
#include "link/comms_thread.h"
#include "link/display_state.h"
#include "link/link_host.h"
#include "link/shared_line.h"
#include "link/sim/simulated_station.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "shell/settings.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>

namespace dorodure {
namespace {

class IdleHost : public LinkHost {
  public:
    void doRaw(const TBatonInfo&) override {}
    void logActivity(const QString&, const QString&) override {}
    bool idButtonRead(const QString&) override { return false; }
};

double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

}  // namespace
}  // namespace dorodure

int main(int argc, char** argv) {
    using namespace dorodure;
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--duration"));
    const int seconds = at >= 0 && at + 1 < args.size() ? args.at(at + 1).toInt() : 60;

    QTemporaryDir dir;
    SystemClock clock;
    TSettings settings(dir.filePath(QStringLiteral("Dorodure.ini")));
    settings.load();
    TLanguageTable texts;
    texts.loadDefaults();
    DisplayState display;
    BatonRequests requests;
    IdleHost host;
    auto station = std::make_shared<sim::SimulatedStation>(clock);
    LinkServices services{clock, texts, settings, display, requests, host, dir.path(), nullptr};
    TCommsThread thread(services, [&](int port) -> std::unique_ptr<SerialLine> {
        return port == 1 ? std::make_unique<SharedLine>(station) : nullptr;
    });
    thread.start();
    while (!thread.portReady()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    const double cpuBefore = cpuMs();
    const auto wallBefore = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const double cpu = cpuMs() - cpuBefore;
    const double wall =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallBefore)
            .count();
    thread.stop();
    std::printf("waiting for a baton: %.0f ms wall, %.1f ms CPU, %.3f%% of one core (goal < 1%%)\n",
                wall, cpu, 100.0 * cpu / wall);
    return 0;
}
