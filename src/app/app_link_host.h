#pragma once

#include "link/link_host.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>

namespace dorodure {

class AppServices;
struct Handover;

// The desktop program's side of the baton link: the work the communications
// thread hands over runs on the window thread while the thread waits for it.
// An error in processing is shown once and never reaches the thread; the
// window stays responsive meanwhile (processing lets it take its events).
class AppLinkHost final : public QObject, public LinkHost {
    Q_OBJECT
  public:
    explicit AppLinkHost(AppServices& services, QObject* parent = nullptr);

    void doRaw(const TBatonInfo& baton) override;
    void logActivity(const QString& name, const QString& message) override;
    bool idButtonRead(const QString& id) override;

    // Shutdown: calls waiting for the window thread return at once, and later
    // ones do nothing, so that the thread can be stopped without waiting for
    // a window thread that is busy stopping it.
    void abandon();
    bool abandoned() const { return abandoned_.load(); }

    // Told before and after each processing run on the window thread (the
    // main window shows its busy state and defers closing meanwhile).
    std::function<void(bool running)> onProcessing;
    // Whether the window thread is inside a processing run of its own (an
    // import the user started): handed-over work then waits until it ends,
    // so that two runs never interleave.
    std::function<bool()> windowBusy;

  private:
    // Runs work on the window thread and waits for it; false when the host
    // was abandoned before it ran.
    bool runOnWindowThread(const std::function<void()>& work);
    // Posts one attempt of a handover to the window thread.
    void post(const std::shared_ptr<Handover>& handover);
    void doRawHere(const TBatonInfo& baton);

    AppServices& s_;
    std::atomic<bool> abandoned_{false};
};

}  // namespace dorodure
