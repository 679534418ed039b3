#pragma once

#include "shell/user_interaction.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <optional>

namespace dorodure::test {

// A fresh, empty data folder that is removed after the test.
class TempDataFolder {
  public:
    TempDataFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const;
    // Creates a subfolder (and its parents).
    QString mkdir(const QString& name) const;

  private:
    QTemporaryDir dir_;
};

// Writes raw bytes to a file, creating the parent folder.
void writeBytes(const QString& path, const QByteArray& bytes);
// Writes lines with CR LF after each.
void writeCrlfLines(const QString& path, const QStringList& lines);
QByteArray readBytes(const QString& path);
// The lines of a CR LF file (asserts nothing: a missing file gives none).
QStringList readCrlfLines(const QString& path);
// Joins lines with CR LF after each.
QByteArray crlf(const QStringList& lines);

// Answers the core's questions from a script and records what it was told.
class ScriptedInteraction : public UserInteraction {
  public:
    std::deque<bool> confirmAnswers;                 // default: false
    std::deque<std::optional<QString>> textAnswers;  // default: cancel
    QStringList messages;
    QStringList opened;
    QStringList questions;

    void showMessage(const QString& text) override { messages << text; }
    bool confirm(const QString& text) override;
    std::optional<QString> askText(const QString& title, const QString& prompt) override;
    void openDocument(const QString& pathOrUrl) override { opened << pathOrUrl; }
};

}  // namespace dorodure::test
