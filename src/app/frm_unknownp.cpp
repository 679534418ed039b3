#include "frm_unknownp.h"

#include "app_services.h"
#include "shell/language_table.h"
#include "shell/user_interaction.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace dorodure {

namespace {

template <typename T>
T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

TfrmUnknownP::TfrmUnknownP(AppServices& services, QWidget* parent)
    : QDialog(parent), services_(services) {
    setObjectName(QStringLiteral("frmUnknownP"));
    setWindowTitle(QStringLiteral("Unknown checkpoints"));
    setModal(true);
    auto* label1 =
        named(new QLabel(QStringLiteral("Unknown checkpoints have been found"), this), "Label1");
    label1->setStyleSheet(QStringLiteral("font-weight: bold;"));
    auto* label2 =
        named(new QLabel(QStringLiteral("What must be done with them?"), this), "Label2");
    radio1_ =
        named(new QRadioButton(QStringLiteral("Place in existing site"), this), "RadioButton1");
    radio2_ = named(new QRadioButton(QStringLiteral("Place unknown checkpoints in new site"), this),
                    "RadioButton2");
    radio3_ =
        named(new QRadioButton(QStringLiteral("Ignore unknown checkpoints"), this), "RadioButton3");
    comboBox1_ = named(new QComboBox(this), "ComboBox1");
    auto* button1 = named(new QPushButton(QStringLiteral("&Ok "), this), "Button1");
    button1->setDefault(true);
    radio1_->setChecked(true);

    auto* site = new QHBoxLayout;
    site->addSpacing(24);
    site->addWidget(comboBox1_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button1);
    auto* main = new QVBoxLayout(this);
    for (QWidget* w : {static_cast<QWidget*>(label1), static_cast<QWidget*>(label2),
                       static_cast<QWidget*>(radio1_)}) {
        main->addWidget(w);
    }
    main->addLayout(site);
    main->addWidget(radio2_);
    main->addWidget(radio3_);
    main->addLayout(buttons);

    for (QRadioButton* radio : {radio1_, radio2_, radio3_}) {
        connect(radio, &QRadioButton::clicked, this, &TfrmUnknownP::RadioButtonClick);
    }
    connect(button1, &QPushButton::clicked, this, &TfrmUnknownP::Button1Click);
}

UnknownDecision TfrmUnknownP::ask(const QStringList& sites) {
    FormShow(sites);
    exec();
    return decision_;
}

void TfrmUnknownP::FormShow(const QStringList& sites) {
    decision_ = UnknownDecision{};
    comboBox1_->clear();
    comboBox1_->addItems(sites);
    comboBox1_->setCurrentIndex(sites.isEmpty() ? -1 : 0);
    RadioButtonClick();
}

void TfrmUnknownP::RadioButtonClick() {
    comboBox1_->setEnabled(radio1_->isChecked());
}

void TfrmUnknownP::Button1Click() {
    using Choice = UnknownDecision::Choice;
    if (radio1_->isChecked()) {
        const QString site = comboBox1_->currentText();
        if (site.isEmpty()) {
            const TLanguageTable& t = services_.texts();
            services_.ui().showMessage(t.text(32) + u'\r' + t.text(33) + u'\r' + t.text(34));
            return;
        }
        decision_ = {Choice::ExistingSite, site};
    } else if (radio2_->isChecked()) {
        decision_ = {Choice::NewSite, {}};
    } else {
        decision_ = {Choice::Ignore, {}};
    }
    accept();
}

void TfrmUnknownP::reject() {
    decision_ = UnknownDecision{};
    QDialog::reject();
}

}  // namespace dorodure
