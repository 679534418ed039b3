#include "frm_idnum.h"

#include "app_services.h"
#include "shell/activity_log.h"
#include "shell/file_error.h"
#include "shell/language_table.h"
#include "shell/user_interaction.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace dorodure {

TfrmIdNum::TfrmIdNum(AppServices& services, QWidget* parent) : QDialog(parent), s_(services) {
    setObjectName(QStringLiteral("frmIdNum"));
    setWindowTitle(QStringLiteral("Enter in Id Number to set"));
    auto* label1 = new QLabel(QStringLiteral("The New Id Number must be four digits"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    maskEdit1_ = new QLineEdit(this);
    maskEdit1_->setObjectName(QStringLiteral("MaskEdit1"));
    // One letter or digit, then three digits; the blanks show as "_".
    maskEdit1_->setInputMask(QStringLiteral("N999;_"));
    maskEdit1_->setText(s_.requests().idEntry());
    maskEdit1_->installEventFilter(this);
    auto* ok = new QPushButton(QStringLiteral("&Ok"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setAutoDefault(false);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("Button1"));
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &TfrmIdNum::accept);
    connect(cancel, &QPushButton::clicked, this, &TfrmIdNum::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1);
    layout->addWidget(maskEdit1_);
    layout->addLayout(buttons);
    // Fixed in size, yet as large as the captions of the language file need.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmIdNum::takeEntry(bool autoIncrement) {
    const QString entry = maskEdit1_->text();
    s_.requests().requestId(entry, autoIncrement);
    const QString caption = s_.texts().text(10) + u' ' + entry;
    s_.display().update([&caption](DisplaySnapshot& d) { d.lblID = caption; });
    QDialog::accept();
}

void TfrmIdNum::accept() {
    try {
        s_.activityLog().append(QStringLiteral("unknown"),
                                QStringLiteral("Id of Baton changed to ") + maskEdit1_->text());
    } catch (const FileError& e) {
        s_.ui().showMessage(e.message());
    }
    takeEntry(false);
}

void TfrmIdNum::reject() {
    s_.requests().cancelId();
    QDialog::reject();
}

bool TfrmIdNum::eventFilter(QObject* watched, QEvent* event) {
    if (watched == maskEdit1_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            takeEntry(false);
            return true;
        }
        if (key->text() == QStringLiteral("~")) {
            takeEntry(true);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace dorodure
