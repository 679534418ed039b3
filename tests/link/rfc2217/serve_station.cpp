// rfc2217_station: a simulated upload station behind pyserial's RFC 2217
// server, for trying the program (or its command-line tool) against a
// serial device server without hardware.
//
//   rfc2217_station [--batons FILE|demo] [--port PORT] [--python PYTHON]
//
// Prints "LISTENING <port>" when the server accepts clients, then runs the
// baton file's script until stdin closes or the process is terminated. With
// no baton file the station is empty (it still echoes with DTR on).
#include "link/sim/baton_file.h"
#include "rfc2217/station_bridge.h"
#include "shell/clock.h"

#include <QDate>
#include <QStringList>

#include <unistd.h>
#include <cstdio>
#include <iostream>

namespace {

QString optionValue(const QStringList& args, const QString& name) {
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args.at(at + 1) : QString();
}

}  // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) {
        args << QString::fromLocal8Bit(argv[i]);
    }
    const QString python = optionValue(args, QStringLiteral("--python")).isEmpty()
                               ? dorodure::test::pythonWithPyserial()
                               : optionValue(args, QStringLiteral("--python"));
    if (python.isEmpty()) {
        std::cerr << "rfc2217_station: no python3 with pyserial (install python3-serial)\n";
        return 2;
    }
    dorodure::SystemClock clock;
    auto station = std::make_shared<dorodure::sim::SimulatedStation>(clock);
    const QString batons = optionValue(args, QStringLiteral("--batons"));
    try {
        if (!batons.isEmpty()) {
            station->loadScript(dorodure::sim::readBatonFile(batons, QDate::currentDate()));
        }
    } catch (const dorodure::FileError& e) {
        std::cerr << "rfc2217_station: " << e.message().toStdString() << "\n";
        return 2;
    }
    dorodure::test::StationBridge bridge(station);
    dorodure::test::Rfc2217Server server(python, bridge.port());
    if (!server.start(quint16(optionValue(args, QStringLiteral("--port")).toUInt()))) {
        std::cerr << "rfc2217_station: the server did not start\n";
        return 1;
    }
    std::cout << "LISTENING " << server.port() << std::endl;
    // The station runs on the bridge's thread; wait here until told to stop.
    char c = 0;
    while (::read(STDIN_FILENO, &c, 1) > 0) {
    }
    return 0;
}
