#pragma once

#include <QDialog>
#include <QString>

class QLineEdit;

namespace dorodure {

class AppServices;

// The id entry dialog of the checkpoint editor ("New IdButton"): a field of
// six letters or digits shown in upper case. "&Ok" or Enter gives the typed
// id with the letters that look like digits made digits (i, I, l, L are 1;
// o, O are 0) and a to f in upper case; "&Cancel" gives nothing.
class TfrmInputBox final : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmInputBox(AppServices& services, QWidget* parent = nullptr);

    // Shows the dialog with a blank field and waits; the id, or "" when it
    // was cancelled or closed by the station.
    QString ask();
    // An ID button read on the station closes the dialog: its field is
    // cleared and it gives no id.
    void closeFromStation();

    QLineEdit* field() const { return edit1_; }
    QString result() const { return result_; }

    void accept() override;
    void reject() override;

  private:
    void showUpperCase(const QString& text);

    AppServices& s_;
    QLineEdit* edit1_ = nullptr;
    QString result_;
};

}  // namespace dorodure
