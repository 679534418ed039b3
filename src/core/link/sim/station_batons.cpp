// The baton side of the simulated station: placing and removing batons, the
// greeting, command framing and replies with their faults, timed events.

#include "link/sim/sim_bytes.h"
#include "link/sim/simulated_station.h"
#include "link/sim/station_impl.h"
#include "shell/clock.h"

#include <algorithm>

namespace dorodure::sim {

namespace {

constexpr int kAnswerRunLength = 20;  // bytes 0x55 that answer the greeting

bool isAcknowledged(std::uint8_t command) {
    switch (command) {
        case 0x05:
        case 0x07:
        case 0x0B:
        case 0x0F:
        case 0x11:
        case 0x35:
            return true;
        default:
            return false;
    }
}

void earliest(std::optional<qint64>& best, const std::optional<qint64>& t) {
    if (t && (!best || *t < *best)) {
        best = t;
    }
}

}  // namespace

void SimulatedStation::place(const BatonSetup& baton, const FaultPlan& faults) {
    baton.check();
    std::lock_guard lock(mutex_);
    catchUp();
    placeLocked(baton, faults, nowMicros());
    d_->removal = Removal{Removal::Rule::Manual, 0, 0};
    wake_.notify_all();
}

void SimulatedStation::remove() {
    std::lock_guard lock(mutex_);
    catchUp();
    removeLocked(nowMicros());
    wake_.notify_all();
}

bool SimulatedStation::batonPresent() const {
    std::lock_guard lock(mutex_);
    settle();
    return d_->baton.has_value();
}

std::optional<Baton> SimulatedStation::baton() const {
    std::lock_guard lock(mutex_);
    settle();
    return d_->baton;
}

std::vector<Baton> SimulatedStation::removedBatons() const {
    std::lock_guard lock(mutex_);
    settle();
    return d_->removed;
}

std::vector<BatonRecord> SimulatedStation::clearedRecords() const {
    std::lock_guard lock(mutex_);
    settle();
    std::vector<BatonRecord> out;
    for (const Baton& b : d_->removed) {
        out.insert(out.end(), b.clearedRecords().begin(), b.clearedRecords().end());
    }
    if (d_->baton) {
        const auto& now = d_->baton->clearedRecords();
        out.insert(out.end(), now.begin(), now.end());
    }
    return out;
}

void SimulatedStation::loadScript(const StationScript& script) {
    for (const ScriptedBaton& b : script.batons) {
        b.baton.check();
    }
    std::lock_guard lock(mutex_);
    catchUp();
    const qint64 now = nowMicros();
    options_ = script.options;
    d_->script = script.batons;
    d_->nextScripted = 0;
    d_->placeAt.reset();
    if (!d_->script.empty() && !d_->baton) {
        d_->placeAt = now + d_->script.front().waitMs * 1000;
    }
    d_->buttons.clear();
    for (const ScriptedButton& b : script.buttons) {
        d_->buttons.emplace_back(now + b.atMs * 1000, b.id);
    }
    std::sort(d_->buttons.begin(), d_->buttons.end());
    wake_.notify_all();
}

bool SimulatedStation::scriptFinished() const {
    std::lock_guard lock(mutex_);
    settle();
    return d_->nextScripted >= d_->script.size() && !d_->baton && !d_->placeAt;
}

int SimulatedStation::batonsPlaced() const {
    std::lock_guard lock(mutex_);
    return d_->placed;
}

void SimulatedStation::touchButton(std::uint32_t id) {
    QByteArray frame(1, '\x24');
    frame.append(static_cast<char>(id >> 16)).append(static_cast<char>(id >> 8));
    frame.append(static_cast<char>(id));
    injectBytes(withCrc(frame));
}

void SimulatedStation::reportVoltage(std::uint8_t code, std::uint8_t units) {
    QByteArray frame;
    frame.append(static_cast<char>(code)).append(static_cast<char>(units));
    injectBytes(withCrc(frame));
}

void SimulatedStation::reportCalibration(std::uint8_t value) {
    QByteArray frame;
    frame.append('\x55').append(static_cast<char>(value));
    injectBytes(withCrc(frame));
}

void SimulatedStation::injectBytes(const QByteArray& bytes) {
    std::lock_guard lock(mutex_);
    catchUp();
    const qint64 now = nowMicros();
    queueRx(bytes, now, false);
    addLog(LineEvent::Kind::ToPc, now, bytes);
    wake_.notify_all();
}

// ---- timed events (mutex_ held) ----

std::optional<qint64> SimulatedStation::nextTimedEvent() const {
    std::optional<qint64> best;
    earliest(best, d_->greetingAt);
    earliest(best, d_->removeAt);
    earliest(best, d_->placeAt);
    earliest(best, d_->unplugAt);
    earliest(best, d_->replugAt);
    if (!d_->buttons.empty()) {
        earliest(best, d_->buttons.front().first);
    }
    return best;
}

std::optional<qint64> SimulatedStation::nextEventMicros() const {
    std::optional<qint64> best = nextTimedEvent();
    const qint64 now = nowMicros();
    for (const RxByte& b : d_->rx) {
        if (b.atMicros > now) {
            earliest(best, b.atMicros);
            break;
        }
    }
    return best;
}

void SimulatedStation::runEventsUntil(qint64 micros) {
    while (true) {
        const std::optional<qint64> t = nextTimedEvent();
        if (!t || *t > micros) {
            return;
        }
        runEventAt(*t);
    }
}

void SimulatedStation::runEventAt(qint64 t) {
    if (d_->unplugAt == t) {
        d_->unplugAt.reset();
        unplugLocked(t);
    } else if (d_->replugAt == t) {
        d_->replugAt.reset();
        d_->plugged = true;
        addLog(LineEvent::Kind::PluggedIn, t);
    } else if (d_->removeAt == t) {
        removeLocked(t);
    } else if (d_->placeAt == t) {
        d_->placeAt.reset();
        const ScriptedBaton& next = d_->script[d_->nextScripted++];
        placeLocked(next.baton, next.faults, t);
        d_->removal = next.removal;
        if (next.removal.rule == Removal::Rule::Stay) {
            d_->removeAt = t + next.removal.stayMs * 1000;
        }
    } else if (d_->greetingAt == t) {
        d_->greetingAt.reset();
        greet(t);
    } else {
        const std::uint32_t id = d_->buttons.front().second;
        d_->buttons.pop_front();
        QByteArray frame(1, '\x24');
        frame.append(static_cast<char>(id >> 16)).append(static_cast<char>(id >> 8));
        frame.append(static_cast<char>(id));
        queueRx(withCrc(frame), t, false);
        addLog(LineEvent::Kind::ToPc, t, withCrc(frame));
    }
}

void SimulatedStation::greet(qint64 t) {
    if (!d_->baton || d_->listening || d_->brk || d_->faults.silent) {
        return;
    }
    const QByteArray hello = QByteArray::fromHex("010D");
    queueRx(hello, t, true);
    if (d_->open) {
        addLog(LineEvent::Kind::ToPc, t, hello);
    }
    scheduleGreeting(t + options_.greetingRepeatMs * 1000);
}

void SimulatedStation::scheduleGreeting(qint64 atMicros) {
    d_->greetingAt = atMicros;
}

// ---- batons on and off (mutex_ held) ----

void SimulatedStation::placeLocked(const BatonSetup& baton, const FaultPlan& faults,
                                   qint64 atMicros) {
    if (d_->baton) {
        removeLocked(atMicros);
    }
    d_->baton.emplace(baton, pcTimeAt(atMicros));
    d_->faults = faults;
    d_->random.seed(faults.seed);
    d_->listening = false;
    d_->run55 = 0;
    d_->command.clear();
    d_->packetsSent = 0;
    d_->bytesSent = 0;
    d_->repliesSent.clear();
    d_->refusals.clear();
    d_->removeAt.reset();
    d_->placed += 1;
    addLog(LineEvent::Kind::Placed, atMicros, baton.idText);
    if (!d_->brk) {
        scheduleGreeting(atMicros + options_.greetingDelayMs * 1000);
    }
}

void SimulatedStation::removeLocked(qint64 atMicros) {
    d_->removeAt.reset();
    if (!d_->baton) {
        return;
    }
    d_->removed.push_back(*d_->baton);
    d_->baton.reset();
    d_->listening = false;
    d_->command.clear();
    d_->greetingAt.reset();
    // What the baton had not yet put on the line never arrives.
    std::erase_if(d_->rx, [&](const RxByte& b) { return b.fromBaton && b.atMicros > atMicros; });
    d_->rxLastMicros = d_->rx.empty() ? atMicros : std::max(atMicros, d_->rx.back().atMicros);
    addLog(LineEvent::Kind::Removed, atMicros);
    if (d_->nextScripted < d_->script.size()) {
        d_->placeAt = atMicros + d_->script[d_->nextScripted].waitMs * 1000;
    }
}

void SimulatedStation::unplugLocked(qint64 atMicros) {
    if (!d_->plugged) {
        return;
    }
    d_->plugged = false;
    d_->failed = d_->open;
    d_->rx.clear();
    d_->listening = false;
    d_->command.clear();
    addLog(LineEvent::Kind::Unplugged, atMicros);
    if (d_->faults.replugAfterMs > 0) {
        d_->replugAt = atMicros + qint64{d_->faults.replugAfterMs} * 1000;
    }
}

// ---- commands and replies (mutex_ held) ----

void SimulatedStation::batonReceives(std::uint8_t byte, qint64 atMicros) {
    if (!d_->baton || d_->faults.silent) {
        return;
    }
    if (!d_->listening) {
        d_->run55 = byte == 0x55 ? d_->run55 + 1 : 0;
        if (d_->run55 >= kAnswerRunLength) {
            d_->listening = true;
            d_->greetingAt.reset();
            d_->command.clear();
        }
        return;
    }
    if (d_->command.isEmpty() && Baton::commandLength(byte) == 0) {
        return;  // further 55 bytes or line noise between commands
    }
    d_->command.append(static_cast<char>(byte));
    const auto first = static_cast<std::uint8_t>(d_->command.at(0));
    if (d_->command.size() == Baton::commandLength(first)) {
        const QByteArray frame = d_->command;
        d_->command.clear();
        runCommand(frame, atMicros);
    }
}

void SimulatedStation::runCommand(const QByteArray& frame, qint64 atMicros) {
    addLog(LineEvent::Kind::Command, atMicros, frame);
    const auto command = static_cast<std::uint8_t>(frame.at(0));
    bool refuse = false;
    if (isAcknowledged(command) && crc8(frame) == 0) {
        for (const RefuseCommand& r : d_->faults.refuse) {
            if (r.command == command && d_->refusals[command] < r.times) {
                refuse = true;
            }
        }
        d_->refusals[command] += refuse ? 1 : 0;
    }
    if ((command == 0x03 || command == 0x33) && d_->removal.rule == Removal::Rule::AfterUpload &&
        !d_->removeAt) {
        d_->removeAt = atMicros + d_->removal.lingerMs * 1000;
    }
    const QByteArray reply = d_->baton->execute(frame, pcTimeAt(atMicros), refuse);
    if (!reply.isEmpty()) {
        sendFromBaton(reply, atMicros + options_.responseDelayMs * 1000);
    }
}

QByteArray SimulatedStation::applyLineFaults(QByteArray reply) {
    const auto code = static_cast<std::uint8_t>(reply.at(0));
    const int nth = ++d_->repliesSent[code];
    for (const CorruptReply& c : d_->faults.corrupt) {
        if (c.code == code && nth >= c.nth && nth < c.nth + c.count) {
            reply[reply.size() - 1] = static_cast<char>(reply.back() ^ 0x01);
        }
    }
    auto draw = [this] { return static_cast<double>(d_->random()) / 4294967296.0; };
    if (d_->faults.noiseRate > 0 && draw() < d_->faults.noiseRate) {
        reply.prepend(static_cast<char>(d_->random() & 0xFF));
    }
    QByteArray kept;
    for (char c : reply) {
        const int number = ++d_->bytesSent;
        const bool lost = d_->faults.lostBytes.contains(number) ||
                          (d_->faults.lossRate > 0 && draw() < d_->faults.lossRate);
        if (!lost) {
            kept.append(c);
        }
        if (d_->faults.removeAfterBytes > 0 && number == d_->faults.removeAfterBytes) {
            d_->liftAfterReply = true;
            break;
        }
    }
    return kept;
}

void SimulatedStation::sendFromBaton(const QByteArray& reply, qint64 atMicros) {
    const bool packet = static_cast<std::uint8_t>(reply.at(0)) == 0x0E;
    const QByteArray bytes = applyLineFaults(reply);
    queueRx(bytes, atMicros, true);
    if (d_->open && !bytes.isEmpty()) {
        addLog(LineEvent::Kind::ToPc, atMicros, bytes);
    }
    const qint64 lastByte = std::max(atMicros, d_->rxLastMicros);
    if (d_->liftAfterReply) {
        d_->liftAfterReply = false;
        d_->removeAt = lastByte;
    }
    if (packet) {
        d_->packetsSent += 1;
        if (d_->faults.removeAfterPacket == d_->packetsSent) {
            d_->removeAt = lastByte;
        }
        if (d_->faults.unplugAfterPacket == d_->packetsSent) {
            d_->unplugAt = lastByte + 1;  // the packet itself still arrives
        }
    }
}

}  // namespace dorodure::sim
