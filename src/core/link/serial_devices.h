#pragma once

#include <QString>

#include <map>
#include <optional>
#include <vector>

namespace dorodure {

class PortMap;

// One serial device as the system reports it (QSerialPortInfo and the device
// file's access rights).
struct SerialDeviceRecord {
    QString systemLocation;  // e.g. "/dev/ttyUSB0"
    QString description;     // e.g. "FT232R USB UART"
    QString manufacturer;    // e.g. "FTDI"
    QString serialNumber;
    std::optional<quint16> vendorId;   // USB vendor id, when a USB device
    std::optional<quint16> productId;  // USB product id, when a USB device
    bool accessible = true;            // this user may read and write it
};

// A device as the Port Setup window lists it.
struct SerialDeviceEntry {
    // The name to keep in the settings: the stable /dev/serial/by-id link when
    // the device has one (it survives replugging and reboots), otherwise the
    // system location.
    QString device;
    QString systemLocation;
    bool stableName = false;  // device is a /dev/serial/by-id link
    QString description;
    QString manufacturer;
    QString serialNumber;
    QString usbIds;  // "vvvv:pppp" in lower-case hex, "" for other devices
    bool accessible = true;
    // The port number this device answers to: a "Port<N>" setting naming it,
    // else its number in the fixed scheme; 0 when it has none.
    int portNumber = 0;

    // One line for a list: number, device, and what is known about it.
    QString label() const;
};

// The /dev/serial/by-id links: link path -> the device it points to (absolute,
// links resolved).
using ByIdLinks = std::map<QString, QString>;

// Orders and describes the devices: those with a stable by-id name first (by
// that name), then the others by port number (devices without a number last,
// by location). Duplicate locations are listed once. portMap, when given,
// supplies "Port<N>" settings for the numbers.
std::vector<SerialDeviceEntry> describeSerialDevices(const std::vector<SerialDeviceRecord>& records,
                                                     const ByIdLinks& byId,
                                                     const PortMap* portMap = nullptr);

// The port number for a device: the first "Port<N>" (0 to 255) naming the
// device or its system location, else the fixed scheme's number of the
// system location; 0 when there is none.
int portNumberForDevice(const QString& device, const QString& systemLocation,
                        const PortMap* portMap);

// The number under which a chosen device is kept ("Port<N>=device" and
// CommPort=N): its own number, else the first number from 193 on that names
// no device; 0 when every number is taken.
int portNumberToKeep(const SerialDeviceEntry& entry, const PortMap* portMap = nullptr);

// What the system has now: QSerialPortInfo's ports with their access rights.
std::vector<SerialDeviceRecord> systemSerialDevices();

// The links of a by-id folder (default "/dev/serial/by-id"); none when the
// folder is missing (no USB serial device plugged in).
ByIdLinks readByIdLinks(const QString& folder = QStringLiteral("/dev/serial/by-id"));

// The system's devices, described and ordered as above.
std::vector<SerialDeviceEntry> availableSerialDevices(const PortMap* portMap = nullptr);

}  // namespace dorodure
