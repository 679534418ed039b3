#pragma once

#include "link_context.h"
#include "upload_session.h"

#include <atomic>
#include <thread>

namespace dorodure {

// The communications thread: port discovery, then the upload session for the
// life of the program. stop() ends it promptly: every wait checks the stop
// request at least every few tens of milliseconds.
class TCommsThread {
  public:
    TCommsThread(LinkServices services, LineFactory factory);
    ~TCommsThread();
    TCommsThread(const TCommsThread&) = delete;
    TCommsThread& operator=(const TCommsThread&) = delete;

    void start();
    // Tells the thread to stop without waiting (a thread that waits for the
    // main thread must still be served until running() turns false).
    void requestStop() { stop_.store(true); }
    // Tells the thread to stop and waits until it has ended (DTR set on, the
    // port closed, an unfinished download rolled back).
    void stop();
    bool running() const { return running_.load(); }

    // Safe from any thread.
    int portNumber() const { return session_.portNumber(); }
    void setPortNumber(int port) { session_.setPortNumber(port); }
    bool portReady() const { return session_.portReady(); }
    int currentState() const { return session_.currentState(); }
    int completedSessions() const { return session_.completedSessions(); }

  private:
    void run();

    LinkServices services_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> running_{false};
    UploadSession session_;
    std::thread thread_;
};

}  // namespace dorodure
