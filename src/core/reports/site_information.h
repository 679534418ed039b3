#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

namespace dorodure {

class TLanguageTable;
class TSiteStore;

// A checkpoint as the reports take it from a site's list: every line from line
// 3 on while the line is longer than 6 characters. A line of an id and a flag
// without a location name (7 to 9 characters) is a checkpoint too, so its
// clockings are gathered and drawn like any other.
struct ReportCheckpoint {
    QString id;            // columns 1-6
    QString locationName;  // column 10 to the end; empty for a short line
    // The name of the checkpoint's row: its location name, or its id when it
    // has none.
    QString label() const { return locationName.isEmpty() ? id : locationName; }
};

// The checkpoints of a list file; none when the file does not exist.
// Throws FileError when it cannot be read.
std::vector<ReportCheckpoint> readReportCheckpoints(const QString& listPath);

// What the Reports window shows about a site (display only), and the entries
// of its point selector and patrol separator list.
struct SiteInformation {
    int checkpointCount = 0;
    QString roundTime;
    QString restTime;
    QString numBatons;
    std::array<QString, 7> startTimes;  // Monday..Sunday, "hhHnn"
    std::array<QString, 7> finishTimes;
    // "(" + Id + ") " + LocationName of the patrol separator, or the default.
    QString patrolSeparator;

    // "(" + Id + ") " + LocationName per checkpoint, in list order.
    QStringList pointSelector;
    // Entry 84 ("none") followed by the point selector's entries, and the
    // index of the entry shown (that of the patrol separator, else 0).
    QStringList patrolSeparatorList;
    int patrolSeparatorIndex = 0;

    // The site had no checkpoint list: it was created empty, and the window
    // unchecks "Point filter".
    bool listCreated = false;
};

extern const char* const kNoPatrolSeparator;  // "(000000) Patrol Seperator"

// Reads the site's checkpoint list (creating the empty list when it is
// missing) and builds what the window shows. Throws FileError.
SiteInformation loadSiteInformation(TSiteStore& store, const TLanguageTable& texts,
                                    const QString& site);

// The user chose entry `entryIndex` of the patrol separator list: 0 ("none")
// clears the separator; any other entry flags "#" every checkpoint with that
// entry's id and "=" all others, and the list is written back. Throws
// FileError.
void choosePatrolSeparator(TSiteStore& store, const QString& site, int entryIndex);

}  // namespace dorodure
