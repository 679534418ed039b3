#pragma once

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

namespace dorodure {

class TLanguageTable;

// Language table entries used by the reports.
namespace reporttext {
constexpr int kProcessingData = 37;
constexpr int kFrom = 47;
constexpr int kTo = 48;
constexpr int kNone = 84;
constexpr int kOverviewName = 146;
constexpr int kShiftFrom = 147;
constexpr int kShiftTo = 148;
constexpr int kRequestUnreadable = 149;
constexpr int kNothingFound = 150;
constexpr int kLineUnreadable = 160;
constexpr int kNightRequest = 161;
constexpr int kDayRequest = 162;
constexpr int kReportPdfLocked = 174;
}  // namespace reporttext

// Dates in the system's short date format (the default locale).
QString shortDateText(const QDate& date);
// Times in the system's long time format, without a time-zone name.
QString longTimeText(const QTime& time);

// A time edit "hhHnn": hour from characters 1-2, minute from characters 4-5.
// nullopt when either is no number, the hour exceeds 23 or the minute 59.
std::optional<QTime> parseTimeEdit(const QString& timeEdit);
// The message for a time edit that holds no valid time.
QString invalidTimeMessage(const QString& timeEdit);

// The time window of a request as reports print it:
// From T1 D1 to T2 D2 (entries 47 and 48, times and dates in system formats).
struct RequestWindow {
    QDate fromDate;
    QTime fromTime;
    QDate toDate;
    QTime toTime;
};
QString windowText(const TLanguageTable& texts, const RequestWindow& w);

// Identity lines of the request file: "Id : " (clocking list), "Ids: " (sorted
// clocking list) and "Idx: " (overview) followed by the window text.
QString listIdentityLine(const TLanguageTable& texts, const RequestWindow& w);
QString sortedIdentityLine(const TLanguageTable& texts, const RequestWindow& w);
QString overviewIdentityLine(const TLanguageTable& texts, const RequestWindow& w);

// The checkpoint id chosen in the point selector: the text prefixed with "0"
// until it has at least 7 characters, then characters 2 to 7. A selector
// entry "(000123) Gate" gives 000123, a typed 123 gives 000123 too.
QString filterIdFromSelector(const QString& selectorText);

// A selector entry: "(" + id + ") " + location name.
QString checkpointEntryText(const QString& id, const QString& locationName);

}  // namespace dorodure
