#pragma once

#include "captions.h"
#include "startup_sequence.h"

#include <QMainWindow>

#include <cstdint>
#include <memory>

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

namespace dorodure {

class AppServices;
class AppLinkHost;
class LedWidget;
class Tfrmpoints;
class TfrmNew;
class TfrmPref;
class TfrmUnknownP;
struct DisplaySnapshot;

// The main window: the baton on the station, the progress of the running
// operation and the doors to the program's other windows. It runs the
// start-up sequence at its first showing and the shutdown when it closes, and
// shows what the communications thread publishes in the display state without
// touching the thread.
class TfrmMain final : public QMainWindow, public LanguageAware, private StartupView {
    Q_OBJECT
  public:
    static constexpr int kNormalWidth = 429;
    static constexpr int kWideWidth = 663;
    static constexpr int kHeight = 312;
    static constexpr int kMenuHeight = 20;

    explicit TfrmMain(AppServices& services, QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The start-up sequence; runs once (the first showing queues it).
    void runStartup();
    bool startupDone() const { return startupDone_; }
    bool startupFailed() const { return startupFailed_; }
    AppLinkHost& linkHost() { return *host_; }

    // Brings the window back from the task bar and to the front.
    void restoreAndRaise();

    // After a language file: the "Failed Patrol" entry is shown.
    void languageApplied() override;

    // Timer2: status line, date line (red while a record block waits), and
    // the close request.
    void onTimer2();
    // Shows the latest display state of the baton link.
    void refreshDisplay();

    // --- Actions of the buttons, the menus and the hidden keys ---
    void openReports();
    void openCheckpoints();
    void openPreferences();
    void openAbout();
    void openIdNumber();
    void openFailedPatrol();
    void openLogViewer();
    void openPortSetup();
    void importRaw();
    void processChosenFile();
    void addNewSite();
    void openHelp();
    void toggleMenuBar();
    void toggleWideLayout();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // StartupView.
    void showLogo(const QString& path) override;
    void setDateLine(const QString& text) override;
    void setStatusLine(const QString& text) override;
    void addMemoLine(const QString& line) override;
    void setTitle(const QString& title) override;
    void applyCaptions() override;
    void enableSetupMenu() override;
    void hideWorkingPanel() override;
    void repaint() override;

    void buildControls();
    void buildBatonPanel(QWidget* central);
    void buildStatusPanel(QWidget* central);
    void buildButtons(QWidget* central);
    void buildMenus();
    QAction* addMenuAction(QMenu* menu, const char* name, const QString& caption,
                           void (TfrmMain::*slot)());
    void connectSinks();

    // A hidden key; true when it was one.
    bool handleKey(const QString& text);
    void trackSuperstition(const QString& text);
    void setSuperstitious(bool on);
    void showSnapshotBaton(const DisplaySnapshot& d);
    void showSnapshotStatus(const DisplaySnapshot& d);
    void setProcessing(bool running);
    // The windows that live as long as the main window (the checkpoint
    // editor must exist for buttons touched to the station to reach it).
    void createWindows();
    // Guards an action against running inside a processing run.
    bool idle() const;

    AppServices& s_;
    std::unique_ptr<AppLinkHost> host_;
    std::unique_ptr<Tfrmpoints> points_;
    std::unique_ptr<TfrmNew> reports_;
    std::unique_ptr<TfrmPref> prefs_;
    std::unique_ptr<TfrmUnknownP> unknown_;
    bool startupQueued_ = false;
    bool startupDone_ = false;
    bool startupFailed_ = false;
    bool closing_ = false;
    int processingDepth_ = 0;
    int superstitionIndex_ = 0;
    std::uint64_t shownChange_ = ~std::uint64_t{0};
    std::uint64_t restoreSeen_ = 0;
    std::uint64_t beepsSeen_ = 0;

    QLabel* lblDateTime_ = nullptr;
    QLabel* label1_ = nullptr;
    QLabel* label3_ = nullptr;
    QGroupBox* groupBox1_ = nullptr;
    QLabel* lblID_ = nullptr;
    QLabel* lblVer_ = nullptr;
    QLabel* lblDate_ = nullptr;
    QLabel* lblTime_ = nullptr;
    LedWidget* led_ = nullptr;
    QLabel* image1_ = nullptr;
    QGroupBox* groupBox3_ = nullptr;
    QLabel* lblStatus_ = nullptr;
    QProgressBar* gauge1_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* lblExtra_ = nullptr;
    QLabel* lblUsb_ = nullptr;
    QLabel* panel1_ = nullptr;
    QPlainTextEdit* memo1_ = nullptr;
    QMenu* setupMenu_ = nullptr;
    QAction* failedPatrol_ = nullptr;
    QTimer* timer2_ = nullptr;
    QTimer* displayTimer_ = nullptr;
};

}  // namespace dorodure
