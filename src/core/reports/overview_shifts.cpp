#include "overview_shifts.h"

#include "checkpoint_sort.h"
#include "processing/raw/raw_file.h"

namespace dorodure {

namespace {

constexpr int kRecordLength = 22;
constexpr int kNoon = 12;

bool readTwoDigits(const QString& text, int& value) {
    if (text.size() != 2 || !text[0].isDigit() || !text[1].isDigit()) {
        return false;
    }
    value = text.toInt();
    return true;
}

// The lines of one checkpoint sorted into the shifts, repeats left out: a
// line equal to the line before it in the checkpoint's group in everything
// but the check bytes is a repeat, whatever shift that line fell in.
void fileIntoShifts(const QStringList& bucket, const ShiftPlan& plan,
                    std::vector<QStringList>& perShift) {
    const QString* previous = nullptr;
    for (const QString& line : bucket) {
        if (line.size() < kRecordLength) {
            continue;
        }
        const bool repeat = previous && QStringView(line).mid(6) == QStringView(*previous).mid(6);
        previous = &line;
        const std::optional<ClockingTime> t = clockingTime(line);
        const int shift = t ? shiftIndex(*t, plan) : -1;
        if (!repeat && shift >= 0) {
            perShift[size_t(shift)] << line;
        }
    }
}

}  // namespace

ShiftPlan planShifts(const QDate& from, const QDate& to, bool night) {
    ShiftPlan plan;
    plan.night = night;
    for (QDate d = night ? from.addDays(1) : from; d <= to; d = d.addDays(1)) {
        plan.dates.push_back(d);
    }
    return plan;
}

std::optional<ClockingTime> clockingTime(const QString& line) {
    if (line.size() < kRecordLength) {
        return std::nullopt;
    }
    int year = 0;
    int month = 0;
    int day = 0;
    if (!readTwoDigits(line.mid(12, 2), year) || !readTwoDigits(line.mid(14, 2), month) ||
        !readTwoDigits(line.mid(16, 2), day)) {
        return std::nullopt;
    }
    ClockingTime t{QDate(2000 + year, month, day), rawfile::plainHour(line),
                   rawfile::plainMinute(line)};
    if (!t.date.isValid() || t.hour < 0 || t.hour > 23 || t.minute < 0 || t.minute > 59) {
        return std::nullopt;
    }
    return t;
}

int shiftColumn(const ClockingTime& t, const QDate& shiftDate, bool night) {
    if (!night) {
        return t.date == shiftDate ? t.hour : -1;
    }
    if (t.date == shiftDate && t.hour < kNoon) {
        return t.hour + kNoon;
    }
    if (t.date == shiftDate.addDays(-1) && t.hour >= kNoon) {
        return t.hour - kNoon;
    }
    return -1;
}

QString cellText(const ClockingTime& t) {
    return QStringLiteral("%1:%2")
        .arg(t.hour, 2, 10, QLatin1Char('0'))
        .arg(t.minute, 2, 10, QLatin1Char('0'));
}

int shiftIndex(const ClockingTime& t, const ShiftPlan& plan) {
    if (plan.dates.empty()) {
        return -1;
    }
    const QDate shiftDate = plan.night && t.hour >= kNoon ? t.date.addDays(1) : t.date;
    const qint64 index = plan.dates.front().daysTo(shiftDate);
    return index >= 0 && index < qint64(plan.dates.size()) ? int(index) : -1;
}

QStringList gatherByShift(const QStringList& lines, const std::vector<ReportCheckpoint>& list,
                          const ShiftPlan& plan, const QString& filterId) {
    const CheckpointBuckets buckets(lines);
    const std::vector<ReportCheckpoint> reported = reportedCheckpoints(list, filterId);
    // perCheckpoint[c][s]: the lines of checkpoint c in shift s.
    std::vector<std::vector<QStringList>> perCheckpoint(reported.size());
    for (size_t c = 0; c < reported.size(); ++c) {
        perCheckpoint[c].resize(plan.dates.size());
        fileIntoShifts(buckets.linesOf(reported[c].id), plan, perCheckpoint[c]);
    }
    QStringList out;
    for (size_t s = 0; s < plan.dates.size(); ++s) {
        for (const std::vector<QStringList>& shifts : perCheckpoint) {
            out << shifts[s];
        }
    }
    return out;
}

}  // namespace dorodure
