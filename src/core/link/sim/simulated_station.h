#pragma once

#include "link/serial_line.h"
#include "link/sim/baton.h"
#include "link/sim/fault_plan.h"

#include <QByteArray>
#include <QString>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

namespace dorodure {
class Clock;
class ManualClock;
}  // namespace dorodure

namespace dorodure::sim {

// Whether the station returns the bytes the PC sends.
enum class EchoMode {
    DtrControlled,  // the upload station: echo only while DTR is on
    Always,         // a loop-back plug: echo regardless of DTR
    Never,          // a port with something else on it
};

struct StationOptions {
    EchoMode echo = EchoMode::DtrControlled;
    // Each byte takes its real time on the line: 9600 baud, 8N2, 11 bits.
    bool realByteTiming = false;
    // The baton's pause between the end of a command and its reply.
    qint64 responseDelayMs = 0;
    // The greeting comes this long after the baton is placed or BREAK drops,
    // and again every greetingRepeatMs until the PC answers it.
    qint64 greetingDelayMs = 100;
    qint64 greetingRepeatMs = 1000;
    // false: the port does not exist, open() fails.
    bool present = true;
};

// Microseconds one byte takes at 9600 baud with 1 start, 8 data, 2 stop bits.
inline constexpr qint64 kByteMicros = 1146;

// How a scripted baton leaves the station.
struct Removal {
    enum class Rule {
        AfterUpload,  // lingerMs after the PC's first clock read (03/33)
        Stay,         // stayMs after it was placed
        Manual,       // only by remove() or a fault
    };
    Rule rule = Rule::AfterUpload;
    qint64 lingerMs = 3000;
    qint64 stayMs = 0;
};

// One baton of a script: placed waitMs after the previous one was removed
// (or after the script was loaded, for the first).
struct ScriptedBaton {
    BatonSetup baton;
    FaultPlan faults;
    Removal removal;
    qint64 waitMs = 1000;
};

// An ID button touched to the station atMs after the script was loaded.
struct ScriptedButton {
    std::uint32_t id = 0;
    qint64 atMs = 500;
};

// Everything a baton file describes.
struct StationScript {
    StationOptions options;
    std::vector<ScriptedBaton> batons;
    std::vector<ScriptedButton> buttons;
};

// One entry of the station's log, in the order things happened.
struct LineEvent {
    enum class Kind {
        FromPc,     // bytes the PC wrote (bytes)
        ToPc,       // bytes the station put on the line for the PC (bytes; tick of the first)
        Dtr,        // DTR changed (on)
        Break,      // BREAK changed (on)
        Open,       // the PC opened the line
        Close,      // the PC closed the line
        Placed,     // a baton was put on the station (bytes = its id text)
        Removed,    // the baton was taken off
        Unplugged,  // the port failed
        PluggedIn,  // the port is back
        Command,    // the baton took a complete command frame (bytes)
    };
    qint64 tickMs = 0;
    Kind kind = Kind::FromPc;
    QByteArray bytes;
    bool on = false;
};

// The upload station with its batons, as a serial line. It runs on the given
// clock: with a ManualClock, waitForBytes() moves the clock forward to the
// next byte (or the end of the wait) so that whole sessions run in virtual
// time; with a real clock it blocks on a condition variable. Every call is
// thread-safe: the session uses the line on its own thread while a test may
// place and remove batons from another.
//
// Baton behaviour: placed on the station (and with the line not in BREAK) it
// greets with 01 0D, repeated until the PC answers with twenty bytes 55; then
// it takes commands. BREAK on makes it greet again after BREAK drops. A baton
// answers the commands 01 03 05 07 09 0B 0D 0F 11 33 35 (see Baton); 0B is
// answered with the acknowledgement 0C alone and each 0D with the next 0E
// packet from the address 0B set.
//
// Line behaviour: open() starts with DTR and BREAK off; DTR and BREAK changes
// on a closed line are ignored. Bytes written while BREAK is on do not get
// through (the transmit line is held at space). Bytes for a closed or
// unplugged line are lost.
class SimulatedStation final : public SerialLine {
  public:
    explicit SimulatedStation(Clock& clock, StationOptions options = {});
    ~SimulatedStation() override;

    // SerialLine.
    bool open() override;
    void close() override;
    bool isOpen() const override;
    QString errorString() const override;
    void setDtr(bool on) override;
    void setBreak(bool on) override;
    qint64 bytesWaiting() override;
    QByteArray read(qint64 maxBytes) override;
    qint64 write(const QByteArray& bytes) override;
    bool waitForBytes(qint64 timeoutMs) override;

    // Batons. place() replaces a baton already on the station.
    void place(const BatonSetup& baton, const FaultPlan& faults = {});
    void remove();
    bool batonPresent() const;
    // A copy of the baton on the station, or nullopt.
    std::optional<Baton> baton() const;
    // Copies of the batons taken off, in order.
    std::vector<Baton> removedBatons() const;
    // Every record cleared by the PC from any baton, in order.
    std::vector<BatonRecord> clearedRecords() const;

    // Runs a script: its batons are placed and removed one after the other
    // by its rules, its buttons touched at their times (replaces the options).
    void loadScript(const StationScript& script);
    // All scripted batons have been placed and removed.
    bool scriptFinished() const;
    int batonsPlaced() const;

    // Things the station reports on its own.
    void touchButton(std::uint32_t id);                         // 24 b1 b2 b3 CRC
    void reportVoltage(std::uint8_t code, std::uint8_t units);  // 22 or 28, U, CRC
    void reportCalibration(std::uint8_t value);                 // 55 value CRC
    void injectBytes(const QByteArray& bytes);                  // anything, e.g. noise

    // The adapter pulled out: every call on the open line throws PortError
    // and open() fails until plugIn().
    void unplug();
    void plugIn();
    bool pluggedIn() const;

    // Logs.
    std::vector<LineEvent> log() const;
    // All bytes the PC wrote, concatenated.
    QByteArray bytesFromPc() const;
    // The complete command frames the baton took, in order.
    std::vector<QByteArray> commands() const;

    bool dtr() const;
    bool breakOn() const;

  private:
    struct RxByte {
        qint64 atMicros;
        std::uint8_t value;
        bool fromBaton;
    };
    struct Impl;

    // Everything below runs with mutex_ held.
    qint64 nowMicros() const;
    QDateTime pcTimeAt(qint64 micros) const;
    void catchUp();
    void settle() const;
    void runEventsUntil(qint64 micros);
    void runEventAt(qint64 micros);
    std::optional<qint64> nextTimedEvent() const;
    std::optional<qint64> nextEventMicros() const;
    qint64 availableCount() const;
    void checkUsable(const char* what) const;
    void transmit(const QByteArray& bytes, qint64 startMicros);
    void queueRx(const QByteArray& bytes, qint64 atMicros, bool fromBaton);
    void greet(qint64 atMicros);
    void scheduleGreeting(qint64 atMicros);
    void batonReceives(std::uint8_t byte, qint64 atMicros);
    void runCommand(const QByteArray& frame, qint64 atMicros);
    QByteArray applyLineFaults(QByteArray reply);
    void sendFromBaton(const QByteArray& reply, qint64 atMicros);
    void placeLocked(const BatonSetup& baton, const FaultPlan& faults, qint64 atMicros);
    void removeLocked(qint64 atMicros);
    void unplugLocked(qint64 atMicros);
    void addLog(LineEvent::Kind kind, qint64 atMicros, QByteArray bytes = {}, bool on = false);

    Clock& clock_;
    ManualClock* manual_;  // the same clock when it is virtual
    StationOptions options_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::unique_ptr<Impl> d_;
};

}  // namespace dorodure::sim
