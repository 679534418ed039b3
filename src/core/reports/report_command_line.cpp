#include "report_command_line.h"

#include "report_texts.h"

#include <QDateTime>
#include <QRegularExpression>

#include <optional>

namespace dorodure {

namespace {

QString requireOption(QStringList& args, const QString& name) {
    const std::optional<QString> value = takeOption(args, name);
    if (!value || value->isEmpty()) {
        throw ReportUsageError(QStringLiteral("--") + name + QStringLiteral(" is required"));
    }
    return *value;
}

QDate parseDate(const QString& text, const QString& option) {
    const QDate date = QDate::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid()) {
        throw ReportUsageError(
            QStringLiteral("--%1: \"%2\" is not a date YYYY-MM-DD").arg(option, text));
    }
    return date;
}

// "YYYY-MM-DD hh:mm" as a date and a time edit text "hhHmm".
std::pair<QDate, QString> parseDateTime(const QString& text, const QString& option) {
    static const QRegularExpression form(
        QStringLiteral("^\\s*(\\d{4}-\\d{2}-\\d{2})[ T](\\d{1,2}):(\\d{2})\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch()) {
        throw ReportUsageError(
            QStringLiteral("--%1: \"%2\" is not a date and time \"YYYY-MM-DD hh:mm\"")
                .arg(option, text));
    }
    const QString edit =
        m.captured(2).rightJustified(2, QLatin1Char('0')) + QLatin1Char('h') + m.captured(3);
    if (!parseTimeEdit(edit)) {
        throw ReportUsageError(QStringLiteral("--%1: ").arg(option) + invalidTimeMessage(edit));
    }
    return {parseDate(m.captured(1), option), edit};
}

void rejectLeftovers(const QStringList& args) {
    if (!args.isEmpty()) {
        throw ReportUsageError(QStringLiteral("unexpected argument \"%1\"").arg(args.first()));
    }
}

void takePointFilter(QStringList& args, ReportRequest& r) {
    if (const std::optional<QString> point = takeOption(args, QStringLiteral("point"))) {
        if (point->trimmed().isEmpty()) {
            throw ReportUsageError(QStringLiteral("--point needs a checkpoint id"));
        }
        r.pointFilter = true;
        r.pointSelectorText = point->trimmed();
    }
}

// The advanced view's date and time rules applied to a request.
void applyAdvancedRules(ReportRequest& r) {
    DateWindow w{r.kind, r.nightShift, true, r.fromDate, r.toDate, r.fromTime, r.toTime};
    w = applyDateRules(w);
    r.fromDate = w.fromDate;
    r.toDate = w.toDate;
    r.fromTime = w.fromTime;
    r.toTime = w.toTime;
}

ReportCommand parseList(QStringList& args) {
    ReportCommand c;
    c.mode = ReportCommand::Mode::List;
    ReportRequest& r = c.request;
    r.kind = ReportKind::ClockingList;
    r.site = requireOption(args, QStringLiteral("site"));
    std::tie(r.fromDate, r.fromTime) =
        parseDateTime(requireOption(args, QStringLiteral("from")), QStringLiteral("from"));
    std::tie(r.toDate, r.toTime) =
        parseDateTime(requireOption(args, QStringLiteral("to")), QStringLiteral("to"));
    r.sortByCheckpoints = takeFlag(args, QStringLiteral("sort"));
    takePointFilter(args, r);
    rejectLeftovers(args);
    applyAdvancedRules(r);
    return c;
}

ReportCommand parseOverview(QStringList& args) {
    ReportCommand c;
    c.mode = ReportCommand::Mode::Overview;
    ReportRequest& r = c.request;
    r.kind = ReportKind::Overview;
    r.site = requireOption(args, QStringLiteral("site"));
    r.fromDate = parseDate(requireOption(args, QStringLiteral("from")), QStringLiteral("from"));
    r.toDate = parseDate(requireOption(args, QStringLiteral("to")), QStringLiteral("to"));
    r.nightShift = takeFlag(args, QStringLiteral("night"));
    r.createPdf = true;
    takePointFilter(args, r);
    rejectLeftovers(args);
    applyAdvancedRules(r);
    return c;
}

ReportCommand parseDownloads(QStringList& args) {
    ReportCommand c;
    c.mode = ReportCommand::Mode::Downloads;
    c.request.kind = ReportKind::ByDownload;
    c.request.site = requireOption(args, QStringLiteral("site"));
    c.pdf = takeFlag(args, QStringLiteral("pdf"));
    rejectLeftovers(args);
    return c;
}

}  // namespace

QString reportCommandUsage() {
    return QStringLiteral(
        "usage: dorodure-cli report list --site NAME --from \"YYYY-MM-DD hh:mm\" "
        "--to \"YYYY-MM-DD hh:mm\" [--sort] [--point ID]\n"
        "       dorodure-cli report overview --site NAME --from YYYY-MM-DD --to YYYY-MM-DD "
        "[--night] [--point ID]\n"
        "       dorodure-cli report downloads --site NAME [--pdf]\n");
}

ReportCommand parseReportCommand(QStringList args) {
    if (args.isEmpty()) {
        throw ReportUsageError(QStringLiteral("say list, overview or downloads"));
    }
    const QString mode = args.takeFirst();
    if (mode == QLatin1String("list")) {
        return parseList(args);
    }
    if (mode == QLatin1String("overview")) {
        return parseOverview(args);
    }
    if (mode == QLatin1String("downloads")) {
        return parseDownloads(args);
    }
    throw ReportUsageError(QStringLiteral("unknown report kind \"%1\"").arg(mode));
}

}  // namespace dorodure
