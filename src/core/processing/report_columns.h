#pragma once

#include "sites/checkpoint.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

namespace dorodure::report {

// The hour byte of a record (positions 19-20 as hexadecimal), or -1.
int hourByte(const QString& line);
// The minute byte (positions 21-22 as hexadecimal), or -1.
int minuteByte(const QString& line);
// A unit marker: the minute byte is 0x80 or more.
bool isUnitMarker(const QString& line);
bool hasBracketFlag(const QString& line);    // hour bit 7
bool hasSeparatorFlag(const QString& line);  // hour bit 6
// A record printed as a CSV and PDF row: no marker and neither hour flag.
bool isPlainRecord(const QString& line);

// "20YY/MM/DD" (the baton stores no century).
QString recordDate(const QString& line);
// "HH:NN" with the hour flags cleared, so flagged hours print as plain hours.
QString recordTime(const QString& line);
// The time column of a unit marker: the hour as stored and the minute without
// the marker bit.
QString markerTime(const QString& line);
// The unit number of a unit marker (positions 9-12).
QString markerUnit(const QString& line);

// The time since the previous record of a site's section: "HH:NN", or five
// blanks for the first record, a change of date and a step back in time.
class IntervalClock {
  public:
    QString next(const QString& record);

  private:
    bool started_ = false;
    int year_ = 0, month_ = 0, day_ = 0, hour_ = 0, minute_ = 0;
};

// The date and time of the first and last records of a section, as the report
// heads print them ("date time"); empty when there is none. With
// checkedOnly, records that fail the record check are left out.
struct Period {
    QString from;
    QString to;
};
Period sectionPeriod(const QStringList& lines, bool checkedOnly);

// How often each checkpoint id occurs in a section's lines.
class IdCounts {
  public:
    explicit IdCounts(const QStringList& lines);
    int of(const QString& id) const { return counts_.value(id); }
    QList<int> of(const std::vector<TCheckpoint>& entries) const;

  private:
    QHash<QString, int> counts_;
};

// A CSV field in double quotes, with quotes inside it doubled.
QString quoted(const QString& field);

}  // namespace dorodure::report
