#pragma once

#include "shell/system_check.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace dorodure {

class AppServices;

// "About": the version and build date, the local and online help, the serial
// set-up help and the system check. Created for each showing.
class TfrmAbout : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmAbout(AppServices& services, QWidget* parent = nullptr);

    // Activation: the texts of the language table, the big logo and the
    // activity-log entry.
    void FormActivate();
    // "Run check": the system check into Memo1.
    void Button2Click();
    // The help links and the serial set-up help.
    void Label9Click();
    void Label17Click();
    void Label15Click();
    void Label3Click();
    void Label2Click();
    void Label5Click();

    // The addresses of the maker's pages (tests point the check file elsewhere).
    void setSupportAddresses(const SupportAddresses& addresses) { addresses_ = addresses; }
    const SupportAddresses& supportAddresses() const { return addresses_; }

  protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildLayout();
    QLabel* linkLabel(const char* name, const QString& text);
    void openLocal(const QString& name);
    void openWeb(const QString& address);

    AppServices& services_;
    SupportAddresses addresses_;
    bool activated_ = false;
    QLabel* label1_ = nullptr;
    QLabel* lblVer_ = nullptr;
    QLabel* label11_ = nullptr;
    QLabel* image1_ = nullptr;
    QLabel* label5_ = nullptr;
    QGroupBox* groupBox1_ = nullptr;
    QPushButton* button2_ = nullptr;
    QPlainTextEdit* memo1_ = nullptr;
};

}  // namespace dorodure
