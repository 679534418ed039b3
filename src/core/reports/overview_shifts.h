#pragma once

#include "site_information.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace dorodure {

// The shifts of an overview. A day shift runs from 00:00 of its date to 00:00
// of the next; a night shift from 12:00 of the day before its date to 12:00
// of its date (it bears the date on which it ends).
struct ShiftPlan {
    bool night = false;
    std::vector<QDate> dates;  // day: from..to; night: from+1..to
};
ShiftPlan planShifts(const QDate& from, const QDate& to, bool night);

// When a clocking line was made: date 2000 + positions 13-14, month 15-16,
// day 17-18; the plain hour (flags cleared) and minute (unit-marker bit
// cleared). nullopt when the line is too short or a field cannot be read.
struct ClockingTime {
    QDate date;
    int hour = 0;
    int minute = 0;
};
std::optional<ClockingTime> clockingTime(const QString& line);

// The hour column (0-23) of a clocking in the shift of `shiftDate`, or -1 when
// it lies outside that shift. Day shift: column j is hour j. Night shift:
// columns 0-11 are hours 12-23 of the day before, 12-23 hours 0-11 of the date.
int shiftColumn(const ClockingTime& t, const QDate& shiftDate, bool night);

// The index in plan.dates of the shift a clocking belongs to, or -1.
int shiftIndex(const ClockingTime& t, const ShiftPlan& plan);

// The cell text of a clocking: "hh:nn" of its plain hour and minute.
QString cellText(const ClockingTime& t);

// Gathering by shift: for each shift in order, for each reported checkpoint
// in list order (see reportedCheckpoints), that checkpoint's clockings of the
// shift in the order they came. A clocking equal in everything but its check
// bytes (positions 1-6) to the line before it in the checkpoint's group is a
// repeat and left out. Lines shorter than 22 characters are left out.
QStringList gatherByShift(const QStringList& lines, const std::vector<ReportCheckpoint>& list,
                          const ShiftPlan& plan, const QString& filterId = {});

}  // namespace dorodure
