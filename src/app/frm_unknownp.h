#pragma once

#include "processing/processing_context.h"

#include <QDialog>

class QComboBox;
class QRadioButton;

namespace dorodure {

class AppServices;

// "Unknown checkpoints": asks, during processing, what to do with clockings of
// ID buttons that no site holds. Closing it by the title bar ignores them.
class TfrmUnknownP : public QDialog, public UnknownCheckpointsAsker {
    Q_OBJECT
  public:
    explicit TfrmUnknownP(AppServices& services, QWidget* parent = nullptr);

    // Shows the window modally with the sites in ComboBox1 and returns the
    // choice. An existing site is only returned when one is chosen; a new site
    // carries no name (processing asks for it and creates the site).
    UnknownDecision ask(const QStringList& sites) override;

    // Opening: ComboBox1 gets the sites and shows the first.
    void FormShow(const QStringList& sites);
    // A radio button clicked: the site list takes input for the first choice only.
    void RadioButtonClick();
    // "&Ok": takes the choice and closes, or says that a site must be chosen.
    void Button1Click();
    // The choice the window closed with (ignore when closed by the title bar).
    const UnknownDecision& decision() const { return decision_; }

  protected:
    void reject() override;

  private:
    AppServices& services_;
    UnknownDecision decision_;
    QRadioButton* radio1_ = nullptr;
    QRadioButton* radio2_ = nullptr;
    QRadioButton* radio3_ = nullptr;
    QComboBox* comboBox1_ = nullptr;
};

}  // namespace dorodure
