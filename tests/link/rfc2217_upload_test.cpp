// Whole upload sessions through a real RFC 2217 server (pyserial's
// PortManager) in front of the simulated station, run by the communications
// thread in real time, compared with the same baton on the in-process station.
#include "link/comms_thread.h"
#include "link/port_map.h"
#include "link/rfc2217_line.h"
#include "link_fixture.h"
#include "rfc2217/station_bridge.h"
#include "shell/text_file.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <thread>

namespace dorodure {
namespace {

using test::batonWith;
using test::recordKey;

// Lists compared as text, so that a failure shows them readably.
std::string joined(const QStringList& list) {
    return list.join(QStringLiteral(" | ")).toStdString();
}

bool waitUntil(const std::function<bool()>& pred, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!pred()) {
        if (timer.elapsed() > timeoutMs) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

bool isClockRead(const QByteArray& frame) {
    return frame.startsWith('\x03') || frame.startsWith('\x33');
}

// The command frames from the first identity request to the first clock
// read, as hex text; the clock set keeps only its command byte (it carries
// the PC's time).
QStringList sessionCommands(const sim::SimulatedStation& station) {
    QStringList out;
    bool started = false;
    for (const QByteArray& frame : station.commands()) {
        started = started || frame == QByteArray::fromHex("015e");
        if (!started) {
            continue;
        }
        const bool clockSet = frame.startsWith('\x05') || frame.startsWith('\x35');
        out << QString::fromLatin1((clockSet ? frame.left(1) : frame).toHex(' ').toUpper());
        if (isClockRead(frame)) {
            break;
        }
    }
    return out;
}

int countCommands(const sim::SimulatedStation& station, char command) {
    int n = 0;
    for (const QByteArray& frame : station.commands()) {
        n += frame.startsWith(command) ? 1 : 0;
    }
    return n;
}

QStringList signalsOf(const sim::SimulatedStation& station) {
    QStringList out;
    for (const sim::LineEvent& e : station.log()) {
        if (e.kind == sim::LineEvent::Kind::Dtr || e.kind == sim::LineEvent::Kind::Break) {
            out << QStringLiteral("%1 %2").arg(
                e.kind == sim::LineEvent::Kind::Dtr ? QLatin1String("DTR") : QLatin1String("BREAK"),
                e.on ? QLatin1String("on") : QLatin1String("off"));
        }
    }
    return out;
}

// The program's side in real time: data folder, settings, the
// communications thread on a port map whose COM1 is the server; every other
// port number has no device.
struct NetworkLink {
    test::TempDataFolder folder;
    SystemClock clock;
    TSettings settings{folder.file(QStringLiteral("Dorodure.ini"))};
    TLanguageTable texts;
    DisplayState display;
    BatonRequests requests;
    test::RecordingHost host{folder.file(QStringLiteral("Raw.txt"))};
    TTraceLog trace{folder.path(), QStringLiteral("1"), clock};
    std::unique_ptr<SerialLineFactory> factory;
    std::unique_ptr<TCommsThread> thread;

    explicit NetworkLink(const QString& address) {
        if (qEnvironmentVariableIsSet("DORODURE_TEST_TRACE")) {
            textfile::createEmpty(folder.file(QStringLiteral("Rs232.txt")));
        }
        settings.load();
        texts.loadDefaults();
        factory = std::make_unique<SerialLineFactory>(
            PortMap([address](const QString& key) {
                return key == QLatin1String("Port1") ? address : QStringLiteral("none");
            }),
            clock);
        registerRfc2217Transport(*factory);
        LinkServices services{clock,    texts, settings,      display,
                              requests, host,  folder.path(), &trace};
        thread = std::make_unique<TCommsThread>(services,
                                                [this](int port) { return factory->make(port); });
        thread->start();
    }
    ~NetworkLink() { thread->stop(); }
};

struct Rfc2217UploadTest : ::testing::Test {
    SystemClock stationClock;
    std::shared_ptr<sim::SimulatedStation> station;
    std::unique_ptr<test::StationBridge> bridge;
    std::unique_ptr<test::Rfc2217Server> server;

    void SetUp() override {
        const QString python = test::pythonWithPyserial();
        if (python.isEmpty()) {
            GTEST_SKIP() << "python3-serial is not installed";
        }
        sim::StationOptions options;
        options.realByteTiming = true;
        station = std::make_shared<sim::SimulatedStation>(stationClock, options);
        bridge = std::make_unique<test::StationBridge>(station);
        server = std::make_unique<test::Rfc2217Server>(python, bridge->port());
        ASSERT_TRUE(server->start());
    }

    // Places the baton, waits for the first clock read after `readsBefore`,
    // removes the baton and waits until the session has seen it leave.
    bool upload(NetworkLink& link, const sim::BatonSetup& baton, bool place = true) {
        const int done = link.thread->completedSessions();
        const int reads = countCommands(*station, '\x03');
        if (place) {
            station->place(baton);
        }
        if (!waitUntil([&] { return countCommands(*station, '\x03') > reads; }, 90000)) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        station->remove();
        return waitUntil([&] { return link.thread->completedSessions() > done; }, 30000);
    }
};

TEST_F(Rfc2217UploadTest, UploadThroughTheServerMatchesTheLocalStation) {
    const sim::BatonSetup baton = batonWith("Ziru0123", {{2, 5}, {0, 3}});

    test::LinkFixture local;
    local.addStation(1);
    local.start();
    local.runFor(1000);
    ASSERT_TRUE(local.uploadOne(baton));

    NetworkLink link(server->address());
    // The baton comes once the idle cycle has raised BREAK the first time.
    ASSERT_TRUE(waitUntil([&] { return bridge->lineSignals().size() >= 12; }, 30000));
    ASSERT_TRUE(upload(link, baton));

    EXPECT_EQ(joined(sessionCommands(*station)), joined(sessionCommands(*local.station)));
    ASSERT_EQ(station->clearedRecords().size(), 8u);
    EXPECT_EQ(station->clearedRecords(), local.station->clearedRecords());
    QStringList cleared;
    for (const sim::BatonRecord& r : station->clearedRecords()) {
        cleared << recordKey(r, link.clock.now().date());
    }
    EXPECT_EQ(joined(link.host.processed), joined(cleared));
    EXPECT_EQ(link.host.doRawCalls, 1);

    // The line signals reached the server in the order of port discovery
    // and the idle cycle: open (DTR low), echo test on and off, DTR back on;
    // the station check; then state 0 (DTR on, BREAK on), 5 (BREAK off, DTR
    // on) and 10 (BREAK on while no baton greets).
    const QStringList order = {"DTR off",  "DTR on",    "DTR off",   "DTR on",
                               "DTR off",  "DTR on",    "BREAK off", "DTR on",
                               "BREAK on", "BREAK off", "DTR on",    "BREAK on"};
    EXPECT_EQ(joined(bridge->lineSignals().mid(0, order.size())), joined(order));
    // The station saw the same changes as the local one, up to the baton.
    const QStringList here = signalsOf(*station);
    const QStringList there = signalsOf(*local.station);
    const qsizetype common = std::min(here.size(), there.size());
    EXPECT_GE(common, 6);
    EXPECT_EQ(joined(here.mid(0, common)), joined(there.mid(0, common)));
    for (const QString& s : bridge->settings()) {
        EXPECT_NE(s, QStringLiteral("rts=True"));
    }
}

TEST_F(Rfc2217UploadTest, DroppedConnectionMidDownloadClearsNothingAndReconnects) {
    const sim::BatonSetup baton = batonWith("Ziru0456", {{2, 120}});
    NetworkLink link(server->address());
    const quint16 port = server->port();

    station->place(baton);
    // Drop the server after some packets of bank 2 have been taken.
    ASSERT_TRUE(waitUntil([&] { return countCommands(*station, '\x0D') >= 20; }, 60000));
    server->kill();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));

    EXPECT_EQ(countCommands(*station, '\x11'), 0);
    EXPECT_TRUE(station->clearedRecords().empty());
    EXPECT_EQ(link.host.doRawCalls, 0);
    EXPECT_FALSE(link.thread->portReady());  // back to the search for the station

    // The server comes back on its address; the search finds the station
    // again and the baton, still on it, is uploaded in full.
    ASSERT_TRUE(server->start(port));
    ASSERT_TRUE(upload(link, baton, false));
    ASSERT_EQ(station->clearedRecords().size(), 120u);
    QStringList cleared;
    for (const sim::BatonRecord& r : station->clearedRecords()) {
        cleared << recordKey(r, link.clock.now().date());
    }
    EXPECT_EQ(joined(link.host.processed), joined(cleared));
    EXPECT_EQ(link.host.doRawCalls, 1);
}

}  // namespace
}  // namespace dorodure
