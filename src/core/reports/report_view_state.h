#pragma once

#include <QDate>
#include <QString>

namespace dorodure {

// The three kinds of report of the Reports window; the numbers are the values
// of the DefaultReport setting.
enum class ReportKind { ByDownload = 1, ClockingList = 2, Overview = 3 };

// Whether a control of the Reports window is shown and whether it takes input.
struct ControlState {
    bool visible = false;
    bool enabled = false;
    bool operator==(const ControlState&) const = default;
};

// What the Reports window shows for a kind of report. The window applies it
// to its controls; captions are language table entry numbers.
struct KindViewState {
    int createButtonCaption = 0;    // Create/Open: 172 (lists, overviews) or 173 (downloads)
    int advancedButtonCaption = 0;  // 163 with the advanced group closed, 164 open
    bool advancedGroupOpen = false;
    bool advancedButtonEnabled = false;

    ControlState downloadList;
    ControlState fromCalendar;
    ControlState toCalendar;
    ControlState fromTime;
    ControlState toTime;
    ControlState fromTrackBar;
    ControlState toTrackBar;
    ControlState fromLabel;  // caption: entry 147
    ControlState toLabel;
    int toLabelCaption = 0;  // 48 ("to") with the advanced group open, else 159

    ControlState patrolSeparator;
    ControlState sortByCheckpoints;
    ControlState pointFilter;
    ControlState removeDuplicates;
    ControlState createPdf;
    ControlState shiftButtons;
    bool removeDuplicatesChecked = false;
    bool createPdfChecked = false;

    // The date and time rules run after the state is applied (overview).
    bool runDateRules = false;
};

// The state of a kind. advancedOpen is whether the advanced group is shown;
// secureReports is the "Create PDF report" state held in memory and
// removeDuplicates the RemoveDuplicatePoints setting.
KindViewState kindViewState(ReportKind kind, bool advancedOpen, bool secureReports,
                            bool removeDuplicates);

// The date and time controls that the date rules look at and change.
struct DateWindow {
    ReportKind kind = ReportKind::ClockingList;
    bool nightShift = false;                     // "Overview report night shift" checked
    bool advancedOpen = false;                   // the advanced group shown
    QDate fromDate;                              // MonthCalendar1
    QDate toDate;                                // MonthCalendar2
    QString fromTime = QStringLiteral("12h00");  // MaskEdit1, "hhHnn"
    QString toTime = QStringLiteral("12h00");    // MaskEdit2
    bool operator==(const DateWindow&) const = default;
};

// Whether the from calendar is on the window for the kind and the view.
bool fromCalendarShown(const DateWindow& w);

// The date and time rules, run on every calendar click and shift change and
// when the overview is chosen: a night overview covers whole nights (12h00 to
// 12h00, from date at least a day before the to date); a day overview covers
// whole days; the simple clocking list covers 12:00 of the day before the
// chosen date to 12:00 of it; no view lets the from date pass the to date.
DateWindow applyDateRules(DateWindow w);

// A track bar moved: the time edit gets the position as two digits, "h" and
// the minute digits it had.
QString timeEditWithHour(const QString& timeEdit, int hour);
// A time edit changed: the track bar position from its first two characters
// (0 when they are no number), kept within 0 to 23.
int trackBarPosition(const QString& timeEdit);

}  // namespace dorodure
