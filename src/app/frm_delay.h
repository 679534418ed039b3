#pragma once

#include <QDialog>

class QSpinBox;
class QPushButton;

namespace dorodure {

class AppServices;

// The Port Setup window ("#" on the main window): the port number the
// program searches first at its next start.
class TfrmDelay final : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmDelay(AppServices& services, QWidget* parent = nullptr);

    QSpinBox* spinEdit() const { return spinEdit1_; }

    // "Ok": the CommPort setting (file and memory) and the port being probed
    // become the box's value, the activity log records it; the window closes.
    void accept() override;

  private:
    AppServices& s_;
    QSpinBox* spinEdit1_ = nullptr;
};

}  // namespace dorodure
