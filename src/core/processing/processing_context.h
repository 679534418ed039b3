#pragma once

#include <QString>
#include <QStringList>

#include <atomic>

namespace dorodure {

class Clock;
class TSettings;
class TLanguageTable;
class TActivityLog;
class TTraceLog;
class TSiteStore;
class BatonNames;
class PdfPrint;
class UserInteraction;

// What the user decided about clockings of checkpoints that are in no site.
struct UnknownDecision {
    enum class Choice { Ignore, ExistingSite, NewSite };
    Choice choice = Choice::Ignore;
    QString siteName;  // the existing site, or the new site's name (asked when empty)
};

// Asks what to do with unknown checkpoints (the "Unknown checkpoints" window in
// the desktop program; a fixed answer in the command-line tool and the tests).
class UnknownCheckpointsAsker {
  public:
    virtual ~UnknownCheckpointsAsker() = default;
    virtual UnknownDecision ask(const QStringList& sites) = 0;
};

// The baton last read by the upload session, as processing prints it.
struct BatonIdentity {
    QString idCaption;    // lblID's caption: text 10 + " " + id characters
    QString versionText;  // four hex digits
};

// Everything a processing run works with. One instance lives for the program;
// all of it is used on the window thread only.
struct ProcessingContext {
    QString dataFolder;
    TSettings* settings = nullptr;
    TLanguageTable* texts = nullptr;
    TActivityLog* activityLog = nullptr;
    TTraceLog* trace = nullptr;  // may be null
    TSiteStore* sites = nullptr;
    BatonNames* batonNames = nullptr;
    PdfPrint* pdf = nullptr;
    const Clock* clock = nullptr;
    UserInteraction* ui = nullptr;
    UnknownCheckpointsAsker* unknownAsker = nullptr;

    BatonIdentity baton;
    // Set while a block of records waits to be written to a baton: reports are
    // written but neither opened nor logged.
    const std::atomic<bool>* writePending = nullptr;
    // The Reports window's "Point filter" box (drops the frequency part and
    // the separator line before special points).
    bool pointFilterChecked = false;

    QString path(const QString& name) const;
};

// Where a processing run was started from.
enum class ProcessOrigin {
    Download,      // DoRaw after an upload
    Import,        // File menu "Import"
    ChosenFile,    // a file chosen by the user
    Shutdown,      // the offer at shutdown
    ReportRequest  // a clocking list of the Reports window: no baton, no baton name
};

}  // namespace dorodure
