#pragma once

#include "baton_info.h"

#include <QString>

namespace dorodure {

// Work the communications thread hands to the main thread. Every call blocks
// the calling thread until the main thread has run it (the desktop program
// marshals it with a blocking queued call, the command-line tool with its own
// main-thread queue; tests may run it directly).
class LinkHost {
  public:
    virtual ~LinkHost() = default;

    // Sorts and processes the raw upload file "Raw.txt" of the data folder
    // (DoRaw) for the baton that was downloaded into it; afterwards the file
    // ends with "Done". Errors are the host's to show; a FileError that
    // escapes is traced by the session and the file stays unprocessed.
    virtual void doRaw(const TBatonInfo& baton) = 0;

    // One activity-log entry.
    virtual void logActivity(const QString& name, const QString& message) = 0;

    // An ID button touched to the station (six upper-case hex digits, never
    // "000000"): the checkpoint editor's station path. Returns true when the
    // id was added to the selected site's checkpoint list.
    virtual bool idButtonRead(const QString& id) = 0;
};

}  // namespace dorodure
