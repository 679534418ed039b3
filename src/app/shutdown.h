#pragma once

#include "processing/processing_context.h"

#include <QString>

#include <functional>

namespace dorodure {

class AppServices;

// Runs the processing of an upload on the window thread. Errors are shown in
// one message; nothing escapes. Returns whether the run finished.
bool runUploadProcessing(AppServices& services, const std::function<void()>& run);

// The file actions of the main window that process an upload file, as above.
bool processUploadFile(AppServices& services, const QString& path, ProcessOrigin origin);

// What the main window does when it closes: deletes "Processed.txt" and the
// "*.$$$" scratch files, offers to process a "Raw.txt" that does not end with
// "Done" (texts 18 and 19), stops the communications thread (which sets DTR
// on and closes the port). No error keeps the window open.
class Shutdown {
  public:
    explicit Shutdown(AppServices& services) : s_(services) {}

    void run();

    // The steps, in order.
    void deleteScratchFiles();
    void offerUnprocessedUpload();
    void stopLink();

    // Called right before the thread is stopped (the link host gives up the
    // calls the thread may be waiting in).
    std::function<void()> beforeStop;

  private:
    AppServices& s_;
};

}  // namespace dorodure
