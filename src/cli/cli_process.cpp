// dorodure-cli import | process FILE: the upload file filed and reported
// without windows.

#include "cli_command.h"
#include "cli_session.h"

#include "processing/process_raw.h"
#include "processing/raw/raw_file.h"
#include "processing/sort_raw.h"
#include "shell/file_error.h"
#include "shell/text_file.h"

#include <QFileInfo>
#include <QTextStream>

namespace dorodure::cli {

namespace {

void rejectExtraArguments(const QStringList& args) {
    if (!args.isEmpty()) {
        throw UsageError(QStringLiteral("unexpected argument \"%1\"").arg(args.first()));
    }
}

void printResult(const ProcessResult& result) {
    QTextStream out(stdout);
    out << "Records filed: " << result.filedRecords << "\n";
    for (const QString& site : result.reportedSites) {
        out << "Reported site: " << site << "\n";
    }
    for (const QString& file : result.reportFiles) {
        out << "Report file: " << file << "\n";
    }
}

// Without windows there is no baton display: the upload's own identity line
// names the baton in the reports and the activity log.
void takeBatonFromUpload(ProcessingContext& ctx, const QString& uploadPath) {
    const QStringList lines = textfile::readLines(uploadPath);
    if (!lines.isEmpty() && rawfile::classify(lines.first()) == rawfile::LineKind::Identity) {
        ctx.baton.idCaption = lines.first();
    }
}

// A sorted upload is already in the day files: sorting it again would store
// every record twice.
void requireUnsorted(const QString& uploadPath) {
    if (!textfile::exists(uploadPath)) {
        throw FileError(QStringLiteral("No upload file \"%1\"").arg(uploadPath));
    }
    if (!rawfile::isUnprocessed(uploadPath)) {
        throw FileError(QStringLiteral("\"%1\" has already been sorted and processed (it ends "
                                       "with Done); \"process Raw.txt\" makes its report again")
                            .arg(uploadPath));
    }
}

int runImport(QStringList args) {
    CliSession::Options options;
    CliSession::takeCommonOptions(args, options);
    rejectExtraArguments(args);
    CliSession session(options);
    ProcessingContext& ctx = session.context();
    const QString uploadPath = ctx.path(QStringLiteral("Raw.txt"));
    requireUnsorted(uploadPath);
    takeBatonFromUpload(ctx, uploadPath);
    SortRaw(ctx, uploadPath);
    const ProcessResult result = ProcessRaw(ctx, uploadPath, ProcessOrigin::Import);
    printResult(result);
    return 0;
}

int runProcess(QStringList args) {
    CliSession::Options options;
    CliSession::takeCommonOptions(args, options);
    if (args.size() != 1) {
        throw UsageError(QStringLiteral("process needs exactly one FILE"));
    }
    const QString file = QFileInfo(args.first()).absoluteFilePath();
    if (!textfile::exists(file)) {
        throw FileError(QStringLiteral("No such file \"%1\"").arg(file));
    }
    CliSession session(options);
    takeBatonFromUpload(session.context(), file);
    const ProcessResult result = ProcessRaw(session.context(), file, ProcessOrigin::ChosenFile);
    printResult(result);
    return 0;
}

const CommandRegistration importCommand(
    QStringLiteral("import"),
    QStringLiteral("sort Raw.txt into the sites' day files, then report it "
                   "[--unknown ignore|site:NAME|new:NAME]"),
    [](const QStringList& args) {
        return CliSession::guarded(QStringLiteral("import"), [&] { return runImport(args); });
    });

const CommandRegistration processCommand(
    QStringLiteral("process"),
    QStringLiteral("report FILE without storing it [--unknown ignore|site:NAME|new:NAME]"),
    [](const QStringList& args) {
        return CliSession::guarded(QStringLiteral("process"), [&] { return runProcess(args); });
    });

}  // namespace
}  // namespace dorodure::cli
