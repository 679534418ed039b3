#include "report_view_state.h"

namespace dorodure {

namespace {

constexpr ControlState kHidden{false, false};
constexpr ControlState kShown{true, true};
constexpr ControlState kShownDisabled{true, false};

constexpr int kCreateCaption = 172;
constexpr int kOpenCaption = 173;
constexpr int kAdvancedClosedCaption = 163;
constexpr int kAdvancedOpenCaption = 164;
constexpr int kToCaption = 48;
constexpr int kSingleCalendarCaption = 159;

// A report by download only lists stored reports: no dates, no times, and the
// advanced group is closed except for the choice of the file type.
KindViewState byDownloadState(bool secureReports, bool removeDuplicates) {
    KindViewState s;
    s.createButtonCaption = kOpenCaption;
    s.advancedGroupOpen = false;
    s.advancedButtonCaption = kAdvancedClosedCaption;
    s.advancedButtonEnabled = false;
    s.downloadList = kShown;
    s.patrolSeparator = kShownDisabled;
    s.pointFilter = kShownDisabled;
    s.sortByCheckpoints = kHidden;
    s.removeDuplicates = kHidden;
    s.removeDuplicatesChecked = removeDuplicates;
    s.shiftButtons = kShownDisabled;
    s.createPdf = kShown;
    s.createPdfChecked = secureReports;
    return s;
}

// The calendars of lists and overviews: the advanced view shows both, the
// simple view only the report date.
void applyCalendars(KindViewState& s, bool advancedOpen) {
    s.advancedGroupOpen = advancedOpen;
    s.advancedButtonCaption = advancedOpen ? kAdvancedOpenCaption : kAdvancedClosedCaption;
    s.advancedButtonEnabled = true;
    s.toCalendar = kShown;
    s.toLabel = kShown;
    s.toLabelCaption = advancedOpen ? kToCaption : kSingleCalendarCaption;
    s.fromCalendar = advancedOpen ? kShown : kHidden;
    s.fromLabel = advancedOpen ? kShown : kHidden;
}

KindViewState clockingListState(bool advancedOpen, bool secureReports, bool removeDuplicates) {
    KindViewState s;
    s.createButtonCaption = kCreateCaption;
    applyCalendars(s, advancedOpen);
    const ControlState timeControls = advancedOpen ? kShown : kHidden;
    s.fromTime = s.toTime = timeControls;
    s.fromTrackBar = s.toTrackBar = timeControls;
    s.patrolSeparator = s.sortByCheckpoints = s.pointFilter = kShown;
    s.removeDuplicates = kShown;
    s.removeDuplicatesChecked = removeDuplicates;
    s.createPdf = kShown;
    s.createPdfChecked = secureReports;
    return s;
}

// An overview always covers whole shifts, so its times are fixed by the date
// rules and it is always a PDF.
KindViewState overviewState(bool advancedOpen) {
    KindViewState s;
    s.createButtonCaption = kCreateCaption;
    applyCalendars(s, advancedOpen);
    const ControlState timeEdits = advancedOpen ? kShownDisabled : kHidden;
    s.fromTime = s.toTime = timeEdits;
    s.fromTrackBar = s.toTrackBar = kHidden;
    s.patrolSeparator = kShownDisabled;
    s.sortByCheckpoints = kHidden;
    s.removeDuplicates = kHidden;
    s.removeDuplicatesChecked = true;
    s.createPdf = kShownDisabled;
    s.createPdfChecked = true;
    s.pointFilter = kShown;
    s.shiftButtons = kShown;
    s.runDateRules = true;
    return s;
}

QDate dayBefore(const QDate& d) {
    return d.addDays(-1);
}

}  // namespace

KindViewState kindViewState(ReportKind kind, bool advancedOpen, bool secureReports,
                            bool removeDuplicates) {
    switch (kind) {
        case ReportKind::ByDownload:
            return byDownloadState(secureReports, removeDuplicates);
        case ReportKind::ClockingList:
            return clockingListState(advancedOpen, secureReports, removeDuplicates);
        case ReportKind::Overview:
            return overviewState(advancedOpen);
    }
    return {};
}

bool fromCalendarShown(const DateWindow& w) {
    return w.advancedOpen && w.kind != ReportKind::ByDownload;
}

DateWindow applyDateRules(DateWindow w) {
    const bool overview = w.kind == ReportKind::Overview;
    const bool night = w.nightShift && overview;
    const bool fromShown = fromCalendarShown(w);
    if (night) {
        w.fromTime = w.toTime = QStringLiteral("12h00");
        if (!(fromShown && w.fromDate <= dayBefore(w.toDate))) {
            w.fromDate = dayBefore(w.toDate);
        }
        return w;
    }
    if (overview) {
        w.fromTime = QStringLiteral("00h00");
        w.toTime = QStringLiteral("23h59");
    }
    if (w.kind != ReportKind::ClockingList || fromShown) {
        if (!fromShown || w.fromDate > w.toDate) {
            w.fromDate = w.toDate;
        }
        return w;
    }
    w.fromTime = w.toTime = QStringLiteral("12h00");
    w.fromDate = dayBefore(w.toDate);
    return w;
}

QString timeEditWithHour(const QString& timeEdit, int hour) {
    return QStringLiteral("%1h").arg(hour, 2, 10, QLatin1Char('0')) + timeEdit.mid(3, 2);
}

int trackBarPosition(const QString& timeEdit) {
    bool ok = false;
    const int hour = timeEdit.left(2).trimmed().toInt(&ok);
    if (!ok || hour < 0) {
        return 0;
    }
    return hour > 23 ? 23 : hour;
}

}  // namespace dorodure
