#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <map>

namespace dorodure {

class TLanguageTable;

namespace tamper {

// The CRC-8 of the 1-Wire devices: initial value 0, polynomial x^8 + x^5 +
// x^4 + 1 processed least significant bit first, no final inversion.
std::uint8_t crc8Maxim(const std::uint8_t* data, int length);

// The record check of secure uploads: the first 22 characters are eleven
// hexadecimal bytes and the first equals the CRC-8 of the other ten.
bool recordCheckPasses(const QString& line);

// The time stamp YYMMDDHHNN of a record as a number, with the bracket and
// separator flags cleared from the hour and the unit-marker bit from the
// minute, so that flags neither fake nor hide a step back in time; -1 when
// the line is too short or a field cannot be read.
qint64 plainTimeStamp(const QString& line);

}  // namespace tamper

// The tamper counters of one processing run: corrupt records per bucket (a
// site index, or the unknown bucket's number), and over the whole upload the
// records filed and the steps back in time among them.
class TamperCounters {
  public:
    // A record is the wrap of a full baton memory, not tampering, when exactly
    // one step back happens in more than this many filed records.
    static constexpr int kWrapFiledRecords = 4000;

    void addCorrupt(int bucket) { ++corrupt_[bucket]; }
    int corrupt(int bucket) const;

    // Counts one filed record and compares it with the last kept record: a
    // step back in time adds one reversal. Only lines longer than 22
    // characters (with a sequence number) are compared.
    void fileRecord(const QString& record, const QString& lastKept);

    int filed() const { return filed_; }
    int reversals() const { return reversals_; }
    bool wrapCondition() const { return reversals_ == 1 && filed_ > kWrapFiledRecords; }

  private:
    std::map<int, int> corrupt_;
    int filed_ = 0;
    int reversals_ = 0;
};

// The warnings part of one site's section.
struct SiteWarnings {
    bool any = false;   // the part is printed at all
    QStringList lines;  // each a text line, a CSV row and a PDF line
};

SiteWarnings siteWarnings(const TamperCounters& counters, int siteIndex,
                          const TLanguageTable& texts);

}  // namespace dorodure
