// dorodure-cli report list | overview | downloads: the reports over stored
// clockings, made in the data folder without windows.

#include "cli_command.h"
#include "cli_session.h"

#include "reports/download_list.h"
#include "reports/report_command_line.h"
#include "reports/report_request.h"
#include "shell/settings.h"
#include "sites/site_store.h"

#include <QTextStream>

namespace dorodure::cli {

namespace {

ReportCommand parseOrThrow(const QStringList& args) {
    try {
        return parseReportCommand(args);
    } catch (const ReportUsageError& e) {
        throw UsageError(e.message() + QStringLiteral("\n") + reportCommandUsage());
    }
}

void requireSite(CliSession& session, const QString& site) {
    if (session.sites().indexOf(site) < 0) {
        throw UsageError(QStringLiteral("there is no site \"%1\" in the data folder %2")
                             .arg(site, session.dataFolder()));
    }
}

int listDownloads(CliSession& session, const ReportCommand& command) {
    const QString folder = session.sites().sitePath(command.request.site);
    QTextStream out(stdout);
    for (const DownloadRow& row : listDownloadReports(folder, command.pdf, session.ui())) {
        if (!row.date.isEmpty()) {
            out << row.date << " " << row.time << "  "
                << downloadReportToOpen(folder, row, command.pdf) << "\n";
        }
    }
    return 0;
}

int makeReport(CliSession& session, ReportCommand command) {
    if (command.mode == ReportCommand::Mode::List) {
        command.request.createPdf = session.settings().values().secureReports;
    }
    const RequestOutcome outcome = createReport(session.context(), command.request);
    if (outcome.status != RequestOutcome::Status::Made) {
        // The reason has been shown on stderr.
        return 1;
    }
    QTextStream out(stdout);
    out << "Clockings gathered: " << outcome.gatheredLines << "\n";
    for (const QString& file : outcome.reportFiles) {
        out << "Report written to: " << file << "\n";
    }
    if (outcome.reportFiles.isEmpty()) {
        // Every clocking belonged to checkpoints that no site lists.
        QTextStream(stderr) << "report: no report was written\n";
        return 1;
    }
    return 0;
}

int runReport(QStringList args) {
    CliSession::Options options;
    CliSession::takeCommonOptions(args, options);
    const ReportCommand command = parseOrThrow(args);
    CliSession session(options);
    requireSite(session, command.request.site);
    if (command.mode == ReportCommand::Mode::Downloads) {
        return listDownloads(session, command);
    }
    return makeReport(session, command);
}

const CommandRegistration reportCommand(
    QStringLiteral("report"),
    QStringLiteral("clocking lists, shift overviews and stored download reports "
                   "(report list|overview|downloads --site NAME ...)"),
    [](const QStringList& args) {
        return CliSession::guarded(QStringLiteral("report"), [&] { return runReport(args); });
    });

}  // namespace
}  // namespace dorodure::cli
