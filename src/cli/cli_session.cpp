#include "cli_session.h"

#include "prefs/baton_names.h"
#include "processing/pdf/pdfprint.h"
#include "processing/unknown_checkpoints.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/file_error.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "shell/text_file.h"
#include "shell/trace_log.h"
#include "sites/site_store.h"

#include <QDir>
#include <QTextStream>

namespace dorodure::cli {

namespace {

void printError(const QString& text) {
    QTextStream err(stderr);
    err << text << Qt::endl;
}

// Texts may hold CR between their lines (as message boxes do).
QString forTerminal(const QString& text) {
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    out.replace(u'\r', u'\n');
    return out;
}

QStringList pdfTexts(const TLanguageTable& texts) {
    QStringList entries;
    for (int n = 1; n <= PdfPrint::kPdfTexts; ++n) {
        entries << texts.text(n);
    }
    return entries;
}

UnknownDecision parseUnknown(const QString& text) {
    if (text.isEmpty()) {
        return {};
    }
    const auto decision = FixedUnknownAsker::parse(text);
    if (!decision) {
        throw UsageError(
            QStringLiteral("--unknown: expected ignore, site:NAME or new:NAME, not \"%1\"")
                .arg(text));
    }
    return *decision;
}

}  // namespace

void NonInteractiveUi::showMessage(const QString& text) {
    messages_ << text;
    printError(forTerminal(text));
}

bool NonInteractiveUi::confirm(const QString& text) {
    messages_ << text;
    printError(forTerminal(text) + QStringLiteral(" -> no"));
    return false;
}

std::optional<QString> NonInteractiveUi::askText(const QString& title, const QString& prompt) {
    messages_ << prompt;
    printError(title + QStringLiteral(": ") + forTerminal(prompt) +
               QStringLiteral(" -> cancelled"));
    return std::nullopt;
}

void NonInteractiveUi::openDocument(const QString& /*pathOrUrl*/) {}

void NonInteractiveUi::setStatus(const QString& text) {
    if (statusSink_) {
        statusSink_(text);
    }
}

CliSession::CliSession(const Options& options) {
    ctx_.dataFolder = options.dataFolder.isEmpty() ? QDir::currentPath() : options.dataFolder;
    const UnknownDecision unknown = parseUnknown(options.unknown);
    if (options.clock) {
        clock_ = options.clock;
    } else {
        ownClock_ = std::make_unique<SystemClock>();
        clock_ = ownClock_.get();
    }
    const QString folder = ctx_.dataFolder;
    trace_ =
        std::make_unique<TTraceLog>(folder, TTraceLog::sessionStampFor(clock_->now()), *clock_);
    const auto traceMain = [this](const QString& line) { trace_->main(line); };
    settings_ = std::make_unique<TSettings>(textfile::join(folder, QStringLiteral("Dorodure.ini")));
    settings_->load(traceMain);
    texts_ = std::make_unique<TLanguageTable>();
    pdf_ = std::make_unique<PdfPrint>(*clock_);
    loadLanguage();
    sites_ = std::make_unique<TSiteStore>(folder, traceMain);
    sites_->loadSites();
    sites_->rebuildSiteIds();
    batonNames_ = std::make_unique<BatonNames>(folder);
    batonNames_->load();
    activityLog_ = std::make_unique<TActivityLog>(folder, *clock_);
    ui_ = std::make_unique<NonInteractiveUi>();
    unknownAsker_ = std::make_unique<FixedUnknownAsker>(unknown, ui_.get());

    ctx_.settings = settings_.get();
    ctx_.texts = texts_.get();
    ctx_.activityLog = activityLog_.get();
    ctx_.trace = trace_.get();
    ctx_.sites = sites_.get();
    ctx_.batonNames = batonNames_.get();
    ctx_.pdf = pdf_.get();
    ctx_.clock = clock_;
    ctx_.ui = ui_.get();
    ctx_.unknownAsker = unknownAsker_.get();
}

CliSession::~CliSession() = default;

// The built-in English texts serve when the language file is missing or
// corrupt: the command-line tool reports that and goes on.
void CliSession::loadLanguage() {
    const auto traceMain = [this](const QString& line) { trace_->main(line); };
    texts_->loadDefaults(traceMain);
    texts_->setPdfTextsSink([this](const QStringList& entries) { pdf_->SetPdfTexts(entries); });
    pdf_->SetPdfTexts(pdfTexts(*texts_));
    const QString file = settings_->values().languageFile;
    const QString path = textfile::join(ctx_.dataFolder, file);
    if (!textfile::exists(path)) {
        printError(QStringLiteral("Missing language file %1: using the built-in texts").arg(path));
        return;
    }
    const QString problem = texts_->loadLanguageFile(path, traceMain);
    if (!problem.isEmpty()) {
        printError(problem + QStringLiteral(": using the built-in texts"));
    }
}

Clock& CliSession::clock() {
    return *clock_;
}
TSettings& CliSession::settings() {
    return *settings_;
}
TLanguageTable& CliSession::texts() {
    return *texts_;
}
TSiteStore& CliSession::sites() {
    return *sites_;
}
TActivityLog& CliSession::activityLog() {
    return *activityLog_;
}
TTraceLog& CliSession::trace() {
    return *trace_;
}
BatonNames& CliSession::batonNames() {
    return *batonNames_;
}
PdfPrint& CliSession::pdf() {
    return *pdf_;
}
NonInteractiveUi& CliSession::ui() {
    return *ui_;
}
FixedUnknownAsker& CliSession::unknownAsker() {
    return *unknownAsker_;
}

void CliSession::takeCommonOptions(QStringList& args, Options& options) {
    if (auto unknown = takeOption(args, QStringLiteral("unknown"))) {
        options.unknown = *unknown;
        if (options.unknown.isEmpty()) {
            throw UsageError(QStringLiteral("--unknown needs a value"));
        }
    }
}

int CliSession::guarded(const QString& command, const std::function<int()>& body) {
    try {
        return body();
    } catch (const UsageError& e) {
        printError(command + QStringLiteral(": ") + QString::fromStdString(e.what()));
        return 2;
    } catch (const FileError& e) {
        printError(command + QStringLiteral(": ") + e.message());
        return 1;
    } catch (const std::exception& e) {
        printError(command + QStringLiteral(": ") + QString::fromStdString(e.what()));
        return 1;
    }
}

}  // namespace dorodure::cli
