#include "frm_sitedel.h"

#include "app_services.h"
#include "captions.h"
#include "shell/language_table.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace dorodure {

namespace {

const char* const kWarningLines[] = {
    "You are atempting to remove a site ",  "which has valid data. If you are sure ",
    "you want to do this please type the ", "name of the site you wish to delete in ",
    "the box below and press Enter.",
};

}  // namespace

TfrmSiteDel::TfrmSiteDel(AppServices& services, QWidget* parent) : QDialog(parent), s_(services) {
    setObjectName(QStringLiteral("frmSiteDel"));
    setWindowTitle(QStringLiteral("Delete a Site"));
    auto* label1 = new QLabel(QStringLiteral("!!! WARNING !!!"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setStyleSheet(QStringLiteral("color: red; font-weight: bold"));
    memo1_ = new QPlainTextEdit(this);
    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setReadOnly(true);
    for (const char* line : kWarningLines) {
        memo1_->appendPlainText(QString::fromLatin1(line));
    }
    edit1_ = new QLineEdit(this);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    connect(edit1_, &QLineEdit::returnPressed, this, &TfrmSiteDel::enterPressed);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("Button1"));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &TfrmSiteDel::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1);
    layout->addWidget(memo1_);
    layout->addWidget(edit1_);
    layout->addWidget(cancel);
    applyCaptions(this, s_.texts().loadedLines());
}

std::optional<QString> TfrmSiteDel::askName() {
    typed_.reset();
    edit1_->clear();
    edit1_->setFocus();
    exec();
    return typed_;
}

void TfrmSiteDel::enterPressed() {
    typed_ = edit1_->text();
    accept();
}

}  // namespace dorodure
