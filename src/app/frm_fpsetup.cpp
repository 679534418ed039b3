#include "frm_fpsetup.h"

#include "app_services.h"
#include "captions.h"
#include "link/baton_requests.h"
#include "shell/file_error.h"
#include "shell/language_table.h"
#include "shell/user_interaction.h"
#include "sites/failed_patrol.h"
#include "sites/patrol_check.h"
#include "sites/site_store.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>
#include <QVBoxLayout>

namespace dorodure {

namespace {

constexpr int kTextStart = 52;
constexpr int kTextFinish = 53;
constexpr int kTextRest = 54;
constexpr int kTextBatons = 55;

QLabel* label(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QLineEdit* maskEdit(QWidget* parent, int number, const char* mask, const char* text) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QStringLiteral("MaskEdit%1").arg(number));
    e->setInputMask(QString::fromLatin1(mask));
    e->setText(QString::fromLatin1(text));
    return e;
}

QString fieldText(const QLineEdit* edit) {
    return edit->displayText().replace(u'_', u' ').trimmed();
}

}  // namespace

TfrmFPSetup::TfrmFPSetup(AppServices& services, QWidget* parent) : QDialog(parent), s_(services) {
    buildWindow();
    applyCaptions(this, s_.texts().loadedLines());
    tabChanged(0);
}

void TfrmFPSetup::buildWindow() {
    setObjectName(QStringLiteral("frmFPSetup"));
    setWindowTitle(QStringLiteral("Setup the failed patrol"));
    auto* layout = new QVBoxLayout(this);
    QLabel* intro = label(this, "Label5",
                          QStringLiteral("This is used to setup the failed patrol system. For "
                                         "more information on programming the failed patrol "
                                         "consult the help file"));
    intro->setWordWrap(true);
    layout->addWidget(intro);
    // "Site Name" followed by the line the language file sets: " wish to work with".
    auto* siteRow = new QHBoxLayout;
    siteRow->addWidget(label(this, "Label7", QStringLiteral("Site Name")));
    siteRow->addWidget(label(this, "Label3", QStringLiteral(" wish to work with")));
    siteRow->addStretch();
    layout->addLayout(siteRow);
    listBox1_ = new QListWidget(this);
    listBox1_->setObjectName(QStringLiteral("ListBox1"));
    layout->addWidget(listBox1_);
    tabControl1_ = new QTabBar(this);
    tabControl1_->setObjectName(QStringLiteral("TabControl1"));
    tabControl1_->addTab(QStringLiteral("Single Baton FP (Direru)"));
    tabControl1_->addTab(QStringLiteral("Multiple Baton FP (Vodovo)"));
    layout->addWidget(tabControl1_);
    layout->addWidget(buildFields());
    QLabel* warning = label(this, "Label6",
                            QStringLiteral("WARNING : pressing OK will erase all information in "
                                           "the Rozedava baton"));
    warning->setStyleSheet(QStringLiteral("color: red"));
    warning->setWordWrap(true);
    layout->addWidget(warning);
    layout->addLayout(buildButtons());
    connect(listBox1_, &QListWidget::itemClicked, this, [this] { button1_->setEnabled(true); });
    connect(tabControl1_, &QTabBar::currentChanged, this, &TfrmFPSetup::tabChanged);
}

// "&Ok" stays off until a site has been clicked.
QLayout* TfrmFPSetup::buildButtons() {
    button1_ = new QPushButton(QStringLiteral("&Ok"), this);
    button1_->setObjectName(QStringLiteral("Button1"));
    button1_->setEnabled(false);
    auto* cancel = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel->setObjectName(QStringLiteral("Button2"));
    connect(button1_, &QPushButton::clicked, this, &TfrmFPSetup::accept);
    connect(cancel, &QPushButton::clicked, this, &TfrmFPSetup::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(button1_);
    buttons->addWidget(cancel);
    return buttons;
}

QWidget* TfrmFPSetup::buildFields() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->addWidget(label(box, "Label1", QStringLiteral("Patrol Round Time in minutes")), 0, 0);
    maskEdit1_ = maskEdit(box, 1, "999;_", "015");
    grid->addWidget(maskEdit1_, 0, 1);
    label2_ = label(box, "Label2", QString());
    label4_ = label(box, "Label4", QString());
    // Only the hour of a start or finish time can be typed.
    maskEdit2_ = maskEdit(box, 2, "99\\h\\0\\0;_", "01h00");
    maskEdit3_ = maskEdit(box, 3, "99\\h\\0\\0;_", "01h00");
    maskEdit4_ = maskEdit(box, 4, "999;_", "010");
    maskEdit5_ = maskEdit(box, 5, "9;_", "1");
    grid->addWidget(label2_, 1, 0);
    grid->addWidget(maskEdit2_, 1, 1);
    grid->addWidget(maskEdit4_, 1, 1);
    grid->addWidget(label4_, 2, 0);
    grid->addWidget(maskEdit3_, 2, 1);
    grid->addWidget(maskEdit5_, 2, 1);
    normaliseOnLeaving(maskEdit1_, setupRoundTime);
    normaliseOnLeaving(maskEdit2_, setupHour);
    normaliseOnLeaving(maskEdit3_, setupHour);
    normaliseOnLeaving(maskEdit4_, setupRestTime);
    normaliseOnLeaving(maskEdit5_, setupBatons);
    return box;
}

void TfrmFPSetup::normaliseOnLeaving(QLineEdit* edit, QString (*rule)(const QString&)) {
    connect(edit, &QLineEdit::editingFinished, this,
            [edit, rule] { edit->setText(rule(edit->displayText().replace(u'_', u' '))); });
}

void TfrmFPSetup::tabChanged(int tab) {
    const bool single = tab == 0;
    label2_->setText(s_.texts().text(single ? kTextStart : kTextRest));
    label4_->setText(s_.texts().text(single ? kTextFinish : kTextBatons));
    maskEdit2_->setVisible(single);
    maskEdit3_->setVisible(single);
    maskEdit4_->setVisible(!single);
    maskEdit5_->setVisible(!single);
}

void TfrmFPSetup::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    listBox1_->clear();
    listBox1_->addItems(s_.sites().sites());
    button1_->setEnabled(false);
}

FailedPatrolRequest TfrmFPSetup::request(const QString& site) const {
    const int tab = tabControl1_->currentIndex();
    return FailedPatrolRequest{
        site,
        tab == 0 ? FailedPatrolUnit::SingleBaton : FailedPatrolUnit::MultipleBaton,
        QString::number(tab),
        fieldText(maskEdit1_),
        fieldText(maskEdit4_),
        fieldText(maskEdit5_),
        maskEdit2_->displayText(),
        maskEdit3_->displayText()};
}

void TfrmFPSetup::accept() {
    QListWidgetItem* site = listBox1_->currentItem();
    if (site == nullptr) {
        return;
    }
    FailedPatrolOutcome out;
    try {
        out = programFailedPatrol(request(site->text()), s_.sites(), s_.activityLog(), s_.texts(),
                                  s_.clock());
    } catch (const FileError& e) {
        s_.ui().showMessage(e.message());
        return;
    }
    using Kind = FailedPatrolOutcome::Kind;
    if (out.kind == Kind::Programmed) {
        s_.requests().queueBlock(out.block);
    } else {
        s_.ui().showMessage(out.message);
    }
    if (out.kind == Kind::Programmed || out.kind == Kind::NoCheckpointList) {
        QDialog::accept();
    }
}

}  // namespace dorodure
