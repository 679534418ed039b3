#pragma once

#include "captions.h"
#include "prefs/preferences.h"
#include "reports/download_list.h"
#include "reports/report_view_state.h"
#include "reports/site_information.h"

#include <QDialog>

#include <functional>
#include <vector>

class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QTreeWidget;

namespace dorodure {

class AppServices;

// "Reports": asks for a report over stored data: a stored download report, a
// clocking list over a time window or an overview of shifts. Created once and
// shown modally; it keeps its choices, and each time it loses activation they
// become the defaults of the next start.
class TfrmNew : public QDialog, public LanguageAware {
    Q_OBJECT
  public:
    explicit TfrmNew(AppServices& services, QWidget* parent = nullptr);

    // Show: the start-up defaults (first time), the sites, "Remove duplicates".
    void FormShow();
    // Activation: "Create PDF report" from the settings, the kind's state and
    // the site.
    void FormActivate();
    // Deactivation: the Preferences save with this window's choices.
    void FormDeactivate();

    // Handlers of the controls.
    void Listbox1Change();
    void KindClick();
    void DateRulesClick();
    void Button1Click();
    void Button2Click();
    void CheckBox4Click();
    void ComboBox2Change(int entry);
    void HelpClick(const QString& helpFile);

    // The choices the Preferences save takes from this window.
    ReportDefaultChoices reportDefaults() const;
    ReportKind kind() const;
    bool advancedOpen() const { return advancedOpen_; }
    const std::vector<DownloadRow>& downloadRows() const { return rows_; }

    // Runs after a patrol separator was written to the site's checkpoint list
    // (the checkpoint editor reloads that site).
    void setSiteListWritten(std::function<void(const QString& site)> f) {
        siteListWritten_ = std::move(f);
    }

    void languageApplied() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // frm_new_layout.cpp
    void buildLayout();
    QWidget* buildSiteStep();
    QWidget* buildKindStep();
    QWidget* buildDateStep();
    QWidget* buildCreateStep();
    QWidget* buildSiteInformation();
    QWidget* buildAdvancedGroup();
    void connectControls();

    // frm_new.cpp
    void applyDefaults();
    void fillSites();
    QString selectedSite();
    void loadSite();
    void showSiteInformation(const SiteInformation& info);
    void reloadDownloadList();
    void applyKindState();
    void applyViewState(const KindViewState& s);
    void runDateRules();
    void trackBarMoved(QSlider* bar, QLineEdit* edit, int hour);
    void timeEdited(QLineEdit* edit, QSlider* bar);
    void openSelectedDownloads();
    void createRequestedReport();
    QString entryOr(int entry, const char* english) const;

    AppServices& services_;
    std::function<void(const QString&)> siteListWritten_;
    bool defaultsApplied_ = false;
    bool advancedOpen_ = false;
    bool rulesRunning_ = false;
    std::vector<DownloadRow> rows_;

    QComboBox* listbox1_ = nullptr;
    QRadioButton* radio_[5] = {};
    QPushButton* button1_ = nullptr;
    QPushButton* button2_ = nullptr;
    QGroupBox* groupBox4_ = nullptr;
    QCheckBox* checkBox1_ = nullptr;
    QCheckBox* checkBox2_ = nullptr;
    QCheckBox* checkBox3_ = nullptr;
    QCheckBox* checkBox4_ = nullptr;
    QComboBox* comboBox1_ = nullptr;
    QComboBox* comboBox2_ = nullptr;
    QLabel* label4_ = nullptr;
    QLabel* label35_ = nullptr;
    QCalendarWidget* calendar1_ = nullptr;
    QCalendarWidget* calendar2_ = nullptr;
    QLineEdit* maskEdit1_ = nullptr;
    QLineEdit* maskEdit2_ = nullptr;
    QSlider* trackBar1_ = nullptr;
    QSlider* trackBar2_ = nullptr;
    QLabel* label5_ = nullptr;
    QLabel* label2_ = nullptr;
    QTreeWidget* listView1_ = nullptr;
    QLabel* panel1_ = nullptr;
    QLabel* label6_ = nullptr;
    QLabel* lblPatSep_ = nullptr;
    QLabel* siteValues_[4] = {};  // points, round time, rest time, batons
    QLabel* dayTimes_[7] = {};    // start - finish per weekday
};

}  // namespace dorodure
