#pragma once

#include "prefs/preferences.h"

#include <QDialog>

#include <array>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QTreeWidget;

namespace dorodure {

class AppServices;

// "Preferences": the upload and report options, the report header, the file
// type, the language and the names of the batons.
class TfrmPref : public QDialog {
    Q_OBJECT
  public:
    // The Reports window's current choices (site, kind, shift), or nullopt.
    using ReportChoicesSource = std::function<std::optional<ReportDefaultChoices>()>;

    explicit TfrmPref(AppServices& services, QWidget* parent = nullptr);

    // Showing: every control from the settings, the language list and the
    // baton list.
    void FormShow();
    // "&Ok": writes the changes, reloads the settings, loads a newly chosen
    // language into every window, and closes. A settings file that cannot be
    // written keeps the window open.
    void Button1Click();
    // "&Cancel" (also Escape): closes without writing; the controls return to
    // the settings so that no later save takes up what was cancelled.
    void Button2Click();

    // The state of the controls as the OK action takes it.
    PreferenceChoices choices() const;

    void setReportChoicesSource(ReportChoicesSource source) { reportSource_ = std::move(source); }

  protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

  private:
    void buildOptions();
    void buildLists();
    void fillLanguages();
    void fillBatons();
    void batonSelected();
    void batonNameEdited(const QString& name);
    void discardClicked(bool checked);

    AppServices& services_;
    ReportChoicesSource reportSource_;
    std::array<QCheckBox*, 8> checks_{};
    QLineEdit* edit1_ = nullptr;
    QComboBox* comboBox1_ = nullptr;
    QListWidget* listBox1_ = nullptr;
    QTreeWidget* listView_ = nullptr;
    QLabel* label3_ = nullptr;
    QLineEdit* edit2_ = nullptr;
};

}  // namespace dorodure
