#pragma once

#include "link/port_map.h"
#include "link/serial_devices.h"

#include <QDialog>

#include <optional>
#include <vector>

class QListWidget;
class QSpinBox;

namespace dorodure {

class AppServices;

// The Port Setup window ("#" on the main window): the port number the
// program searches first at its next start, and the serial devices found, so
// that the user can pick the station's adapter by name rather than by number.
class TfrmDelay final : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmDelay(AppServices& services, QWidget* parent = nullptr);

    QSpinBox* spinEdit() const { return spinEdit1_; }
    QListWidget* deviceList() const { return lstDevices_; }

    // "Ok": the CommPort setting (file and memory) and the port being probed
    // become the box's value, the activity log records it; the window closes.
    // A device picked from the list is kept under that number ("Port<N>")
    // unless the number already names it.
    void accept() override;

  private:
    void fillDeviceList();
    void deviceChosen();
    void portNumberEdited(int port);
    // The "Port<N>" line to write for the chosen device, if it needs one.
    std::optional<std::pair<QString, QString>> chosenDeviceSetting(int port) const;

    AppServices& s_;
    // The port numbers as the settings name them (read at start-up).
    PortMap portMap_;
    QSpinBox* spinEdit1_ = nullptr;
    QListWidget* lstDevices_ = nullptr;
    std::vector<SerialDeviceEntry> devices_;
    // The device picked and the number it is kept under.
    std::optional<SerialDeviceEntry> chosen_;
    int chosenPort_ = 0;
};

}  // namespace dorodure
