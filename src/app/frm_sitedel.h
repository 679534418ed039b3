#pragma once

#include <QDialog>
#include <QString>

#include <optional>

class QLineEdit;
class QPlainTextEdit;

namespace dorodure {

class AppServices;

// "Delete a Site": asked before a site with checkpoints is deleted. The user
// types the site's name and presses Enter; "&Cancel" (or Escape) gives
// nothing. Either way the window closes.
class TfrmSiteDel final : public QDialog {
    Q_OBJECT
  public:
    explicit TfrmSiteDel(AppServices& services, QWidget* parent = nullptr);

    // Shows the window and waits; the name typed, or nullopt on cancel.
    std::optional<QString> askName();

    QLineEdit* field() const { return edit1_; }

  private:
    void enterPressed();

    AppServices& s_;
    QPlainTextEdit* memo1_ = nullptr;
    QLineEdit* edit1_ = nullptr;
    std::optional<QString> typed_;
};

}  // namespace dorodure
