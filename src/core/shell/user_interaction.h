#pragma once

#include <QString>

#include <optional>

namespace dorodure {

// What the core asks of the user, and the feedback it gives while it works.
// The desktop program answers with dialogs; the command-line tool and the tests
// answer from a script and never block.
class UserInteraction {
  public:
    virtual ~UserInteraction() = default;

    // A message with an OK button (information or error).
    virtual void showMessage(const QString& text) = 0;
    // A yes/no question; true for yes.
    virtual bool confirm(const QString& text) = 0;
    // An input box with a title, a prompt and an empty default; nullopt on cancel.
    virtual std::optional<QString> askText(const QString& title, const QString& prompt) = 0;
    // Hands a file or web address to the desktop's associated program.
    virtual void openDocument(const QString& pathOrUrl) = 0;

    // Busy feedback of long operations: the busy panel and cursor, the status
    // line, the gauge. keepResponsive lets a window process its events.
    virtual void setBusy(bool /*busy*/) {}
    virtual void setStatus(const QString& /*text*/) {}
    virtual void setProgress(int /*value*/, int /*maximum*/) {}
    virtual void keepResponsive() {}
};

// Shows the busy state for the life of an operation, also when a file error
// ends it; with a status text, the status line shows it first.
class BusyScope {
  public:
    explicit BusyScope(UserInteraction& ui) : ui_(ui) { ui_.setBusy(true); }
    BusyScope(UserInteraction& ui, const QString& status) : BusyScope(ui) { ui_.setStatus(status); }
    ~BusyScope() { ui_.setBusy(false); }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    UserInteraction& ui_;
};

}  // namespace dorodure
