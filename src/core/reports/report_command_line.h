#pragma once

#include "report_request.h"
#include "shell/command_line.h"

#include <QString>
#include <QStringList>

#include <stdexcept>

namespace dorodure {

// A report command line that cannot be run; the message says why.
using ReportUsageError = UsageError;

// What `dorodure-cli report` was asked to do.
struct ReportCommand {
    enum class Mode { List, Overview, Downloads };
    Mode mode = Mode::List;
    // List and Overview: the request after the date and time rules of the
    // advanced view. createPdf is left for the caller (the SecureReports
    // setting for lists; always set for overviews).
    ReportRequest request;
    bool pdf = false;  // Downloads: list the ".pdf" reports
};

// The usage text of the report command.
QString reportCommandUsage();

// Reads the arguments after "report":
//   list --site NAME --from "YYYY-MM-DD hh:mm" --to "YYYY-MM-DD hh:mm" [--sort] [--point ID]
//   overview --site NAME --from YYYY-MM-DD --to YYYY-MM-DD [--night] [--point ID]
//   downloads --site NAME [--pdf]
// Options may also be written --name=VALUE. Throws ReportUsageError for a
// missing or malformed value or an argument it does not know.
ReportCommand parseReportCommand(QStringList args);

}  // namespace dorodure
