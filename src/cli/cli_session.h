#pragma once

#include "processing/processing_context.h"
#include "shell/command_line.h"
#include "shell/user_interaction.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>

namespace dorodure {
class Clock;
class TSettings;
class TLanguageTable;
class TActivityLog;
class TTraceLog;
class TSiteStore;
class BatonNames;
class PdfPrint;
class FixedUnknownAsker;
}  // namespace dorodure

namespace dorodure::cli {

// A wrong command line: the message names what is wrong; exit code 2.
using dorodure::takeFlag;
using dorodure::takeOption;
using dorodure::UsageError;

// The command-line tool never asks: messages go to stderr, every question is
// answered "no" or cancelled, nothing is opened in a viewer. Status texts go
// to the status sink when one is set (the upload command prints them).
class NonInteractiveUi final : public UserInteraction {
  public:
    using StatusSink = std::function<void(const QString&)>;

    void showMessage(const QString& text) override;
    bool confirm(const QString& text) override;
    std::optional<QString> askText(const QString& title, const QString& prompt) override;
    void openDocument(const QString& pathOrUrl) override;
    void setStatus(const QString& text) override;

    void setStatusSink(StatusSink sink) { statusSink_ = std::move(sink); }
    // Every message shown so far, in order.
    const QStringList& messages() const { return messages_; }

  private:
    StatusSink statusSink_;
    QStringList messages_;
};

// The shared set-up of the subcommands, run in the data folder as the desktop
// program's start-up does: settings "Dorodure.ini", the language table with
// the file named by the LanguageFile setting (a missing or corrupt file is
// reported on stderr and the built-in texts serve), the site list (no site is
// created), the id table, the baton names, the PDF writer, the activity and
// trace logs, the clock, the non-interactive user interaction and the answer
// for unknown checkpoints.
class CliSession {
  public:
    struct Options {
        QString dataFolder;  // empty: the current folder
        // "ignore", "site:NAME" or "new:NAME"; empty: "ignore" (with the
        // DiscardUnknownCheckpoints setting on, processing never asks).
        QString unknown;
        Clock* clock = nullptr;  // null: the system clock
    };

    // Loads everything. Throws UsageError for a bad --unknown value and
    // FileError when a file of the data folder cannot be read or created.
    explicit CliSession(const Options& options);
    ~CliSession();
    CliSession(const CliSession&) = delete;
    CliSession& operator=(const CliSession&) = delete;

    ProcessingContext& context() { return ctx_; }
    QString dataFolder() const { return ctx_.dataFolder; }

    Clock& clock();
    TSettings& settings();
    TLanguageTable& texts();
    TSiteStore& sites();
    TActivityLog& activityLog();
    TTraceLog& trace();
    BatonNames& batonNames();
    PdfPrint& pdf();
    NonInteractiveUi& ui();
    FixedUnknownAsker& unknownAsker();

    // Takes the options every processing command accepts (--unknown) out of
    // args into options.
    static void takeCommonOptions(QStringList& args, Options& options);

    // Runs a subcommand body: a UsageError gives exit code 2, any other error
    // (FileError and the like) exit code 1, each with its message on stderr.
    static int guarded(const QString& command, const std::function<int()>& body);

  private:
    void loadLanguage();

    std::unique_ptr<Clock> ownClock_;
    Clock* clock_ = nullptr;
    std::unique_ptr<TSettings> settings_;
    std::unique_ptr<TLanguageTable> texts_;
    std::unique_ptr<TActivityLog> activityLog_;
    std::unique_ptr<TTraceLog> trace_;
    std::unique_ptr<TSiteStore> sites_;
    std::unique_ptr<BatonNames> batonNames_;
    std::unique_ptr<PdfPrint> pdf_;
    std::unique_ptr<NonInteractiveUi> ui_;
    std::unique_ptr<FixedUnknownAsker> unknownAsker_;
    ProcessingContext ctx_;
};

}  // namespace dorodure::cli
