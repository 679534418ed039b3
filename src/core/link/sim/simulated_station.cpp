#include "link/sim/simulated_station.h"

#include "link/sim/station_impl.h"
#include "shell/clock.h"

#include <algorithm>
#include <chrono>

namespace dorodure::sim {

SimulatedStation::SimulatedStation(Clock& clock, StationOptions options)
    : clock_(clock),
      manual_(dynamic_cast<ManualClock*>(&clock)),
      options_(options),
      d_(std::make_unique<Impl>()) {}

SimulatedStation::~SimulatedStation() = default;

bool SimulatedStation::open() {
    std::lock_guard lock(mutex_);
    catchUp();
    if (!options_.present) {
        d_->error = QStringLiteral("No such file or directory");
        return false;
    }
    if (!d_->plugged) {
        d_->error = QStringLiteral("The device is not connected (adapter unplugged)");
        return false;
    }
    if (d_->open) {
        d_->error = QStringLiteral("The port is already open");
        return false;
    }
    const qint64 now = nowMicros();
    d_->open = true;
    d_->failed = false;
    d_->dtr = false;
    d_->brk = false;
    d_->error.clear();
    d_->rx.clear();
    d_->rxLastMicros = now;
    d_->txFreeMicros = now;
    addLog(LineEvent::Kind::Open, now);
    if (d_->baton && !d_->listening && !d_->greetingAt) {
        scheduleGreeting(now + options_.greetingDelayMs * 1000);
    }
    return true;
}

void SimulatedStation::close() {
    std::lock_guard lock(mutex_);
    catchUp();
    if (!d_->open) {
        return;
    }
    d_->open = false;
    d_->failed = false;
    d_->dtr = false;
    d_->brk = false;
    d_->rx.clear();
    addLog(LineEvent::Kind::Close, nowMicros());
}

bool SimulatedStation::isOpen() const {
    std::lock_guard lock(mutex_);
    settle();
    return d_->open;
}

QString SimulatedStation::errorString() const {
    std::lock_guard lock(mutex_);
    return d_->error;
}

void SimulatedStation::setDtr(bool on) {
    std::lock_guard lock(mutex_);
    catchUp();
    checkUsable("set DTR");
    if (!d_->open || d_->dtr == on) {
        return;
    }
    d_->dtr = on;
    addLog(LineEvent::Kind::Dtr, nowMicros(), {}, on);
}

void SimulatedStation::setBreak(bool on) {
    std::lock_guard lock(mutex_);
    catchUp();
    checkUsable("set BREAK");
    if (!d_->open || d_->brk == on) {
        return;
    }
    const qint64 now = nowMicros();
    d_->brk = on;
    addLog(LineEvent::Kind::Break, now, {}, on);
    if (on) {
        // A baton that sees BREAK starts over: it greets again once it drops.
        d_->listening = false;
        d_->run55 = 0;
        d_->command.clear();
        d_->greetingAt.reset();
    } else if (d_->baton) {
        scheduleGreeting(now + options_.greetingDelayMs * 1000);
    }
}

qint64 SimulatedStation::bytesWaiting() {
    std::lock_guard lock(mutex_);
    catchUp();
    checkUsable("read");
    return d_->open ? availableCount() : 0;
}

QByteArray SimulatedStation::read(qint64 maxBytes) {
    std::lock_guard lock(mutex_);
    catchUp();
    checkUsable("read");
    if (!d_->open) {
        return {};
    }
    const qint64 n = std::min(maxBytes, availableCount());
    QByteArray out;
    for (qint64 i = 0; i < n; ++i) {
        out.append(static_cast<char>(d_->rx.front().value));
        d_->rx.pop_front();
    }
    return out;
}

qint64 SimulatedStation::write(const QByteArray& bytes) {
    std::lock_guard lock(mutex_);
    catchUp();
    checkUsable("write");
    if (!d_->open) {
        return -1;
    }
    const qint64 now = nowMicros();
    addLog(LineEvent::Kind::FromPc, now, bytes);
    if (!d_->brk) {
        // During BREAK the transmit line is held at space: nothing gets through.
        transmit(bytes, now);
    }
    wake_.notify_all();
    return bytes.size();
}

bool SimulatedStation::waitForBytes(qint64 timeoutMs) {
    std::unique_lock lock(mutex_);
    catchUp();
    checkUsable("wait");
    const qint64 deadline = nowMicros() + std::max<qint64>(timeoutMs, 0) * 1000;
    while (true) {
        if (d_->open && availableCount() > 0) {
            return true;
        }
        const qint64 now = nowMicros();
        if (now >= deadline) {
            return false;
        }
        const qint64 wakeAt = std::min(nextEventMicros().value_or(deadline), deadline);
        if (manual_) {
            manual_->advanceTo((wakeAt + 999) / 1000);
        } else {
            wake_.wait_for(lock, std::chrono::microseconds(std::max<qint64>(wakeAt - now, 100)));
        }
        catchUp();
        checkUsable("wait");
    }
}

bool SimulatedStation::dtr() const {
    std::lock_guard lock(mutex_);
    return d_->dtr;
}

bool SimulatedStation::breakOn() const {
    std::lock_guard lock(mutex_);
    return d_->brk;
}

void SimulatedStation::unplug() {
    std::lock_guard lock(mutex_);
    catchUp();
    unplugLocked(nowMicros());
    d_->replugAt.reset();
    wake_.notify_all();
}

void SimulatedStation::plugIn() {
    std::lock_guard lock(mutex_);
    catchUp();
    if (!d_->plugged) {
        d_->plugged = true;
        d_->replugAt.reset();
        addLog(LineEvent::Kind::PluggedIn, nowMicros());
    }
    wake_.notify_all();
}

bool SimulatedStation::pluggedIn() const {
    std::lock_guard lock(mutex_);
    settle();
    return d_->plugged;
}

std::vector<LineEvent> SimulatedStation::log() const {
    std::lock_guard lock(mutex_);
    settle();
    return {d_->log.begin(), d_->log.end()};
}

QByteArray SimulatedStation::bytesFromPc() const {
    std::lock_guard lock(mutex_);
    settle();
    QByteArray out;
    for (const LineEvent& e : d_->log) {
        if (e.kind == LineEvent::Kind::FromPc) {
            out.append(e.bytes);
        }
    }
    return out;
}

std::vector<QByteArray> SimulatedStation::commands() const {
    std::lock_guard lock(mutex_);
    settle();
    std::vector<QByteArray> out;
    for (const LineEvent& e : d_->log) {
        if (e.kind == LineEvent::Kind::Command) {
            out.push_back(e.bytes);
        }
    }
    return out;
}

// ---- internals (mutex_ held) ----

qint64 SimulatedStation::nowMicros() const {
    return clock_.tickMs() * 1000;
}

QDateTime SimulatedStation::pcTimeAt(qint64 micros) const {
    return clock_.now().addMSecs((micros - nowMicros()) / 1000);
}

void SimulatedStation::catchUp() {
    runEventsUntil(nowMicros());
}

// Inspection sees the station as it is now: events that are due have run.
void SimulatedStation::settle() const {
    const_cast<SimulatedStation*>(this)->catchUp();
}

void SimulatedStation::checkUsable(const char* what) const {
    if (d_->failed) {
        throw PortError(QStringLiteral("%1 failed: the device is gone (adapter unplugged)")
                            .arg(QLatin1String(what))
                            .toStdString());
    }
}

qint64 SimulatedStation::availableCount() const {
    const qint64 now = nowMicros();
    qint64 n = 0;
    for (const RxByte& b : d_->rx) {
        if (b.atMicros > now) {
            break;
        }
        ++n;
    }
    return n;
}

void SimulatedStation::queueRx(const QByteArray& bytes, qint64 atMicros, bool fromBaton) {
    if (!d_->open || !d_->plugged) {
        return;  // nobody listens: the bytes are lost
    }
    const qint64 byteTime = options_.realByteTiming ? kByteMicros : 0;
    for (char c : bytes) {
        const qint64 t = std::max(atMicros, d_->rxLastMicros) + byteTime;
        d_->rxLastMicros = t;
        d_->rx.push_back(RxByte{t, static_cast<std::uint8_t>(c), fromBaton});
    }
}

void SimulatedStation::transmit(const QByteArray& bytes, qint64 startMicros) {
    const bool echo =
        options_.echo == EchoMode::Always || (options_.echo == EchoMode::DtrControlled && d_->dtr);
    const qint64 byteTime = options_.realByteTiming ? kByteMicros : 0;
    qint64 t = std::max(startMicros, d_->txFreeMicros);
    for (char c : bytes) {
        t += byteTime;
        if (echo) {
            queueRx(QByteArray(1, c), t, false);
        }
        batonReceives(static_cast<std::uint8_t>(c), t);
    }
    d_->txFreeMicros = t;
    if (echo) {
        addLog(LineEvent::Kind::ToPc, t, bytes);
    }
}

void SimulatedStation::addLog(LineEvent::Kind kind, qint64 atMicros, QByteArray bytes, bool on) {
    d_->log.push_back(LineEvent{atMicros / 1000, kind, std::move(bytes), on});
    if (d_->log.size() > kLogLimit) {
        d_->log.pop_front();
    }
}

}  // namespace dorodure::sim
