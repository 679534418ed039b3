#include "clock.h"

#include <chrono>
#include <thread>

namespace dorodure {

qint64 SystemClock::tickMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

QDateTime SystemClock::now() const {
    return QDateTime::currentDateTime();
}

void SystemClock::sleepMs(qint64 ms) {
    if (ms > 0) {
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
}

ManualClock::ManualClock(const QDateTime& start) : wallAtZero_(start) {}

QDateTime ManualClock::now() const {
    std::lock_guard lock(mutex_);
    return wallAtZero_.addMSecs(ticks_.load());
}

void ManualClock::advanceTo(qint64 t) {
    qint64 current = ticks_.load();
    while (current < t && !ticks_.compare_exchange_weak(current, t)) {
    }
}

void ManualClock::setNow(const QDateTime& wall) {
    std::lock_guard lock(mutex_);
    wallAtZero_ = wall.addMSecs(-ticks_.load());
}

}  // namespace dorodure
