// Download speed: one baton downloaded from the simulated station at the real
// 9600-baud byte timing, first in real time, then the same session in virtual
// time. The virtual run takes exactly the time on the wire plus the waits the
// protocol mandates (processing costs nothing there), so the ratio of the two
// is the overhead of the program itself. Goal: ratio <= 1.02.
//
//   link_download [--records N] [--response-ms M]

#include "link/baton_requests.h"
#include "link/display_state.h"
#include "link/link_host.h"
#include "link/shared_line.h"
#include "link/sim/simulated_station.h"
#include "link/upload_session.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "shell/text_file.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <atomic>
#include <cstdio>
#include <memory>

namespace dorodure {
namespace {

class BenchHost : public LinkHost {
  public:
    BenchHost(const Clock& clock, QString raw) : clock_(clock), raw_(std::move(raw)) {}
    void doRaw(const TBatonInfo&) override {
        doneAt = clock_.tickMs();
        textfile::appendLine(raw_, QStringLiteral("Done"));
    }
    void logActivity(const QString&, const QString&) override {}
    bool idButtonRead(const QString&) override { return false; }
    qint64 doneAt = -1;

  private:
    const Clock& clock_;
    QString raw_;
};

sim::BatonSetup benchBaton(int records) {
    sim::BatonSetup made;
    made.idText = "Ziru0500";
    for (int i = 0; i < records; ++i) {
        sim::BatonRecord r;
        r.buttonId = std::uint32_t(0xA1 + i % 6);
        r.month = 0x05;
        r.day = 0x11;
        r.hour = std::uint8_t(((i / 60) % 24 / 10) * 16 + (i / 60) % 24 % 10);
        r.minute = std::uint8_t((i % 60 / 10) * 16 + i % 60 % 10);
        made.banks[i % 3 == 0 ? 0 : 1].push_back(r);  // banks 0 and 2
    }
    return made;
}

// Milliseconds from the identity request to DoRaw for one download.
qint64 downloadOnce(Clock& clock, int records, qint64 responseMs) {
    QTemporaryDir dir;
    TSettings settings(dir.filePath(QStringLiteral("Dorodure.ini")));
    settings.load();
    TLanguageTable texts;
    texts.loadDefaults();
    DisplayState display;
    BatonRequests requests;
    BenchHost host(clock, dir.filePath(QStringLiteral("Raw.txt")));
    sim::StationOptions options;
    options.realByteTiming = true;
    options.responseDelayMs = responseMs;
    auto station = std::make_shared<sim::SimulatedStation>(clock, options);
    LinkServices services{clock, texts, settings, display, requests, host, dir.path(), nullptr};
    std::atomic<bool> stop{false};
    UploadSession session(
        services,
        [&](int port) -> std::unique_ptr<SerialLine> {
            return port == 1 ? std::make_unique<SharedLine>(station) : nullptr;
        },
        stop);
    session.discover();
    session.prepareLoop();
    station->place(benchBaton(records));
    while (host.doneAt < 0) {
        session.runPass();
    }
    qint64 identityAt = -1;
    for (const sim::LineEvent& e : station->log()) {
        if (e.kind == sim::LineEvent::Kind::Command && e.bytes == QByteArray::fromHex("015E")) {
            identityAt = e.tickMs;
            break;
        }
    }
    stop = true;
    session.finish();
    return host.doneAt - identityAt;
}

int argValue(const QStringList& args, const QString& name, int fallback) {
    const qsizetype i = args.indexOf(name);
    return i >= 0 && i + 1 < args.size() ? args.at(i + 1).toInt() : fallback;
}

}  // namespace
}  // namespace dorodure

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int records = dorodure::argValue(args, QStringLiteral("--records"), 600);
    const int responseMs = dorodure::argValue(args, QStringLiteral("--response-ms"), 1);
    dorodure::SystemClock real;
    const qint64 measured = dorodure::downloadOnce(real, records, responseMs);
    dorodure::ManualClock virtualClock;
    const qint64 mandated = dorodure::downloadOnce(virtualClock, records, responseMs);
    std::printf("records: %d (banks 2 and 0), baton response delay %d ms\n", records, responseMs);
    std::printf("measured download:            %lld ms\n", static_cast<long long>(measured));
    std::printf("wire time + mandated waits:   %lld ms\n", static_cast<long long>(mandated));
    std::printf("ratio:                        %.4f (goal <= 1.02)\n",
                double(measured) / double(mandated));
    return 0;
}
