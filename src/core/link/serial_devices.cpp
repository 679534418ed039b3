// The serial devices of this PC as the Port Setup window lists them, so that a
// user can pick the upload station's adapter by its name rather than guess a
// port number.
#include "link/serial_devices.h"

#include "link/device_access.h"

#include "link/port_map.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>

#include <algorithm>
#include <set>

namespace dorodure {

namespace {

constexpr int kLastPort = 255;
// The first number the fixed scheme leaves free for devices of the user's choice.
constexpr int kFirstFreePort = 193;

QString hex4(quint16 value) {
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0'));
}

QString usbIdsOf(const SerialDeviceRecord& r) {
    if (!r.vendorId || !r.productId) {
        return {};
    }
    return hex4(*r.vendorId) + QLatin1Char(':') + hex4(*r.productId);
}

// The first by-id link (by name) of each device.
std::map<QString, QString> stableNamesByLocation(const ByIdLinks& byId) {
    std::map<QString, QString> names;
    for (const auto& [link, target] : byId) {
        names.emplace(QDir::cleanPath(target), link);  // map order: first name wins
    }
    return names;
}

SerialDeviceEntry describe(const SerialDeviceRecord& r, const std::map<QString, QString>& stable,
                           const PortMap* portMap) {
    SerialDeviceEntry e;
    e.systemLocation = r.systemLocation;
    const auto it = stable.find(QDir::cleanPath(r.systemLocation));
    e.stableName = it != stable.end();
    e.device = e.stableName ? it->second : r.systemLocation;
    e.description = r.description.trimmed();
    e.manufacturer = r.manufacturer.trimmed();
    e.serialNumber = r.serialNumber.trimmed();
    e.usbIds = usbIdsOf(r);
    e.accessible = r.accessible;
    e.portNumber = portNumberForDevice(e.device, e.systemLocation, portMap);
    return e;
}

// Stable names first, by name; then by port number, numberless last; ties by
// location in natural order (ttyS2 before ttyS10).
bool listedBefore(const SerialDeviceEntry& a, const SerialDeviceEntry& b,
                  const QCollator& natural) {
    if (a.stableName != b.stableName) {
        return a.stableName;
    }
    if (a.stableName) {
        return natural.compare(a.device, b.device) < 0;
    }
    const int na = a.portNumber > 0 ? a.portNumber : kLastPort + 1;
    const int nb = b.portNumber > 0 ? b.portNumber : kLastPort + 1;
    if (na != nb) {
        return na < nb;
    }
    return natural.compare(a.systemLocation, b.systemLocation) < 0;
}

}  // namespace

QString SerialDeviceEntry::label() const {
    QString text =
        portNumber > 0 ? PortMap::portName(portNumber) + QStringLiteral("  ") : QString();
    text += stableName ? QFileInfo(device).fileName() + QStringLiteral(" (") + systemLocation +
                             QLatin1Char(')')
                       : systemLocation;
    QStringList details;
    for (const QString& part : {description, manufacturer}) {
        if (!part.isEmpty() && !details.contains(part)) {
            details << part;
        }
    }
    if (!usbIds.isEmpty()) {
        details << QStringLiteral("USB ") + usbIds;
    }
    if (!details.isEmpty()) {
        text += QStringLiteral("  ") + details.join(QStringLiteral(", "));
    }
    if (!accessible) {
        text += QStringLiteral("  - no permission (see serial-setup.sh)");
    }
    return text;
}

int portNumberForDevice(const QString& device, const QString& systemLocation,
                        const PortMap* portMap) {
    const PortMap fixedScheme;
    const PortMap& map = portMap != nullptr ? *portMap : fixedScheme;
    // A "Port<N>" setting is the user's own choice and wins over the fixed
    // scheme, which is the number's device only while no setting replaces it.
    for (const bool settingsOnly : {true, false}) {
        for (const QString& wanted : {device, systemLocation}) {
            for (int port = 1; port <= kLastPort && !wanted.isEmpty(); ++port) {
                const QString mapped = map.deviceFor(port);
                if (mapped == wanted &&
                    (!settingsOnly || mapped != PortMap::defaultDeviceFor(port))) {
                    return port;
                }
            }
        }
    }
    return 0;
}

std::vector<SerialDeviceEntry> describeSerialDevices(const std::vector<SerialDeviceRecord>& records,
                                                     const ByIdLinks& byId,
                                                     const PortMap* portMap) {
    const auto stable = stableNamesByLocation(byId);
    std::vector<SerialDeviceEntry> entries;
    std::set<QString> seen;
    for (const SerialDeviceRecord& r : records) {
        if (r.systemLocation.isEmpty() || !seen.insert(QDir::cleanPath(r.systemLocation)).second) {
            continue;
        }
        entries.push_back(describe(r, stable, portMap));
    }
    QCollator natural;
    natural.setNumericMode(true);
    std::stable_sort(entries.begin(), entries.end(),
                     [&](const SerialDeviceEntry& a, const SerialDeviceEntry& b) {
                         return listedBefore(a, b, natural);
                     });
    return entries;
}

int portNumberToKeep(const SerialDeviceEntry& entry, const PortMap* portMap) {
    if (entry.portNumber > 0) {
        return entry.portNumber;
    }
    const PortMap fixedScheme;
    const PortMap& map = portMap != nullptr ? *portMap : fixedScheme;
    for (int port = kFirstFreePort; port <= kLastPort; ++port) {
        if (map.deviceFor(port).isEmpty()) {
            return port;
        }
    }
    return 0;
}

std::vector<SerialDeviceRecord> systemSerialDevices() {
    std::vector<SerialDeviceRecord> records;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        SerialDeviceRecord r;
        r.systemLocation = info.systemLocation();
        r.description = info.description();
        r.manufacturer = info.manufacturer();
        r.serialNumber = info.serialNumber();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier()) {
            r.vendorId = info.vendorIdentifier();
            r.productId = info.productIdentifier();
        }
        r.accessible = mayReadAndWrite(r.systemLocation);
        records.push_back(std::move(r));
    }
    return records;
}

ByIdLinks readByIdLinks(const QString& folder) {
    ByIdLinks links;
    const QDir dir(folder);
    for (const QFileInfo& link : dir.entryInfoList(QDir::System | QDir::Files | QDir::Hidden)) {
        const QString target = link.canonicalFilePath();
        if (link.isSymLink() && !target.isEmpty()) {
            links.emplace(link.absoluteFilePath(), target);
        }
    }
    return links;
}

std::vector<SerialDeviceEntry> availableSerialDevices(const PortMap* portMap) {
    return describeSerialDevices(systemSerialDevices(), readByIdLinks(), portMap);
}

}  // namespace dorodure
