#pragma once

#include "checkpoint.h"

#include <QDateTime>
#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace dorodure {

class Clock;
class TActivityLog;
class TLanguageTable;
class TSiteStore;

// One record of a failed-patrol block: a clocking as the baton stores it, the
// button's id as three bytes followed by month, day (with the year's last two
// bits in bits 6-7), hour and minute in binary-coded decimal.
using FailedPatrolRecord = std::array<std::uint8_t, 7>;

// A block holds no more than this many records once a checkpoint begins.
inline constexpr int kFailedPatrolBlockLimit = 160;

// The stamp every record of a block carries: 30 days after it was built.
QDateTime failedPatrolStamp(const QDateTime& built);

// Whether an id can be written into a record: six hexadecimal digits.
bool isRecordableId(const QString& id);

// The record of one button at the stamp. The id must be recordable.
FailedPatrolRecord failedPatrolRecord(const QString& id, const QDateTime& stamp);

// The block for a checkpoint list: the first checkpoint's record r times, the
// second's a times, the third's b times, every later one once; a checkpoint
// that finds the block at 160 records or more adds nothing. Every id must be
// recordable.
std::vector<FailedPatrolRecord> buildFailedPatrolBlock(const std::vector<TCheckpoint>& checkpoints,
                                                       int r, int a, int b, const QDateTime& stamp);

// The failed-patrol unit a block is built for.
enum class FailedPatrolUnit { SingleBaton = 1, MultipleBaton = 2 };

// What "Program Next Baton" (or "&Ok" of the failed-patrol setup) works from:
// the fields as the window holds them.
struct FailedPatrolRequest {
    QString site;
    FailedPatrolUnit unit = FailedPatrolUnit::SingleBaton;
    QString typeText;   // how the activity log names the type
    QString roundTime;  // a value shorter than 2 characters is taken as "015"
    QString restTime;
    QString numBatons;
    QString mondayStart;
    QString mondayFinish;
};

struct FailedPatrolOutcome {
    enum class Kind {
        Programmed,        // the block is ready for the next baton
        RoundNotInSteps,   // text 43: nothing built, the window stays open
        NoCheckpointList,  // text 42 with the site: nothing built, the window closes
        InvalidValue,      // a value that is not a number: nothing built
    };
    Kind kind = Kind::Programmed;
    QString message;                        // to show; empty when Programmed
    QString roundTime;                      // the round time as the field must now show it
    std::vector<FailedPatrolRecord> block;  // when Programmed
};

// Everything "Program Next Baton" does short of handing the block to the
// baton link: checks, the activity-log line under the site, the block.
// Throws FileError when the list cannot be read or the log written.
FailedPatrolOutcome programFailedPatrol(const FailedPatrolRequest& request, TSiteStore& store,
                                        TActivityLog& log, const TLanguageTable& texts,
                                        const Clock& clock);

}  // namespace dorodure
