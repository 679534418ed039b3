#pragma once

#include <QDate>
#include <QString>

#include <array>
#include <cstdint>

namespace dorodure::rawfile {

// Line kinds of the raw upload file "Raw.txt" and of the day files.
// Positions below are 1-based, as the file layout counts them.
enum class LineKind {
    Identity,  // starts "Id"
    Record,    // any other line of 22 characters or more (unit markers included)
    Gap,       // "MissingLine", "Missing Line", "ExtraLine", "Extra Line"
    Done,      // "Done"
    Other,     // shorter than 22 characters and none of the above
};

LineKind classify(const QString& line);
bool isGapLine(const QString& line);
inline bool isDone(const QString& line) {
    return line == QLatin1String("Done");
}

// Corrupt: a character from position 13 to the end, position 19 excepted, is
// not a decimal digit.
bool isCorrupt(const QString& line);

// Positions 21-22 read as a hexadecimal byte above 127 (minute bit 7 set).
bool hasUnitMarkerBit(const QString& line);
// Positions 7-12 all decimal digits (a marker's unit number field).
bool hasDigitUnitField(const QString& line);

// Field access (empty or -1 when the line is too short or unreadable).
QString checkpointId(const QString& line);  // positions 7-12
QString dayName(const QString& line);       // positions 13-18, YYMMDD
// The hour with the bracket (bit 7) and separator (bit 6) flags cleared, as a
// decimal number, or -1 when the digits cannot be read.
int plainHour(const QString& line);
// The minute with the unit-marker bit cleared, or -1.
int plainMinute(const QString& line);
bool bracketFlag(const QString& line);    // hour bit 7
bool separatorFlag(const QString& line);  // hour bit 6

// The day-file sort key: positions 13-22 followed by positions 1-12 (22
// characters), and the line it stands for.
QString dayKey(const QString& line);
QString lineFromDayKey(const QString& key);
// "YYMMDD.txt" for a record line.
QString dayFileName(const QString& line);

// The last two digits of the year to stamp on a record of the given month,
// downloaded on `today`: the current year, or the previous one when the
// record's month is later than the current month.
int stampYear(int recordMonth, const QDate& today);

// One clocking record line from the seven bytes of a baton record: id bytes,
// month byte masked to 5 bits, day byte masked to 6 bits, hour and minute
// bytes whole; then the 2-digit year and the sequence number (packet counter
// modulo 100, no padding). Check byte and the next two bytes are "000000".
QString formatRecord(const std::array<std::uint8_t, 7>& bytes, const QDate& today, int packetCount);

// The writer used by the upload session on "Raw.txt". Every operation flushes
// the file to disk before it returns, so a bank is cleared on the baton only
// after its records are safe. Errors throw FileError.
class RawUploadWriter {
  public:
    explicit RawUploadWriter(QString path);
    QString path() const { return path_; }
    // Creates or empties the file and writes the identity line.
    void start(const QString& identityLine);
    // Appends one record line.
    void appendRecord(const QString& recordLine);
    // Replaces the file by the single text "Done" without a line end.
    void resetToDone();

  private:
    QString path_;
};

// Whether a raw upload file exists and does not end with "Done" (an empty
// file counts as not done).
bool isUnprocessed(const QString& path);

}  // namespace dorodure::rawfile
