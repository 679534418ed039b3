#pragma once

#include "reports/log_viewer.h"

#include <QDialog>

#include <functional>
#include <vector>

class QPushButton;
class QTreeWidget;

namespace dorodure {

class AppServices;

// "Log File": the activity log month by month and the admin report of the
// chosen lines. The main window creates it for each showing.
class TfrmLogFile : public QDialog {
    Q_OBJECT
  public:
    // Asks for the admin report's file name; "" when the user cancels.
    using SaveFileChooser = std::function<QString(QWidget* parent, const QString& folder)>;

    explicit TfrmLogFile(AppServices& services, QWidget* parent = nullptr);

    // Show: the month list.
    void FormShow();
    // Mouse released over the month list: the lines of the selected months.
    void ListView1MouseUp();
    // "&Save / Print": the admin report.
    void Button1Click();

    void setSaveFileChooser(SaveFileChooser chooser) { chooser_ = std::move(chooser); }

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    std::vector<LogEntryRow> rowsToExport();
    void fitActionColumn();

    AppServices& services_;
    SaveFileChooser chooser_;
    QTreeWidget* listView1_ = nullptr;
    QTreeWidget* listView2_ = nullptr;
    QPushButton* button1_ = nullptr;
};

}  // namespace dorodure
