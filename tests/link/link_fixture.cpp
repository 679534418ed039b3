#include "link_fixture.h"

#include "processing/raw/raw_file.h"
#include "shell/text_file.h"

#include <QFile>

namespace dorodure::test {

void RecordingHost::doRaw(const TBatonInfo& baton) {
    if (beforeDoRaw) {
        beforeDoRaw();
    }
    ++doRawCalls;
    batons << baton.idCaption;
    const QStringList lines = textfile::readLines(rawPath_);
    for (const QString& line : lines) {
        if (rawfile::classify(line) == rawfile::LineKind::Record) {
            processed << line.left(22);
        }
    }
    if (lines.isEmpty() || !rawfile::isDone(lines.last())) {
        textfile::appendLine(rawPath_, QStringLiteral("Done"));
    }
}

LinkFixture::LinkFixture()
    : settings(folder.file(QStringLiteral("Dorodure.ini"))),
      host(folder.file(QStringLiteral("Raw.txt"))),
      trace(folder.path(), QStringLiteral("1"), clock),
      services{clock, texts, settings, display, requests, host, folder.path(), &trace} {
    if (qEnvironmentVariableIsSet("DORODURE_TEST_TRACE")) {
        textfile::createEmpty(folder.file(QStringLiteral("Rs232.txt")));
    }
    settings.load();
    texts.loadDefaults();
}

LinkFixture::~LinkFixture() {
    const QString keep = qEnvironmentVariable("DORODURE_TEST_TRACE");
    if (!keep.isEmpty() && keep != QLatin1String("1")) {
        QFile::remove(keep);
        QFile::copy(folder.file(QStringLiteral("Rs1.txt")), keep);
    }
}

std::shared_ptr<sim::SimulatedStation> LinkFixture::addStation(int port,
                                                               sim::StationOptions options) {
    auto created = std::make_shared<sim::SimulatedStation>(clock, options);
    ports[port] = created;
    if (!station) {
        station = created;
    }
    return created;
}

LineFactory LinkFixture::factory() {
    return [this](int port) -> std::unique_ptr<SerialLine> {
        probed.push_back(port);
        auto it = ports.find(port);
        if (it == ports.end()) {
            return nullptr;
        }
        return std::make_unique<SharedLine>(it->second);
    };
}

void LinkFixture::start() {
    session = std::make_unique<UploadSession>(services, factory(), stop);
    session->discover();
    session->prepareLoop();
}

bool LinkFixture::runUntil(const std::function<bool()>& pred, qint64 virtualMs) {
    const qint64 end = clock.tickMs() + virtualMs;
    while (!pred()) {
        if (clock.tickMs() >= end) {
            return false;
        }
        session->runPass();
    }
    return true;
}

void LinkFixture::runFor(qint64 virtualMs) {
    runUntil([] { return false; }, virtualMs);
}

int LinkFixture::clockReads() const {
    int reads = 0;
    for (const QByteArray& frame : station->commands()) {
        reads += (frame.startsWith('\x03') || frame.startsWith('\x33')) ? 1 : 0;
    }
    return reads;
}

bool LinkFixture::uploadOne(const sim::BatonSetup& baton, const sim::FaultPlan& faults,
                            qint64 lingerMs) {
    const int before = session->completedSessions();
    const int readsBefore = clockReads();
    station->place(baton, faults);
    // The baton stays until the session polls its clock, then a while longer.
    if (!runUntil([&] { return clockReads() > readsBefore; })) {
        return false;
    }
    runFor(lingerMs);
    station->remove();
    return runUntil([&] { return session->completedSessions() > before; });
}

bool LinkFixture::idle() const {
    const int state = session->currentState();
    return state == 5 || state == 10;
}

bool LinkFixture::uploadFaulty(const sim::BatonSetup& baton, const sim::FaultPlan& faults) {
    const int readsBefore = clockReads();
    station->place(baton, faults);
    runUntil([&] { return !station->batonPresent() || clockReads() > readsBefore; }, 300000);
    runFor(300);
    station->remove();
    if (!station->pluggedIn()) {
        station->plugIn();
    }
    return runUntil([&] { return idle(); }, 300000);
}

QStringList LinkFixture::keysLeftOnBatons() const {
    QStringList keys;
    for (const sim::Baton& b : station->removedBatons()) {
        for (int bank = 0; bank <= 14; bank += 2) {
            for (const auto& record : b.records(bank)) {
                keys << recordKey(record, clock.now().date());
            }
        }
    }
    return keys;
}

QString LinkFixture::checkNothingLost() const {
    const QStringList cleared = clearedKeys();
    const QStringList processed = processedKeys();
    const QStringList left = keysLeftOnBatons();
    for (const QString& key : cleared) {
        if (processed.count(key) != cleared.count(key)) {
            return QStringLiteral("cleared %1 x%2, processed x%3")
                .arg(key)
                .arg(cleared.count(key))
                .arg(processed.count(key));
        }
    }
    for (const QString& key : processed) {
        if (!cleared.contains(key) && !left.contains(key)) {
            return QStringLiteral("processed %1 neither cleared nor on a baton").arg(key);
        }
    }
    return {};
}

std::vector<std::pair<qint64, QByteArray>> LinkFixture::pcFrames(qint64 since) const {
    std::vector<std::pair<qint64, QByteArray>> frames;
    QByteArray pending;
    qint64 pendingTick = 0;
    for (const sim::LineEvent& e : station->log()) {
        if (e.kind != sim::LineEvent::Kind::FromPc || e.tickMs < since) {
            continue;
        }
        for (char c : e.bytes) {
            if (pending.isEmpty()) {
                const int length = sim::Baton::commandLength(std::uint8_t(c));
                if (length == 0) {
                    continue;
                }
                pendingTick = e.tickMs;
            }
            pending.append(c);
            if (pending.size() == sim::Baton::commandLength(std::uint8_t(pending.at(0)))) {
                frames.emplace_back(pendingTick, pending);
                pending.clear();
            }
        }
    }
    return frames;
}

qint64 LinkFixture::lastEvent(sim::LineEvent::Kind kind) const {
    qint64 tick = -1;
    for (const sim::LineEvent& e : station->log()) {
        if (e.kind == kind) {
            tick = e.tickMs;
        }
    }
    return tick;
}

QStringList LinkFixture::clearedKeys() const {
    QStringList keys;
    for (const auto& record : station->clearedRecords()) {
        keys << recordKey(record, clock.now().date());
    }
    return keys;
}

QStringList LinkFixture::processedKeys() const {
    return host.processed;
}

sim::BatonSetup batonWith(const QByteArray& idText, std::vector<std::pair<int, int>> bankCounts) {
    // Every record made in a test run is a different clocking, so that
    // records can be told apart across batons.
    static std::atomic<int> serial{0};
    auto bcd = [](int v) { return std::uint8_t((v / 10) * 16 + v % 10); };
    sim::BatonSetup made;
    made.idText = idText;
    for (auto [bank, count] : bankCounts) {
        for (int i = 0; i < count; ++i) {
            const int n = serial.fetch_add(1) % (28 * 24 * 60);
            sim::BatonRecord r;
            r.buttonId = std::uint32_t(0x100000 + bank * 0x1000 + i);
            r.month = 0x04;
            r.day = bcd(1 + n / (24 * 60));
            r.hour = bcd(n / 60 % 24);
            r.minute = bcd(n % 60);
            made.banks[std::size_t(bank / 2)].push_back(r);
        }
    }
    return made;
}

QString recordKey(const sim::BatonRecord& record, const QDate& today) {
    const QByteArray bytes = record.toBytes();
    std::array<std::uint8_t, 7> seven{};
    for (int i = 0; i < 7; ++i) {
        seven[std::size_t(i)] = std::uint8_t(bytes.at(i));
    }
    return rawfile::formatRecord(seven, today, 0).left(22);
}

}  // namespace dorodure::test
