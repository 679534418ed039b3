// Step 3 of "Setup the check points": the patrol settings, their check
// against the failed-patrol unit, and "Program Next Baton".
#include "frm_points.h"

#include "app_services.h"
#include "link/baton_requests.h"
#include "shell/user_interaction.h"
#include "sites/failed_patrol.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dorodure {

namespace {

// What a masked field holds, its unfilled places as blanks.
QString maskedText(const QLineEdit* edit) {
    return edit->displayText().replace(u'_', u' ');
}

void setRed(QWidget* widget, bool red) {
    QPalette p = widget->palette();
    const QPalette normal = QApplication::palette(widget);
    p.setColor(QPalette::WindowText, red ? QColor(Qt::red) : normal.color(QPalette::WindowText));
    p.setColor(QPalette::Text, red ? QColor(Qt::red) : normal.color(QPalette::Text));
    widget->setPalette(p);
}

}  // namespace

void Tfrmpoints::connectPatrolFields() {
    std::vector<QLineEdit*> fields{roundEdit_, restEdit_, batonsEdit_};
    fields.insert(fields.end(), startEdits_.begin(), startEdits_.end());
    fields.insert(fields.end(), finishEdits_.begin(), finishEdits_.end());
    for (QLineEdit* field : fields) {
        connect(field, &QLineEdit::textChanged, this, &Tfrmpoints::patrolFieldChanged);
        connect(field, &QLineEdit::editingFinished, this,
                [this] { guarded([this] { editor_.save(); }); });
    }
    // Only the user's choice counts: refilling the list (a language file)
    // must not change the site's type.
    connect(comboBox2_, &QComboBox::activated, this, &Tfrmpoints::typeChosen);
}

void Tfrmpoints::typeChosen() {
    patrolFieldChanged();
    guarded([this] { editor_.save(); });
}

void Tfrmpoints::languageApplied() {
    showSettings();
    settingsCheck();
}

void Tfrmpoints::showSettings() {
    const bool wasLoading = loading_;
    loading_ = true;
    const TSiteSettings& s = editor_.settings();
    roundEdit_->setText(s.roundTime);
    restEdit_->setText(s.restTime);
    batonsEdit_->setText(s.numBatons);
    comboBox2_->setCurrentIndex(
        s.failedPatrolType >= 0 && s.failedPatrolType <= 2 ? s.failedPatrolType : 0);
    for (std::size_t day = 0; day < 7; ++day) {
        startEdits_[day]->setText(s.startTimes[day]);
        finishEdits_[day]->setText(s.finishTimes[day]);
    }
    loading_ = wasLoading;
}

TSiteSettings Tfrmpoints::settingsFromFields() const {
    TSiteSettings s;
    s.roundTime = maskedText(roundEdit_).trimmed();
    s.restTime = maskedText(restEdit_).trimmed();
    s.numBatons = maskedText(batonsEdit_).trimmed();
    s.failedPatrolType = comboBox2_->currentIndex() < 0 ? 0 : comboBox2_->currentIndex();
    for (std::size_t day = 0; day < 7; ++day) {
        s.startTimes[day] = maskedText(startEdits_[day]);
        s.finishTimes[day] = maskedText(finishEdits_[day]);
    }
    return s;
}

void Tfrmpoints::patrolFieldChanged() {
    if (loading_) {
        return;
    }
    editor_.setSettings(settingsFromFields());
    settingsCheck();
}

void Tfrmpoints::settingsCheck() {
    applyCheck(dorodure::settingsCheck(settingsFromFields()));
}

void Tfrmpoints::applyCheck(const PatrolCheck& check) {
    setRed(roundLabel_, check.roundTimeRed);
    setRed(roundEdit_, check.roundTimeRed);
    setRed(restLabel_, check.restTimeRed);
    setRed(restEdit_, check.restTimeRed);
    setRed(batonsLabel_, check.numBatonsRed);
    setRed(batonsEdit_, check.numBatonsRed);
    setRed(startLabel_, check.startRed[0]);
    setRed(finishLabel_, check.finishRed[0]);
    for (std::size_t day = 0; day < 7; ++day) {
        setRed(startEdits_[day], check.startRed[day]);
        setRed(finishEdits_[day], check.finishRed[day]);
    }
    label13_->setVisible(check.warningVisible);
    button6_->setVisible(check.warningVisible);
    button5_->setEnabled(check.programEnabled);
}

// A Step 3 button: changes the settings, shows them, saves the list.
void Tfrmpoints::changeSettings(const std::function<void(TSiteSettings&)>& change) {
    TSiteSettings s = settingsFromFields();
    change(s);
    editor_.setSettings(s);
    showSettings();
    settingsCheck();
    guarded([this] { editor_.save(); });
}

void Tfrmpoints::autoCorrectClick() {
    changeSettings([](TSiteSettings& s) { s = autoCorrect(s); });
}

void Tfrmpoints::allDaysTheSameClick() {
    changeSettings([](TSiteSettings& s) { allDaysTheSame(s); });
}

void Tfrmpoints::twentyFourHourClick() {
    changeSettings([](TSiteSettings& s) { twentyFourHourPatrols(s); });
}

void Tfrmpoints::programNextBatonClick() {
    const TSiteSettings s = settingsFromFields();
    if (editor_.selectedSite() < 0 || s.failedPatrolType < 1 || s.failedPatrolType > 2) {
        return;
    }
    const FailedPatrolRequest request{editor_.selectedSiteName(),
                                      FailedPatrolUnit(s.failedPatrolType),
                                      comboBox2_->currentText(),
                                      s.roundTime,
                                      s.restTime,
                                      s.numBatons,
                                      s.startTimes[0],
                                      s.finishTimes[0]};
    FailedPatrolOutcome out;
    if (guarded([&] {
            out =
                programFailedPatrol(request, s_.sites(), s_.activityLog(), s_.texts(), s_.clock());
        })) {
        programmed(out, s.roundTime);
    }
}

// The block goes to the next baton and the editor closes; a missing list
// closes it too; a value out of steps leaves it open.
void Tfrmpoints::programmed(const FailedPatrolOutcome& out, const QString& roundTime) {
    if (out.roundTime != roundTime) {
        roundEdit_->setText(out.roundTime);
    }
    using Kind = FailedPatrolOutcome::Kind;
    if (out.kind == Kind::Programmed) {
        s_.requests().queueBlock(out.block);
        closeEditor();
        return;
    }
    s_.ui().showMessage(out.message);
    if (out.kind == Kind::NoCheckpointList) {
        closeEditor();
    }
}

}  // namespace dorodure
