#pragma once

#include "link/sim/simulated_station.h"

#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <mutex>
#include <thread>

class QProcess;

namespace dorodure::test {

// The station end of the test's serial device server: a simulated station
// reached over a local TCP connection by tests/link/rfc2217/station_server.py
// (pyserial's RFC 2217 PortManager). Data goes both ways; the line settings
// the server applies (DTR, BREAK, baud rate...) are applied to the station
// and recorded in the order they arrived. Reconnects when the server restarts.
class StationBridge {
  public:
    explicit StationBridge(std::shared_ptr<sim::SimulatedStation> station);
    ~StationBridge();
    StationBridge(const StationBridge&) = delete;
    StationBridge& operator=(const StationBridge&) = delete;

    quint16 port() const { return port_; }
    // "name=value" as the server set them, e.g. "dtr=True", "baudrate=9600".
    QStringList settings() const;
    // Only the DTR and BREAK changes, as "DTR on", "BREAK off", in order.
    QStringList lineSignals() const;

  private:
    void run();
    bool serviceClient();
    void apply(char kind, const QByteArray& payload);
    void applySetting(const QString& setting);
    void sendToServer(const QByteArray& bytes);
    void dropClient();

    std::shared_ptr<sim::SimulatedStation> station_;
    int listenFd_ = -1;
    int clientFd_ = -1;
    quint16 port_ = 0;
    QByteArray inbox_;
    mutable std::mutex mutex_;
    QStringList settings_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A python3 that has pyserial's RFC 2217 module, or "" when there is none.
// DORODURE_PYTHON overrides the candidates /usr/bin/python3 and python3.
QString pythonWithPyserial();

// The server process, station_server.py.
class Rfc2217Server {
  public:
    Rfc2217Server(QString python, quint16 bridgePort);
    ~Rfc2217Server();
    Rfc2217Server(const Rfc2217Server&) = delete;
    Rfc2217Server& operator=(const Rfc2217Server&) = delete;

    // Starts listening on listenPort (0: a free port); false when it did
    // not come up within a few seconds.
    bool start(quint16 listenPort = 0);
    // Kills the process: every client connection drops at once.
    void kill();
    quint16 port() const { return port_; }
    QString address() const;

  private:
    QString python_;
    quint16 bridgePort_;
    quint16 port_ = 0;
    std::unique_ptr<QProcess> process_;
};

}  // namespace dorodure::test
