#pragma once

#include "link/serial_line.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>

namespace dorodure {

class TSettings;

class Clock;
namespace sim {
class SimulatedStation;
}

// Numbered COM ports (0 to 255, searched in that order) and the Linux devices
// behind them. The default scheme is fixed, so a remembered port number
// always names the same device whichever adapters happen to be plugged in:
//
//   COM0          never opens
//   COM1-COM4     /dev/ttyS0 - /dev/ttyS3      (built-in RS-232 ports)
//   COM5-COM68    /dev/ttyUSB0 - /dev/ttyUSB63 (USB serial adapters)
//   COM69-COM132  /dev/ttyACM0 - /dev/ttyACM63 (USB modem-class adapters)
//   COM133-COM160 /dev/ttyS4 - /dev/ttyS31
//   COM161-COM192 /dev/rfcomm0 - /dev/rfcomm31 (Bluetooth serial)
//   COM193-COM255 nothing unless overridden
//
// The settings file may override any number with a key "Port<N>" (N in
// decimal, 0 to 255), which takes precedence:
//   Port3=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A600-if00-port0
//   Port7=simulator               a simulated station with no baton
//   Port7=simulator:demo          the simulated station with the demo baton
//   Port7=simulator:/path/batons.txt   the batons of a baton file
//   Port9=none                    the number never opens
// Any other "scheme://..." value is handed to a transport registered for that
// scheme (for example "rfc2217://host:port" for a network serial server).
class PortMap {
  public:
    // Returns the settings value of a key, "" when absent.
    using SettingsLookup = std::function<QString(const QString& key)>;

    explicit PortMap(SettingsLookup lookup = {});

    // The device of the fixed scheme, "" when the number has none.
    static QString defaultDeviceFor(int port);
    // "COM" + number, the name the user sees.
    static QString portName(int port);

    // The device for a number: a "Port<N>" override (set here or in the
    // settings) or the fixed scheme; "" when the number never opens.
    QString deviceFor(int port) const;
    // An override that wins over the settings (used by the command line).
    void setOverride(int port, const QString& device);

  private:
    SettingsLookup lookup_;
    std::map<int, QString> overrides_;
};

// The port map of the program: the fixed scheme with the "Port<N>" lines of
// the settings file as it was loaded.
PortMap settingsPortMap(const TSettings& settings);

// Makes the line for a port number. Simulated stations are kept by their
// device text, so every line made for "simulator:FILE" reaches the same
// station (the port search opens and closes lines many times).
class SerialLineFactory {
  public:
    using Transport = std::function<std::unique_ptr<SerialLine>(const QString& device)>;

    // The clock drives simulated stations; the factory must outlive its lines.
    SerialLineFactory(PortMap map, Clock& clock);
    ~SerialLineFactory();

    // The line for a port number: the system port, a simulated station or a
    // registered transport. A number without a device gives a line whose
    // open() fails.
    std::unique_ptr<SerialLine> make(int port);
    std::unique_ptr<SerialLine> operator()(int port) { return make(port); }

    // Hook for further transports: devices starting with scheme + "://" are
    // made by the given function (e.g. "rfc2217").
    void registerTransport(const QString& scheme, Transport transport);

    // The simulated station behind a device text such as "simulator:demo",
    // created on first use; throws FileError for a bad baton file.
    std::shared_ptr<sim::SimulatedStation> station(const QString& device);

    const PortMap& portMap() const { return map_; }

  private:
    PortMap map_;
    Clock& clock_;
    std::map<QString, Transport> transports_;
    std::map<QString, std::shared_ptr<sim::SimulatedStation>> stations_;
};

}  // namespace dorodure
