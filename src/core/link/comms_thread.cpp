#include "comms_thread.h"

#include "shell/clock.h"
#include "shell/trace_log.h"

#include <exception>

namespace dorodure {

TCommsThread::TCommsThread(LinkServices services, LineFactory factory)
    : services_(std::move(services)), session_(services_, std::move(factory), stop_) {}

TCommsThread::~TCommsThread() {
    stop();
}

void TCommsThread::start() {
    if (thread_.joinable()) {
        return;
    }
    stop_.store(false);
    running_.store(true);
    thread_ = std::thread([this] { run(); });
}

void TCommsThread::stop() {
    stop_.store(true);
    if (thread_.joinable()) {
        thread_.join();
    }
}

void TCommsThread::run() {
    session_.discover();
    if (!stop_.load()) {
        session_.prepareLoop();
    }
    while (!stop_.load()) {
        try {
            session_.runPass();
        } catch (const std::exception& e) {
            // Whatever failed, the session starts over instead of ending the thread.
            if (services_.trace != nullptr) {
                services_.trace->thread(session_.fields().loopCount,
                                        QStringLiteral("Error: ") + QString::fromUtf8(e.what()));
            }
            session_.fields().state = 0;
            services_.clock.sleepMs(100);
        }
    }
    try {
        session_.finish();
    } catch (const std::exception&) {
        // The port is gone; nothing is left to release.
    }
    running_.store(false);
}

}  // namespace dorodure
