// The controls of "Setup the check points" and their wiring.
#include "frm_points.h"

#include "app_services.h"
#include "frm_inputbox.h"

#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace dorodure {

namespace {

QLabel* label(QWidget* parent, const char* name, const char* text) {
    auto* l = new QLabel(QString::fromLatin1(text), parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QPushButton* button(QWidget* parent, const char* name, const char* text) {
    auto* b = new QPushButton(QString::fromLatin1(text), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLineEdit* maskEdit(QWidget* parent, int number, const char* mask) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QStringLiteral("MaskEdit%1").arg(number));
    e->setInputMask(QString::fromLatin1(mask));
    e->setMaximumWidth(70);
    return e;
}

QAction* menuAction(QWidget* owner, const char* name, const char* text) {
    auto* a = new QAction(QString::fromLatin1(text), owner);
    a->setObjectName(QString::fromLatin1(name));
    owner->addAction(a);
    return a;
}

QGroupBox* group(QWidget* parent, const char* name, const char* title) {
    auto* g = new QGroupBox(QString::fromLatin1(title), parent);
    g->setObjectName(QString::fromLatin1(name));
    return g;
}

// Up to three digits; one digit; two hour digits, "h", two minute digits.
constexpr const char* kMinutesMask = "999;_";
constexpr const char* kDigitMask = "9;_";
constexpr const char* kTimeMask = "99\\h99;_";

const char* const kDayNames[] = {"Monday", "Tuesday",  "Wednsday", "Thursday",
                                 "Friday", "Saterday", "Sunday"};

}  // namespace

void Tfrmpoints::buildWindow() {
    setObjectName(QStringLiteral("frmpoints"));
    setWindowTitle(QStringLiteral("Setup the check points"));
    inputBox_ = std::make_unique<TfrmInputBox>(s_);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(buildStep1());
    layout->addWidget(buildStep2(), 1);
    layout->addWidget(buildStep3());
    connectControls();
    connectPatrolFields();
}

QWidget* Tfrmpoints::buildStep1() {
    QGroupBox* box = group(this, "GroupBox1", "Step 1");
    auto* v = new QVBoxLayout(box);
    v->addWidget(label(box, "Label1", "Chose the site you"));
    v->addWidget(label(box, "Label3", " wish to work with"));
    listBox1_ = new QListWidget(box);
    listBox1_->setObjectName(QStringLiteral("ListBox1"));
    listBox1_->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(menuAction(listBox1_, "Add2", "&Add"), &QAction::triggered, this,
            &Tfrmpoints::createSiteClick);
    connect(menuAction(listBox1_, "Delete2", "&Delete"), &QAction::triggered, this,
            &Tfrmpoints::deleteSiteClick);
    v->addWidget(listBox1_, 1);
    v->addWidget(label(box, "Label2", "or"));
    QPushButton* create = button(box, "Button2", "Create a New site");
    connect(create, &QPushButton::clicked, this, &Tfrmpoints::createSiteClick);
    v->addWidget(create);
    return box;
}

QWidget* Tfrmpoints::buildStep2() {
    QGroupBox* box = group(this, "GroupBox2", "Step 2");
    auto* v = new QVBoxLayout(box);
    v->addWidget(label(box, "Label4", "Select the point you want to work with"));
    v->addWidget(buildCheckpointList(box), 1);
    lblIdNum_ = label(box, "lblIdNum", "");
    lblIdNum_->setToolTip(QStringLiteral("This is the Curently selected Id Number"));
    edtLocation_ = new QLineEdit(box);
    edtLocation_->setObjectName(QStringLiteral("edtLocation"));
    edtLocation_->setToolTip(
        QStringLiteral("This is the curently selected Location name....Edit box"));
    edtLocation_->setEnabled(false);
    auto* current = new QHBoxLayout;
    current->addWidget(lblIdNum_);
    current->addWidget(edtLocation_, 1);
    v->addLayout(current);
    v->addLayout(buildRowButtons(box));
    QPushButton* back = button(box, "Button10", "&Back");
    connect(back, &QPushButton::clicked, this, &Tfrmpoints::reject);
    v->addWidget(back);
    return box;
}

// The checkpoint rows with their menu.
QWidget* Tfrmpoints::buildCheckpointList(QWidget* parent) {
    listView_ = new QTreeWidget(parent);
    listView_->setObjectName(QStringLiteral("ListView"));
    listView_->setColumnCount(3);
    listView_->setHeaderLabels(
        {QStringLiteral("#"), QStringLiteral("Id Number"), QStringLiteral("Location Name")});
    listView_->setRootIsDecorated(false);
    listView_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    listView_->setToolTip(
        QStringLiteral("To change a Checkpoint, click on the Id Number and write in the location "
                       "in the edit box"));
    listView_->setContextMenuPolicy(Qt::ActionsContextMenu);
    const RowCommand menu[] = {{"Add1", "&Add", &Tfrmpoints::addClick},
                               {"Delete1", "&Delete", &Tfrmpoints::deleteClick},
                               {"ViewList1", "&View List", &Tfrmpoints::viewListClick},
                               {"MoveUp1", "Move &Up", &Tfrmpoints::moveUpClick},
                               {"MoveDown1", "Move D&own", &Tfrmpoints::moveDownClick}};
    for (const RowCommand& c : menu) {
        connect(menuAction(listView_, c.name, c.text), &QAction::triggered, this, c.handler);
    }
    return listView_;
}

QLayout* Tfrmpoints::buildRowButtons(QWidget* parent) {
    const RowCommand buttons[] = {{"btnAdd", "&Add", &Tfrmpoints::addClick},
                                  {"btnDeleate", "&Delete", &Tfrmpoints::deleteClick},
                                  {"Button3", "Move &Up", &Tfrmpoints::moveUpClick},
                                  {"Button4", "Move D&own", &Tfrmpoints::moveDownClick},
                                  {"Button1", "&View List", &Tfrmpoints::viewListClick}};
    auto* grid = new QGridLayout;
    int n = 0;
    for (const RowCommand& c : buttons) {
        QPushButton* b = button(parent, c.name, c.text);
        connect(b, &QPushButton::clicked, this, c.handler);
        grid->addWidget(b, n / 2, n % 2);
        ++n;
    }
    parent->findChild<QPushButton*>(QStringLiteral("btnDeleate"))
        ->setToolTip(
            QStringLiteral("click on the Id button and then deleate to deleate a checkpoint"));
    return grid;
}

QWidget* Tfrmpoints::buildStep3() {
    QGroupBox* box = group(this, "GroupBox3", "Step 3");
    auto* grid = new QGridLayout(box);
    grid->addWidget(label(box, "Label5", "Select site specific options"), 0, 0, 1, 2);
    grid->addWidget(label(box, "Label6", "Patrol Seperator"), 1, 0);
    comboBox1_ = new QComboBox(box);
    comboBox1_->setObjectName(QStringLiteral("ComboBox1"));
    grid->addWidget(comboBox1_, 1, 1);
    roundLabel_ = label(box, "Label7", "Patrol Round Time in minutes");
    roundEdit_ = maskEdit(box, 1, kMinutesMask);
    restLabel_ = label(box, "Label11", "Patrol Rest Time in minutes");
    restEdit_ = maskEdit(box, 4, kMinutesMask);
    batonsLabel_ = label(box, "Label10", "Number of Batons");
    batonsEdit_ = maskEdit(box, 5, kDigitMask);
    comboBox2_ = new QComboBox(box);
    comboBox2_->setObjectName(QStringLiteral("ComboBox2"));
    comboBox2_->addItems(
        {QStringLiteral("none"), QStringLiteral("Single Baton"), QStringLiteral("Multiple Baton")});
    const std::pair<QWidget*, QWidget*> rows[] = {
        {roundLabel_, roundEdit_},
        {restLabel_, restEdit_},
        {batonsLabel_, batonsEdit_},
        {label(box, "Label12", "Failed Patrol type"), comboBox2_}};
    int row = 2;
    for (const auto& [l, field] : rows) {
        grid->addWidget(l, row, 0);
        grid->addWidget(field, row++, 1);
    }
    grid->addWidget(buildTimes(), row++, 0, 1, 2);
    label13_ = label(box, "Label13",
                     "Warning : Items in red cannot be programmed for the selected failed patrol "
                     "unit");
    label13_->setStyleSheet(QStringLiteral("color: red"));
    label13_->setWordWrap(true);
    label13_->setVisible(false);
    grid->addWidget(label13_, row++, 0, 1, 2);
    grid->addLayout(buildPatrolButtons(box), row, 0, 1, 2);
    return box;
}

// "All Days the Same", "24 Hour Patrols", "AutoCorrect" (shown only when
// something is red) and "Program Next Baton".
QLayout* Tfrmpoints::buildPatrolButtons(QWidget* parent) {
    auto* grid = new QGridLayout;
    QPushButton* same = button(parent, "Button8", "All Days the Same");
    QPushButton* allDay = button(parent, "Button9", "24 Hour Patrols");
    button6_ = button(parent, "Button6", "AutoCorrect");
    button6_->setStyleSheet(QStringLiteral("color: red"));
    button6_->setVisible(false);
    button5_ = button(parent, "Button5", "Program Next Baton");
    grid->addWidget(same, 0, 0);
    grid->addWidget(allDay, 0, 1);
    grid->addWidget(button6_, 1, 0);
    grid->addWidget(button5_, 1, 1);
    connect(same, &QPushButton::clicked, this, &Tfrmpoints::allDaysTheSameClick);
    connect(allDay, &QPushButton::clicked, this, &Tfrmpoints::twentyFourHourClick);
    connect(button6_, &QPushButton::clicked, this, &Tfrmpoints::autoCorrectClick);
    connect(button5_, &QPushButton::clicked, this, &Tfrmpoints::programNextBatonClick);
    return grid;
}

// The patrol time window: one column per weekday with its start and finish.
QWidget* Tfrmpoints::buildTimes() {
    auto* box = new QWidget(this);
    auto* grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(label(box, "Label14", "Patrol Time Window"), 0, 0, 1, 8);
    startLabel_ = label(box, "Label8", "Patrol Start Time");
    finishLabel_ = label(box, "Label9", "Patrol Finish time");
    grid->addWidget(startLabel_, 2, 0);
    grid->addWidget(finishLabel_, 3, 0);
    // Monday is MaskEdit2 and 3; Tuesday to Sunday are 6 and 7, 8 and 9, ...
    for (int day = 0; day < 7; ++day) {
        const QByteArray name = "Label" + QByteArray::number(15 + day);
        dayLabels_[std::size_t(day)] = label(box, name.constData(), kDayNames[day]);
        const int first = day == 0 ? 2 : 4 + 2 * day;
        startEdits_[std::size_t(day)] = maskEdit(box, first, kTimeMask);
        finishEdits_[std::size_t(day)] = maskEdit(box, first + 1, kTimeMask);
        grid->addWidget(dayLabels_[std::size_t(day)], 1, day + 1);
        grid->addWidget(startEdits_[std::size_t(day)], 2, day + 1);
        grid->addWidget(finishEdits_[std::size_t(day)], 3, day + 1);
    }
    return box;
}

void Tfrmpoints::connectControls() {
    connect(listBox1_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!loading_) {
            siteClicked(row);
        }
    });
    connect(listView_, &QTreeWidget::itemClicked, this, [this] { showCurrent(true); });
    connect(listView_, &QTreeWidget::currentItemChanged, this, [this] { rowChanged(); });
    connect(edtLocation_, &QLineEdit::textEdited, this, &Tfrmpoints::locationEdited);
    connect(edtLocation_, &QLineEdit::editingFinished, this,
            [this] { guarded([this] { editor_.save(); }); });
    connect(comboBox1_, &QComboBox::activated, this, &Tfrmpoints::separatorChosen);
}

}  // namespace dorodure
