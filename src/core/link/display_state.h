#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <mutex>

namespace dorodure {

// What the main window shows of the baton link. The communications thread
// writes it; the window's one-second timer (or the command-line tool) reads a
// snapshot. The thread never touches a window.
struct DisplaySnapshot {
    enum class Led { Red, Yellow, Purple, Lime };
    enum class Colour { WindowText, Blue, Red };
    enum class Bar { Initial, Blue };

    QString statusText = QStringLiteral("Initializing please wait...");
    Led led = Led::Red;

    // Gauge1: progress, maximum, bar colour.
    int gaugeProgress = 0;
    int gaugeMax = 100;
    Bar gaugeBar = Bar::Initial;

    // Baton panel.
    QString lblID = QStringLiteral("Id : ");
    Colour lblIDColour = Colour::WindowText;
    QString lblVer = QStringLiteral("Version : ");
    QString lblDate = QStringLiteral("Date : ");
    Colour lblDateColour = Colour::WindowText;
    QString lblTime = QStringLiteral("Time : ");
    Colour lblTimeColour = Colour::WindowText;
    bool pictureShown = false;  // Image1, shown once the station was found

    // Status panel.
    bool label4Visible = false;    // "No Data in Rozedava"
    bool lblExtraVisible = false;  // "Time in Baton is not the same as PC!!"

    // Empty until the session first sets it; the window keeps its own title.
    QString windowTitle;

    // Counters of one-shot requests: the window acts on each increase.
    std::uint64_t restoreRequests = 0;  // restore from the task bar, bring to front
    std::uint64_t beeps = 0;

    // Raised by every change.
    std::uint64_t changeCount = 0;
};

class DisplayState {
  public:
    DisplaySnapshot snapshot() const {
        std::lock_guard lock(mutex_);
        return state_;
    }
    std::uint64_t changeCount() const {
        std::lock_guard lock(mutex_);
        return state_.changeCount;
    }

    // Called with every new status text, on the thread that set it, outside
    // the lock (the command-line tool prints it). Set before the link starts.
    using StatusObserver = std::function<void(const QString&)>;
    void setStatusObserver(StatusObserver observer) { observer_ = std::move(observer); }

    // Applies a change under the lock and counts it.
    template <typename F>
    void update(F&& change) {
        QString newStatus;
        {
            std::lock_guard lock(mutex_);
            const QString before = state_.statusText;
            change(state_);
            ++state_.changeCount;
            if (observer_ && state_.statusText != before) {
                newStatus = state_.statusText;
            }
        }
        if (!newStatus.isEmpty()) {
            observer_(newStatus);
        }
    }

    // Convenience for the session's most frequent changes.
    void setStatus(const QString& text);
    void setLed(DisplaySnapshot::Led led);
    void setGauge(int progress, int maximum);
    void setGaugeMax(int maximum);
    void raiseGaugeMax(int by);
    void setGaugeProgress(int progress);
    // Gauge1 advances by one, never past its maximum.
    void stepGauge();
    void beep();

  private:
    mutable std::mutex mutex_;
    DisplaySnapshot state_;
    StatusObserver observer_;
};

}  // namespace dorodure
