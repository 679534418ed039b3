#include "app_link_host.h"

#include "app_services.h"
#include "processing/sort_raw.h"
#include "shell/activity_log.h"
#include "shell/file_error.h"
#include "shell/user_interaction.h"
#include "shutdown.h"

#include <QThread>
#include <QTimer>

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>

namespace dorodure {

// One piece of work handed to the window thread.
struct Handover {
    std::function<void()> work;
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    bool ran = false;
};

namespace {

// How often a waiting thread looks whether the host was abandoned.
constexpr auto kAbandonPoll = std::chrono::milliseconds(50);
// How long handed-over work waits for the window thread's own run to end.
constexpr int kBusyRetryMs = 100;

}  // namespace

AppLinkHost::AppLinkHost(AppServices& services, QObject* parent) : QObject(parent), s_(services) {}

void AppLinkHost::abandon() {
    abandoned_.store(true);
}

bool AppLinkHost::runOnWindowThread(const std::function<void()>& work) {
    if (abandoned_.load()) {
        return false;
    }
    if (QThread::currentThread() == thread()) {
        work();
        return true;
    }
    auto handover = std::make_shared<Handover>();
    handover->work = work;
    QMetaObject::invokeMethod(
        this, [this, handover] { post(handover); }, Qt::QueuedConnection);
    std::unique_lock lock(handover->mutex);
    while (!handover->finished && !abandoned_.load()) {
        handover->done.wait_for(lock, kAbandonPoll);
    }
    return handover->finished && handover->ran;
}

void AppLinkHost::post(const std::shared_ptr<Handover>& handover) {
    if (!abandoned_.load() && windowBusy && windowBusy()) {
        QTimer::singleShot(kBusyRetryMs, this, [this, handover] { post(handover); });
        return;
    }
    if (!abandoned_.load()) {
        handover->work();
        handover->ran = true;
    }
    std::lock_guard lock(handover->mutex);
    handover->finished = true;
    handover->done.notify_all();
}

void AppLinkHost::doRaw(const TBatonInfo& baton) {
    runOnWindowThread([this, baton] { doRawHere(baton); });
}

void AppLinkHost::doRawHere(const TBatonInfo& baton) {
    ProcessingContext& ctx = s_.processing();
    ctx.baton.idCaption = baton.idCaption;
    ctx.baton.versionText = baton.versionText;
    if (onProcessing) {
        onProcessing(true);
    }
    runUploadProcessing(s_, [&ctx] { DoRaw(ctx); });
    if (onProcessing) {
        onProcessing(false);
    }
}

void AppLinkHost::logActivity(const QString& name, const QString& message) {
    runOnWindowThread([this, name, message] {
        try {
            s_.activityLog().append(name, message);
        } catch (const FileError& e) {
            s_.ui().showMessage(e.message());
        }
    });
}

bool AppLinkHost::idButtonRead(const QString& id) {
    runOnWindowThread([this, id] {
        if (s_.stationIdHandler) {
            s_.stationIdHandler(id);
        }
    });
    return false;
}

}  // namespace dorodure
