#pragma once

#include "download_list.h"
#include "report_view_state.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

namespace dorodure {

struct ProcessingContext;

// A clocking list or overview as the Reports window asks for it.
struct ReportRequest {
    QString site;
    ReportKind kind = ReportKind::ClockingList;
    QDate fromDate;                              // MonthCalendar1
    QDate toDate;                                // MonthCalendar2
    QString fromTime = QStringLiteral("12h00");  // MaskEdit1, "hhHnn"
    QString toTime = QStringLiteral("12h00");    // MaskEdit2
    bool nightShift = false;                     // overview: night shifts
    bool sortByCheckpoints = false;
    bool pointFilter = false;
    QString pointSelectorText;  // ComboBox1's text
    bool createPdf = true;      // "Create PDF report"
};

struct RequestOutcome {
    enum class Status {
        Refused,            // nothing was gathered: a message said why
        NothingFound,       // entry 150 with the window was shown
        RequestUnreadable,  // entry 149 was shown
        Made,               // the report was made; the window closes
    };
    Status status = Status::Refused;
    int gatheredLines = 0;    // day-file lines kept in the window
    int requestLines = 0;     // lines of the request file at the end
    QStringList reportFiles;  // files the report was written to
};

// The request file "Raw.txt" holds an upload that has not been processed:
// the message that refuses the request.
extern const char* const kUnprocessedUploadMessage;

// The first step of Create/Open: with "Create PDF report" unchecked an old
// "Report.pdf" of the data folder is deleted. Returns false, after showing
// entry 174, when it exists and cannot be deleted.
bool removeOldReportPdf(ProcessingContext& ctx, bool createPdf);

// Create/Open for a clocking list or an overview: validates the times,
// gathers the site's clockings of the window into "Raw.txt", sorts or cuts
// them into shifts, and makes the report (ProcessRaw for the clocking list,
// the overview chart saved as "Report.pdf" and opened). Never overwrites a
// "Raw.txt" that holds an unprocessed upload. Messages go through ctx.ui.
// A report by download is not made here (Refused, nothing done).
// Throws FileError when a file cannot be read or written.
RequestOutcome createReport(ProcessingContext& ctx, const ReportRequest& request);

// Create/Open for a report by download: the old "Report.pdf" is removed as
// for every kind (entry 174 when it cannot be, and the reports are opened all
// the same); then opens the file of every given row
// (the ".txt" report when it exists and createPdf is unchecked, else the
// ".pdf" one) and returns the files handed to the viewer.
QStringList openDownloadReports(ProcessingContext& ctx, const QString& site,
                                const std::vector<DownloadRow>& selected, bool createPdf);

}  // namespace dorodure
