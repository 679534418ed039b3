#include "link/port_map.h"

#include "link/shared_line.h"

#include "link/sim/baton_file.h"
#include "link/sim/simulated_station.h"
#include "link/system_serial_line.h"
#include "shell/clock.h"
#include "shell/settings.h"

namespace dorodure {

namespace {

// A range of port numbers mapped onto numbered devices of one kind.
struct Range {
    int first;
    int last;
    const char* prefix;
    int firstDevice;
};

constexpr Range kRanges[] = {
    {1, 4, "/dev/ttyS", 0},     {5, 68, "/dev/ttyUSB", 0},    {69, 132, "/dev/ttyACM", 0},
    {133, 160, "/dev/ttyS", 4}, {161, 192, "/dev/rfcomm", 0},
};

const QLatin1String kSimulator("simulator");
const QLatin1String kNone("none");

// A device this build cannot reach: open() fails and says why.
class UnreachableLine final : public SerialLine {
  public:
    explicit UnreachableLine(QString why) : why_(std::move(why)) {}
    bool open() override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
    QString errorString() const override { return why_; }
    void setDtr(bool) override {}
    void setBreak(bool) override {}
    qint64 bytesWaiting() override { return 0; }
    QByteArray read(qint64) override { return {}; }
    qint64 write(const QByteArray&) override { return -1; }
    bool waitForBytes(qint64) override { return false; }

  private:
    QString why_;
};

}  // namespace

PortMap::PortMap(SettingsLookup lookup) : lookup_(std::move(lookup)) {}

PortMap settingsPortMap(const TSettings& settings) {
    return PortMap([&settings](const QString& key) { return settings.rawValue(key); });
}

QString PortMap::defaultDeviceFor(int port) {
    for (const Range& r : kRanges) {
        if (port >= r.first && port <= r.last) {
            return QLatin1String(r.prefix) + QString::number(port - r.first + r.firstDevice);
        }
    }
    return {};
}

QString PortMap::portName(int port) {
    return QStringLiteral("COM%1").arg(port);
}

QString PortMap::deviceFor(int port) const {
    if (port < 0 || port > 255) {
        return {};
    }
    QString device;
    if (const auto it = overrides_.find(port); it != overrides_.end()) {
        device = it->second;
    } else if (lookup_) {
        device = lookup_(QStringLiteral("Port%1").arg(port)).trimmed();
    }
    if (device.isEmpty()) {
        // COM0 has no entry in the fixed scheme and so never opens.
        return defaultDeviceFor(port);
    }
    return device.compare(kNone, Qt::CaseInsensitive) == 0 ? QString() : device;
}

void PortMap::setOverride(int port, const QString& device) {
    overrides_[port] = device;
}

SerialLineFactory::SerialLineFactory(PortMap map, Clock& clock)
    : map_(std::move(map)), clock_(clock) {}

SerialLineFactory::~SerialLineFactory() = default;

std::unique_ptr<SerialLine> SerialLineFactory::make(int port) {
    const QString device = map_.deviceFor(port);
    const QString name = PortMap::portName(port);
    if (device.isEmpty()) {
        return std::make_unique<UnreachableLine>(
            QStringLiteral("%1 has no device (see the Port%2 setting)").arg(name).arg(port));
    }
    if (device == kSimulator || device.startsWith(kSimulator + QLatin1Char(':'))) {
        return std::make_unique<SharedLine>(station(device));
    }
    const qsizetype scheme = device.indexOf(QLatin1String("://"));
    if (scheme > 0) {
        const auto it = transports_.find(device.left(scheme));
        if (it == transports_.end()) {
            return std::make_unique<UnreachableLine>(
                QStringLiteral("%1: no transport for \"%2\" in this build").arg(name, device));
        }
        return it->second(device);
    }
    return std::make_unique<SystemSerialLine>(device, name);
}

void SerialLineFactory::registerTransport(const QString& scheme, Transport transport) {
    transports_[scheme] = std::move(transport);
}

std::shared_ptr<sim::SimulatedStation> SerialLineFactory::station(const QString& device) {
    if (const auto it = stations_.find(device); it != stations_.end()) {
        return it->second;
    }
    auto station = std::make_shared<sim::SimulatedStation>(clock_);
    const QString file = device.section(QLatin1Char(':'), 1);
    if (!file.isEmpty()) {
        station->loadScript(sim::readBatonFile(file, clock_.now().date()));
    }
    stations_[device] = station;
    return station;
}

}  // namespace dorodure
