#pragma once

#include "shell/user_interaction.h"

#include <QElapsedTimer>
#include <QString>

#include <functional>
#include <optional>

class QWidget;

namespace dorodure {

// The desktop program's answers to the core's questions: message boxes, the
// yes/no confirmation, the input box and the desktop's associated programs.
// Busy feedback goes to sinks the main window sets (its status line, gauge
// and busy panel); keepResponsive lets the window repaint and take input
// while a long operation runs on the window thread.
class DialogInteraction final : public UserInteraction {
  public:
    struct Sinks {
        std::function<void(bool)> busy;
        std::function<void(const QString&)> status;
        std::function<void(int, int)> progress;
    };

    void showMessage(const QString& text) override;
    bool confirm(const QString& text) override;
    std::optional<QString> askText(const QString& title, const QString& prompt) override;
    void openDocument(const QString& pathOrUrl) override;

    void setBusy(bool busy) override;
    void setStatus(const QString& text) override;
    void setProgress(int value, int maximum) override;
    void keepResponsive() override;

    void setSinks(Sinks sinks) { sinks_ = std::move(sinks); }
    // The window dialogs are centred on; null: the active window.
    void setParentWidget(QWidget* parent) { parent_ = parent; }

    // Message texts join their lines with CR; a dialog shows them as lines.
    static QString forDialog(const QString& text);

  private:
    QWidget* parent() const;

    Sinks sinks_;
    QWidget* parent_ = nullptr;
    QElapsedTimer sinceEvents_;
    int busyDepth_ = 0;
};

}  // namespace dorodure
