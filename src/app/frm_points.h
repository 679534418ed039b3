#pragma once

#include "captions.h"
#include "sites/checkpoint_editor.h"
#include "sites/failed_patrol.h"
#include "sites/patrol_check.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace dorodure {

class AppServices;
class TfrmInputBox;

// "Setup the check points": Step 1 the site list (create and delete sites),
// Step 2 the site's checkpoints (add by typing or by touching a button to the
// station, delete, move, name, patrol separator, View List), Step 3 the
// patrol settings and "Program Next Baton". Every change is saved to the
// site's checkpoint list at once; "&Back" (or Escape) closes the window.
//
// The window takes the station's ID buttons (AppServices::stationIdHandler)
// for as long as it exists, shown or not.
class Tfrmpoints final : public QDialog, public LanguageAware {
    Q_OBJECT
  public:
    explicit Tfrmpoints(AppServices& services, QWidget* parent = nullptr);
    ~Tfrmpoints() override;

    CheckpointEditor& editor() { return editor_; }
    TfrmInputBox& inputBox() { return *inputBox_; }

    // The report request's selected site, taken when the window opens
    // (-1 or unset: none).
    std::function<int()> reportSite;
    // Set once a site has been deleted: the program must end.
    bool programMustEnd() const { return programMustEnd_; }

    // An ID button read on the station (window thread).
    void stationIdRead(const QString& id);

    // Handlers, also used by the menus.
    void siteClicked(int index);
    void addClick();
    void deleteClick();
    void moveUpClick();
    void moveDownClick();
    void viewListClick();
    void createSiteClick();
    void deleteSiteClick();
    void separatorChosen(int index);
    void programNextBatonClick();
    void autoCorrectClick();
    void allDaysTheSameClick();
    void twentyFourHourClick();

    // "&Back", Escape and the close box: save, refresh the id table, hide.
    void reject() override;

    // A language file refilled the type list: show the site's type again.
    void languageApplied() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    // A command of the checkpoint rows: a button or a menu entry.
    struct RowCommand {
        const char* name;
        const char* text;
        void (Tfrmpoints::*handler)();
    };

    // Layout (frm_points_layout.cpp).
    void buildWindow();
    QWidget* buildStep1();
    QWidget* buildStep2();
    QWidget* buildCheckpointList(QWidget* parent);
    QLayout* buildRowButtons(QWidget* parent);
    QWidget* buildStep3();
    QLayout* buildPatrolButtons(QWidget* parent);
    QWidget* buildTimes();
    void connectControls();
    void connectPatrolFields();

    // Showing the editor's state.
    void primeSelection();
    void loadSelectedSite();
    void showSites();
    void showRows(int select = -1);
    void showCurrent(bool enableEdit);
    void rowChanged();
    void locationEdited(const QString& text);

    // Step 3 (frm_points_patrol.cpp).
    void showSettings();
    TSiteSettings settingsFromFields() const;
    void patrolFieldChanged();
    void typeChosen();
    void settingsCheck();
    void applyCheck(const PatrolCheck& check);
    void programmed(const FailedPatrolOutcome& out, const QString& roundTime);
    void changeSettings(const std::function<void(TSiteSettings&)>& change);

    // Runs an operation that may fail on a file; shows the error.
    bool guarded(const std::function<void()>& work);
    void closeEditor();

    AppServices& s_;
    CheckpointEditor editor_;
    // Not a child of this window, so that its controls never answer to this
    // window's control names.
    std::unique_ptr<TfrmInputBox> inputBox_;
    bool loading_ = false;
    bool primed_ = false;
    bool programMustEnd_ = false;

    QListWidget* listBox1_ = nullptr;
    QTreeWidget* listView_ = nullptr;
    QLabel* lblIdNum_ = nullptr;
    QLineEdit* edtLocation_ = nullptr;
    QComboBox* comboBox1_ = nullptr;
    QComboBox* comboBox2_ = nullptr;
    QLabel* label13_ = nullptr;
    QPushButton* button5_ = nullptr;
    QPushButton* button6_ = nullptr;
    QLineEdit* roundEdit_ = nullptr;   // MaskEdit1
    QLineEdit* restEdit_ = nullptr;    // MaskEdit4
    QLineEdit* batonsEdit_ = nullptr;  // MaskEdit5
    std::array<QLineEdit*, 7> startEdits_{};
    std::array<QLineEdit*, 7> finishEdits_{};
    std::array<QLabel*, 7> dayLabels_{};
    QLabel* roundLabel_ = nullptr;   // Label7
    QLabel* restLabel_ = nullptr;    // Label11
    QLabel* batonsLabel_ = nullptr;  // Label10
    QLabel* startLabel_ = nullptr;   // Label8
    QLabel* finishLabel_ = nullptr;  // Label9
};

}  // namespace dorodure
