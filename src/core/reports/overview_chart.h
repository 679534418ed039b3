#pragma once

#include "overview_shifts.h"
#include "site_information.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace dorodure {

class PdfPrint;
class TLanguageTable;
class UserInteraction;

// What an overview document is drawn from.
struct OverviewInput {
    QString site;
    QString reportHeader;  // ReportHeader setting
    QString reportFooter;  // ReportFooter setting
    ShiftPlan plan;
    std::vector<ReportCheckpoint> checkpoints;  // the site's list
    QString filterId;                           // empty: no point filter
    QStringList requestLines;                   // the request file after its identity line
};

// The version printed in report titles.
extern const char* const kReportVersion;  // "1.04s"

// The overview's title: "Dorodure Uploader Ver 1.04s - " + entry 146 + " " + header.
QString overviewTitle(const TLanguageTable& texts, const QString& reportHeader);

// Draws the overview into a new chart document of pdf (not saved): one page,
// or more when the rows do not fit, per shift with clockings; one row per
// reported checkpoint with the clock times in their hour cells; a message
// through ui for each shift without clockings, and "Error O=" + line once
// for each line whose date or time cannot be read (the line is skipped).
// Returns the number of shifts drawn.
int drawOverview(PdfPrint& pdf, const TLanguageTable& texts, UserInteraction& ui,
                 const OverviewInput& input);

// The message for a shift without clockings.
QString emptyShiftMessage(const TLanguageTable& texts, const QDate& shiftDate, bool night);

}  // namespace dorodure
