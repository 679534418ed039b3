#include "frm_delay.h"

#include "app_services.h"
#include "link/comms_thread.h"
#include "shell/activity_log.h"
#include "shell/file_error.h"
#include "shell/settings.h"
#include "shell/user_interaction.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace dorodure {

TfrmDelay::TfrmDelay(AppServices& services, QWidget* parent) : QDialog(parent), s_(services) {
    setObjectName(QStringLiteral("frmDelay"));
    setWindowTitle(QStringLiteral("Port Setup"));
    auto* label1 = new QLabel(QStringLiteral("Port number seclection,"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    auto* label2 = new QLabel(QStringLiteral("Needs program restart"), this);
    label2->setObjectName(QStringLiteral("Label2"));
    spinEdit1_ = new QSpinBox(this);
    spinEdit1_->setObjectName(QStringLiteral("SpinEdit1"));
    spinEdit1_->setRange(0, 250);
    spinEdit1_->setValue(0);
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(ok, &QPushButton::clicked, this, &TfrmDelay::accept);
    connect(cancel, &QPushButton::clicked, this, &TfrmDelay::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1);
    layout->addWidget(spinEdit1_);
    layout->addWidget(label2);
    layout->addLayout(buttons);
    // Fixed in size, yet as large as the captions of the language file need.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmDelay::accept() {
    const int port = spinEdit1_->value();
    try {
        SettingsValues values = s_.settings().values();
        values.commPort = port;
        s_.settings().setValues(values);
        s_.settings().writeKey(QStringLiteral("CommPort"), QString::number(port));
        if (TCommsThread* comms = s_.commsThread()) {
            comms->setPortNumber(port);
        }
        s_.activityLog().append(QStringLiteral("unknown"),
                                QStringLiteral("Set the Port Number to") + QString::number(port));
    } catch (const FileError& e) {
        s_.ui().showMessage(e.message());
    }
    QDialog::accept();
}

}  // namespace dorodure
