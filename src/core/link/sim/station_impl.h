#pragma once

// Private state of SimulatedStation, shared by its two source files.

#include "link/sim/simulated_station.h"

#include <deque>
#include <map>
#include <random>

namespace dorodure::sim {

struct SimulatedStation::Impl {
    // Line.
    bool open = false;
    bool plugged = true;
    bool failed = false;  // unplugged while open: calls throw until close()
    bool dtr = false;
    bool brk = false;
    QString error;
    std::deque<RxByte> rx;  // in time order
    qint64 rxLastMicros = 0;
    qint64 txFreeMicros = 0;

    // Baton on the station.
    std::optional<Baton> baton;
    FaultPlan faults;
    Removal removal;
    bool listening = false;
    int run55 = 0;
    QByteArray command;
    std::mt19937 random;
    int packetsSent = 0;
    int bytesSent = 0;
    bool liftAfterReply = false;     // removeAfterBytes reached in this reply
    std::map<int, int> repliesSent;  // by reply code
    std::map<int, int> refusals;     // by command code
    std::vector<Baton> removed;
    int placed = 0;

    // Timed events.
    std::optional<qint64> greetingAt;
    std::optional<qint64> removeAt;
    std::optional<qint64> placeAt;
    std::optional<qint64> unplugAt;
    std::optional<qint64> replugAt;
    std::vector<ScriptedBaton> script;
    std::size_t nextScripted = 0;
    std::deque<std::pair<qint64, std::uint32_t>> buttons;  // (time, id) in time order

    // Log, oldest first, kept to a bounded length.
    std::deque<LineEvent> log;
};

// Entries kept in the log; the oldest go first.
inline constexpr std::size_t kLogLimit = 200000;

}  // namespace dorodure::sim
