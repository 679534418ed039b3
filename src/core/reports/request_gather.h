#pragma once

#include "report_texts.h"

#include <QString>
#include <QStringList>

namespace dorodure {

class TSiteStore;

// The clockings of a site's day files within a request window.
struct GatheredLines {
    QStringList lines;       // kept day-file lines, unchanged, in file order
    QStringList unreadable;  // lines of the first or last day whose time cannot be read
};

// Whether a clocking at hour:minute on the first day of a window is kept: its
// minute ends at or after the from time (hh:mm:59.999 is not earlier).
bool keptOnFirstDay(int hour, int minute, const QTime& from);
// Whether a clocking on the last day is kept: hh:mm is not later than the to time.
bool keptOnLastDay(int hour, int minute, const QTime& to);

// Reads the site's day files from the from date to the to date and keeps the
// clocking records of the window. Only the first and the last day are read for
// times, by the plain hour (the bracket and separator flags cleared) and the
// plain minute (the unit-marker bit cleared); days between are taken whole.
// Lines that are no clocking record are left out. Throws FileError.
GatheredLines gatherDayFiles(const TSiteStore& store, const QString& site,
                             const RequestWindow& window);

// The day file name of a date: YYMMDD.
QString dayFileStem(const QDate& date);

}  // namespace dorodure
