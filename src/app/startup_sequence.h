#pragma once

#include "shell/startup_checks.h"

#include <QDateTime>
#include <QString>

#include <vector>

namespace dorodure {

class AppServices;
class LinkHost;

// The files this release delivers into the program folder, in the order the
// integrity check takes them, with the MD5 digests of the shipped files.
const std::vector<VitalFile>& vitalFiles();

// What the start-up sequence shows in the main window.
class StartupView {
  public:
    virtual ~StartupView() = default;
    // Image1 of the baton panel shows this picture.
    virtual void showLogo(const QString& path) = 0;
    virtual void setDateLine(const QString& text) = 0;
    virtual void setStatusLine(const QString& text) = 0;
    // A line of the diagnostic text box (Memo1).
    virtual void addMemoLine(const QString& line) = 0;
    virtual void setTitle(const QString& title) = 0;
    // The captions of the language file just loaded.
    virtual void applyCaptions() = 0;
    virtual void enableSetupMenu() = 0;
    // Hides the panel "Working please wait..." over the four buttons.
    virtual void hideWorkingPanel() = 0;
    // Lets the window repaint between the slow steps.
    virtual void repaint() = 0;
};

// The main window's date line: "ddd dd mmmm yyyy  hh:nn.ss".
QString formatDateLine(const QDateTime& when);

// The one-time start-up sequence, run at the main window's first activation:
// settings, language defaults, version check, integrity check, language file,
// sites (a first site is asked for until one exists), preselections, the id
// table, the baton names and finally the communications thread.
class StartupSequence {
  public:
    enum class Result { Running, Closing };

    StartupSequence(AppServices& services, StartupView& view, LinkHost& host);

    // Runs every step; Closing when a check or a missing language file ends
    // the program (the communications thread is then not started).
    Result run();

    // The steps the sequence is made of, in order; each returns false when
    // the program must close.
    bool loadSettingsAndDefaults();
    bool versionCheck();
    bool integrityCheck();
    bool loadLanguage();
    void loadSites();
    void preselect();
    void startLink();

  private:
    void trace(const QString& message);

    AppServices& s_;
    StartupView& view_;
    LinkHost& host_;
};

}  // namespace dorodure
