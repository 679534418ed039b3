// The communications thread: a whole upload on its own thread, a prompt stop,
// and an idle loop that costs next to no processor time.
#include "link/comms_thread.h"
#include "link_fixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <thread>

namespace dorodure {
namespace {

using test::batonWith;
using test::LinkFixture;

template <typename Pred>
bool waitReal(Pred pred, int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!pred()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}

TEST(CommsThread, UploadsOnItsOwnThreadInVirtualTime) {
    LinkFixture fx;
    fx.addStation(1);
    TCommsThread thread(fx.services, fx.factory());
    thread.start();
    ASSERT_TRUE(waitReal([&] { return thread.portReady(); }, 20000));
    fx.station->place(batonWith("Ziru0123", {{2, 3}, {0, 2}}));
    ASSERT_TRUE(waitReal([&] { return fx.clockReads() > 0; }, 20000));
    fx.station->remove();
    ASSERT_TRUE(waitReal([&] { return thread.completedSessions() == 1; }, 20000));
    thread.stop();
    EXPECT_FALSE(thread.running());
    EXPECT_EQ(fx.host.doRawCalls, 1);
    EXPECT_EQ(fx.checkNothingLost().toStdString(), "");
    EXPECT_EQ(fx.clearedKeys().size(), 5);
    // On the way out DTR is set, then the port closed.
    bool dtrOnAtClose = false;
    for (const sim::LineEvent& e : fx.station->log()) {
        if (e.kind == sim::LineEvent::Kind::Dtr) {
            dtrOnAtClose = e.on;
        }
    }
    EXPECT_TRUE(dtrOnAtClose);
    EXPECT_FALSE(fx.station->isOpen());
}

double processCpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1000.0 + double(ts.tv_nsec) / 1e6;
}

// Real time: the thread waits for a baton on a real clock.
struct RealTimeLink {
    SystemClock clock;
    LinkFixture fx;
    std::shared_ptr<sim::SimulatedStation> station = std::make_shared<sim::SimulatedStation>(clock);
    LinkServices services{clock,       fx.texts, fx.settings,      fx.display,
                          fx.requests, fx.host,  fx.folder.path(), nullptr};
    RealTimeLink() { fx.ports[1] = station; }
};

TEST(CommsThread, StopsPromptlyAndIdlesCheaply) {
    RealTimeLink link;
    TCommsThread thread(link.services, link.fx.factory());
    thread.start();
    ASSERT_TRUE(waitReal([&] { return thread.portReady(); }, 5000));
    // Idle: the LED blinks and BREAK toggles, the thread blocks in between.
    const double cpuBefore = processCpuMs();
    const auto wallBefore = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(2000));
    const double cpu = processCpuMs() - cpuBefore;
    const double wall =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallBefore)
            .count();
    EXPECT_LT(cpu / wall, 0.01) << cpu << " ms of CPU in " << wall << " ms";
    const auto stopAt = std::chrono::steady_clock::now();
    thread.stop();
    const auto stopMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - stopAt)
                            .count();
    EXPECT_LT(stopMs, 200);
    EXPECT_FALSE(thread.running());
}

}  // namespace
}  // namespace dorodure
