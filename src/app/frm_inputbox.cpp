#include "frm_inputbox.h"

#include "app_services.h"
#include "captions.h"
#include "shell/language_table.h"
#include "sites/checkpoint_editor.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace dorodure {

namespace {
constexpr int kTextTitle = 35;
constexpr int kTextPrompt = 36;
}  // namespace

TfrmInputBox::TfrmInputBox(AppServices& services, QWidget* parent) : QDialog(parent), s_(services) {
    setObjectName(QStringLiteral("frmInputBox"));
    setWindowTitle(s_.texts().text(kTextTitle));
    auto* label1 = new QLabel(s_.texts().text(kTextPrompt), this);
    label1->setObjectName(QStringLiteral("Label1"));
    edit1_ = new QLineEdit(this);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    edit1_->setMaxLength(6);
    edit1_->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("[A-Za-z0-9]{0,6}")), edit1_));
    connect(edit1_, &QLineEdit::textEdited, this, &TfrmInputBox::showUpperCase);
    connect(edit1_, &QLineEdit::returnPressed, this, &TfrmInputBox::accept);
    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    for (QPushButton* b : {ok, cancel}) {
        b->setAutoDefault(false);
    }
    connect(ok, &QPushButton::clicked, this, &TfrmInputBox::accept);
    connect(cancel, &QPushButton::clicked, this, &TfrmInputBox::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1);
    layout->addWidget(edit1_);
    layout->addLayout(buttons);
    applyCaptions(this, s_.texts().loadedLines());
}

void TfrmInputBox::showUpperCase(const QString& text) {
    const int cursor = edit1_->cursorPosition();
    edit1_->setText(text.toUpper());
    edit1_->setCursorPosition(cursor);
}

QString TfrmInputBox::ask() {
    edit1_->clear();
    result_.clear();
    edit1_->setFocus();
    exec();
    return result_;
}

void TfrmInputBox::closeFromStation() {
    edit1_->clear();
    if (isVisible()) {
        reject();
    }
}

void TfrmInputBox::accept() {
    // The field shows upper case; what was typed is read as the id.
    result_ = normaliseTypedId(edit1_->text());
    QDialog::accept();
}

void TfrmInputBox::reject() {
    result_.clear();
    QDialog::reject();
}

}  // namespace dorodure
