#include "overview_chart.h"

#include "checkpoint_sort.h"
#include "processing/pdf/pdfprint.h"
#include "processing/raw/raw_file.h"
#include "report_texts.h"
#include "shell/language_table.h"
#include "shell/startup_checks.h"
#include "shell/user_interaction.h"

#include <QHash>

#include <algorithm>
#include <array>

namespace dorodure {

const char* const kReportVersion = kProgramVersion;

namespace {

constexpr int kColumns = 24;
constexpr int kMinimumRowLines = 2;

// One clock time in the grid.
struct Cell {
    int column = 0;
    QString text;
};

// The readable clockings of one shift, by checkpoint id, in the order read.
using ShiftCells = QHash<QString, std::vector<Cell>>;

// Files every readable request line under the shift it belongs to. Lines that
// are no clocking record are passed over; unreadable ones are reported.
std::vector<ShiftCells> cellsByShift(const OverviewInput& in, UserInteraction& ui) {
    std::vector<ShiftCells> shifts(in.plan.dates.size());
    for (const QString& line : in.requestLines) {
        if (rawfile::classify(line) != rawfile::LineKind::Record) {
            continue;
        }
        const std::optional<ClockingTime> t = clockingTime(line);
        if (!t) {
            ui.showMessage(QStringLiteral("Error O=") + line);
            continue;
        }
        const int s = shiftIndex(*t, in.plan);
        if (s >= 0) {
            const int column = shiftColumn(*t, in.plan.dates[size_t(s)], in.plan.night);
            shifts[size_t(s)][line.mid(6, 6)].push_back({column, cellText(*t)});
        }
    }
    return shifts;
}

bool hasRows(const ShiftCells& cells, const std::vector<ReportCheckpoint>& rows) {
    return std::any_of(rows.begin(), rows.end(),
                       [&](const ReportCheckpoint& c) { return cells.contains(c.id); });
}

// Draws one checkpoint's row: the times in column order, as high as the
// fullest hour cell and at least two lines.
void drawRow(PdfPrint& pdf, const ReportCheckpoint& checkpoint, std::vector<Cell> cells) {
    std::stable_sort(cells.begin(), cells.end(),
                     [](const Cell& a, const Cell& b) { return a.column < b.column; });
    std::array<int, kColumns> perColumn{};
    QStringList times;
    for (const Cell& c : cells) {
        ++perColumn[size_t(c.column)];
        times << c.text;
    }
    const int lines =
        std::max(kMinimumRowLines, *std::max_element(perColumn.begin(), perColumn.end()));
    pdf.AddChartRow(times, checkpoint.label(), lines);
}

void startShiftPage(PdfPrint& pdf, const TLanguageTable& texts, const QDate& d, bool night) {
    if (!night) {
        pdf.AddChartPage(shortDateText(d), QString(), false);
        return;
    }
    pdf.AddChartPage(texts.text(reporttext::kShiftFrom) + QStringLiteral(" : ") +
                         shortDateText(d.addDays(-1)) + QStringLiteral(" 12:00"),
                     QStringLiteral("   ") + texts.text(reporttext::kShiftTo) +
                         QStringLiteral(" : ") + shortDateText(d) + QStringLiteral(" 12:00"),
                     true);
}

}  // namespace

QString overviewTitle(const TLanguageTable& texts, const QString& reportHeader) {
    return QStringLiteral("Dorodure Uploader Ver ") + QString::fromLatin1(kReportVersion) +
           QStringLiteral(" - ") + texts.text(reporttext::kOverviewName) + QStringLiteral(" ") +
           reportHeader;
}

QString emptyShiftMessage(const TLanguageTable& texts, const QDate& shiftDate, bool night) {
    const QString nothing = texts.text(reporttext::kNothingFound);
    if (!night) {
        return nothing + QStringLiteral(" ") + shortDateText(shiftDate);
    }
    return nothing + QStringLiteral(" ") + texts.text(reporttext::kShiftFrom) +
           QStringLiteral(" : ") + shortDateText(shiftDate.addDays(-1)) +
           QStringLiteral(" 12:00  ") + texts.text(reporttext::kShiftTo) + QStringLiteral(" : ") +
           shortDateText(shiftDate) + QStringLiteral(" 12:00");
}

int drawOverview(PdfPrint& pdf, const TLanguageTable& texts, UserInteraction& ui,
                 const OverviewInput& input) {
    const std::vector<ReportCheckpoint> rows =
        reportedCheckpoints(input.checkpoints, input.filterId);
    const std::vector<ShiftCells> shifts = cellsByShift(input, ui);
    pdf.StartChartDocument(overviewTitle(texts, input.reportHeader), input.reportFooter,
                           input.site);
    int drawn = 0;
    for (size_t s = 0; s < shifts.size(); ++s) {
        const QDate& d = input.plan.dates[s];
        if (!hasRows(shifts[s], rows)) {
            ui.showMessage(emptyShiftMessage(texts, d, input.plan.night));
            continue;
        }
        startShiftPage(pdf, texts, d, input.plan.night);
        for (const ReportCheckpoint& c : rows) {
            drawRow(pdf, c, shifts[s].value(c.id));
        }
        ++drawn;
    }
    return drawn;
}

}  // namespace dorodure
