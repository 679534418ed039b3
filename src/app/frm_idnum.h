#pragma once

#include <QDialog>

class QLineEdit;

namespace dorodure {

class AppServices;

// The id window (Setup, "&Id Number"): the four-character id the next baton
// on the station receives. Enter takes the entry, "~" takes it and numbers
// the batons that follow one by one, "&Ok" takes it and records it in the
// activity log, "&Cancel" withdraws a pending id.
class TfrmIdNum final : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmIdNum(AppServices& services, QWidget* parent = nullptr);

    QLineEdit* maskEdit() const { return maskEdit1_; }

    // "&Ok".
    void accept() override;
    // "&Cancel" (and the close box).
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Leaves the entry as the pending id, shows it in lblID and closes.
    void takeEntry(bool autoIncrement);

    AppServices& s_;
    QLineEdit* maskEdit1_ = nullptr;
};

}  // namespace dorodure
