#pragma once

#include <QDateTime>

#include <atomic>
#include <mutex>

namespace dorodure {

// The source of time for everything that waits or stamps: a millisecond tick
// count for time-outs and the local wall-clock time for dates in files. Tests
// inject a ManualClock so that whole upload sessions run in virtual time.
class Clock {
  public:
    virtual ~Clock() = default;
    // Monotonic milliseconds; only differences matter.
    virtual qint64 tickMs() const = 0;
    // The PC's local date and time.
    virtual QDateTime now() const = 0;
    // Blocks the calling thread for ms milliseconds (virtual clocks advance instead).
    virtual void sleepMs(qint64 ms) = 0;
};

// The real clock: steady tick count and the system's local time.
class SystemClock final : public Clock {
  public:
    qint64 tickMs() const override;
    QDateTime now() const override;
    void sleepMs(qint64 ms) override;
};

// A clock that only moves when told to; safe to read from several threads.
// Wall-clock time moves together with the tick count.
class ManualClock final : public Clock {
  public:
    explicit ManualClock(const QDateTime& start = QDateTime(QDate(2009, 5, 12), QTime(14, 3, 22)));
    qint64 tickMs() const override { return ticks_.load(); }
    QDateTime now() const override;
    void sleepMs(qint64 ms) override { advance(ms); }
    void advance(qint64 ms) { ticks_ += ms; }
    // Moves the tick count forward to at least t.
    void advanceTo(qint64 t);
    void setNow(const QDateTime& wall);

  private:
    std::atomic<qint64> ticks_{0};
    mutable std::mutex mutex_;
    QDateTime wallAtZero_;
};

}  // namespace dorodure
