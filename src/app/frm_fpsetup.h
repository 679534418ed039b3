#pragma once

#include "sites/failed_patrol.h"

#include <QDialog>

class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabBar;

namespace dorodure {

class AppServices;

// "Setup the failed patrol": programs the next baton on the station with a
// failed-patrol block built from a site's checkpoints and the values typed
// here, for a Single Baton unit (first tab: start and finish hour) or a
// Multiple Baton unit (second tab: rest time and number of batons).
class TfrmFPSetup final : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmFPSetup(AppServices& services, QWidget* parent = nullptr);

    // "&Ok": builds the block and leaves it for the next baton.
    void accept() override;

    QListWidget* siteList() const { return listBox1_; }
    QTabBar* tabs() const { return tabControl1_; }
    QLineEdit* roundEdit() const { return maskEdit1_; }
    QLineEdit* startEdit() const { return maskEdit2_; }
    QLineEdit* finishEdit() const { return maskEdit3_; }
    QLineEdit* restEdit() const { return maskEdit4_; }
    QLineEdit* batonsEdit() const { return maskEdit5_; }
    QPushButton* okButton() const { return button1_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildWindow();
    QWidget* buildFields();
    QLayout* buildButtons();
    void tabChanged(int tab);
    // What "&Ok" programs for a site: the tab's unit and this window's values.
    FailedPatrolRequest request(const QString& site) const;
    void normaliseOnLeaving(QLineEdit* edit, QString (*rule)(const QString&));

    AppServices& s_;
    QListWidget* listBox1_ = nullptr;
    QTabBar* tabControl1_ = nullptr;
    QLabel* label2_ = nullptr;
    QLabel* label4_ = nullptr;
    QLineEdit* maskEdit1_ = nullptr;  // round time
    QLineEdit* maskEdit2_ = nullptr;  // start hour (first tab)
    QLineEdit* maskEdit3_ = nullptr;  // finish hour (first tab)
    QLineEdit* maskEdit4_ = nullptr;  // rest time (second tab)
    QLineEdit* maskEdit5_ = nullptr;  // number of batons (second tab)
    QPushButton* button1_ = nullptr;
};

}  // namespace dorodure
