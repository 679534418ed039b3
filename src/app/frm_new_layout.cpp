// The controls of the Reports window and where they sit: the steps of a
// request on the left, the dates and the download list in the middle, the
// site information on the right and the advanced settings below.
#include "frm_new.h"

#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace dorodure {

namespace {

template <typename T>
T* named(T* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const char* text) {
    auto* l = named(new QLabel(QString::fromLatin1(text), parent), name);
    return l;
}

QLabel* hint(QWidget* parent, const char* name, const char* text) {
    QLabel* l = label(parent, name, text);
    l->setStyleSheet(QStringLiteral("color: gray;"));
    return l;
}

QGroupBox* group(QWidget* parent, const char* name, const char* title) {
    return named(new QGroupBox(QString::fromLatin1(title), parent), name);
}

QToolButton* helpMark(QWidget* parent, const char* name) {
    auto* b = named(new QToolButton(parent), name);
    b->setText(QStringLiteral("?"));
    return b;
}

QLineEdit* timeEdit(QWidget* parent, const char* name) {
    auto* e = named(new QLineEdit(parent), name);
    e->setInputMask(QStringLiteral("99\\h99;_"));
    e->setText(QStringLiteral("12h00"));
    e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("00h00")) + 24);
    return e;
}

QSlider* trackBar(QWidget* parent, const char* name) {
    auto* s = named(new QSlider(Qt::Horizontal, parent), name);
    s->setRange(0, 23);
    s->setValue(12);
    s->setTickPosition(QSlider::TicksBelow);
    return s;
}

}  // namespace

QWidget* TfrmNew::buildSiteStep() {
    QGroupBox* box = group(this, "GroupBox7", "Step 1");
    auto* l = new QVBoxLayout(box);
    auto* caption = new QHBoxLayout;
    caption->addWidget(label(box, "Label14", "Site in question"));
    caption->addWidget(hint(box, "Label20", " wish to work with"));
    caption->addStretch();
    l->addLayout(caption);
    listbox1_ = named(new QComboBox(box), "Listbox1");
    l->addWidget(listbox1_);
    return box;
}

QWidget* TfrmNew::buildKindStep() {
    QGroupBox* box = group(this, "GroupBox2", "Step 2");
    auto* g = new QGridLayout(box);
    auto* caption = new QHBoxLayout;
    caption->addWidget(label(box, "Label8", "Type of report"));
    caption->addWidget(hint(box, "Label34", "report to create"));
    caption->addStretch();
    g->addLayout(caption, 0, 0, 1, 3);
    const char* radios[] = {"Report by download", "Clocking list Report", "Overview Report"};
    const char* names[] = {"RadioButton1", "RadioButton2", "RadioButton3"};
    const char* helps[] = {"HelpDownload", "HelpList", "HelpOverview"};
    const char* hints[][2] = {
        {"Label22", "Report of data by "},      {"Label23", "Batons downloaded"},
        {"Label24", "Report of data from"},     {"Label25", "and to custom dates"},
        {"Label26", "Exception report useing"}, {"Label27", "site information"}};
    for (int i = 0; i < 3; ++i) {
        radio_[i] = named(new QRadioButton(QString::fromLatin1(radios[i]), box), names[i]);
        g->addWidget(radio_[i], 1 + 2 * i, 0);
        g->addWidget(helpMark(box, helps[i]), 1 + 2 * i, 2);
        auto* h = new QHBoxLayout;
        h->addSpacing(20);
        h->addWidget(hint(box, hints[2 * i][0], hints[2 * i][1]));
        h->addWidget(hint(box, hints[2 * i + 1][0], hints[2 * i + 1][1]));
        h->addStretch();
        g->addLayout(h, 2 + 2 * i, 0, 1, 3);
    }
    radio_[3] =
        named(new QRadioButton(QStringLiteral("Overview report day shift"), box), "RadioButton4");
    radio_[4] =
        named(new QRadioButton(QStringLiteral("Overview report night shift"), box), "RadioButton5");
    auto* shifts = new QHBoxLayout;
    shifts->addSpacing(20);
    shifts->addWidget(radio_[3]);
    shifts->addWidget(radio_[4]);
    shifts->addStretch();
    g->addLayout(shifts, 7, 0, 1, 3);
    // The kinds and the shifts are two separate choices.
    auto* kinds = new QButtonGroup(box);
    auto* shiftGroup = new QButtonGroup(box);
    for (int i = 0; i < 5; ++i) {
        (i < 3 ? kinds : shiftGroup)->addButton(radio_[i]);
    }
    g->setColumnStretch(1, 1);
    return box;
}

QWidget* TfrmNew::buildDateStep() {
    QGroupBox* box = group(this, "GroupBox3", "Step 3");
    auto* g = new QGridLayout(box);
    g->addWidget(label(box, "Label1", "Select the date and time of the report"), 0, 0, 1, 2);
    label5_ = label(box, "Label5", "From");
    label2_ = label(box, "Label2", "to");
    calendar1_ = named(new QCalendarWidget(box), "MonthCalendar1");
    calendar2_ = named(new QCalendarWidget(box), "MonthCalendar2");
    maskEdit1_ = timeEdit(box, "MaskEdit1");
    maskEdit2_ = timeEdit(box, "MaskEdit2");
    trackBar1_ = trackBar(box, "TrackBar1");
    trackBar2_ = trackBar(box, "TrackBar2");
    g->addWidget(label5_, 1, 0);
    g->addWidget(calendar1_, 2, 0);
    auto* from = new QHBoxLayout;
    from->addWidget(maskEdit1_);
    from->addWidget(trackBar1_, 1);
    g->addLayout(from, 3, 0);
    g->addWidget(label2_, 1, 1);
    g->addWidget(calendar2_, 2, 1);
    auto* to = new QHBoxLayout;
    to->addWidget(maskEdit2_);
    to->addWidget(trackBar2_, 1);
    g->addLayout(to, 3, 1);
    listView1_ = named(new QTreeWidget(box), "ListView1");
    listView1_->setHeaderLabels({QStringLiteral("Date"), QStringLiteral("Time")});
    listView1_->setRootIsDecorated(false);
    listView1_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    listView1_->setMinimumHeight(200);
    listView1_->setColumnWidth(0, 120);
    g->addWidget(listView1_, 4, 0, 1, 2);
    return box;
}

QWidget* TfrmNew::buildCreateStep() {
    QGroupBox* box = group(this, "GroupBox6", "Step 5");
    auto* l = new QVBoxLayout(box);
    l->addWidget(label(box, "Label19", "Create your report"));
    auto* buttons = new QHBoxLayout;
    button1_ = named(new QPushButton(QStringLiteral("Advanced"), box), "Button1");
    button2_ = named(new QPushButton(QStringLiteral("Create/Open"), box), "Button2");
    button2_->setDefault(true);
    buttons->addWidget(button1_);
    buttons->addStretch();
    buttons->addWidget(button2_);
    l->addLayout(buttons);
    label6_ = label(box, "Label6", "Secure reporting is off");
    label6_->setStyleSheet(QStringLiteral("color: red;"));
    l->addWidget(label6_);
    panel1_ = label(box, "Panel1", "Working please wait...");
    panel1_->setAlignment(Qt::AlignCenter);
    panel1_->setFrameShape(QFrame::Panel);
    panel1_->setStyleSheet(QStringLiteral("font-weight: bold; padding: 6px;"));
    panel1_->hide();
    l->addWidget(panel1_);
    return box;
}

QWidget* TfrmNew::buildSiteInformation() {
    auto* box = named(new QFrame(this), "SiteInformation");
    box->setFrameShape(QFrame::StyledPanel);
    auto* g = new QGridLayout(box);
    QLabel* heading = label(box, "Label21", "Site Information");
    heading->setStyleSheet(QStringLiteral("font-weight: bold;"));
    g->addWidget(heading, 0, 0, 1, 3);
    const char* captions[][2] = {{"Label15", "Amount of points :"},
                                 {"Label9", "Patrol Round Time :"},
                                 {"Label11", "Patrol Rest Time :"},
                                 {"Label13", "Number of Batons :"}};
    for (int i = 0; i < 4; ++i) {
        g->addWidget(label(box, captions[i][0], captions[i][1]), 1 + i, 0);
        siteValues_[i] = new QLabel(box);
        g->addWidget(siteValues_[i], 1 + i, 1, 1, 2);
    }
    g->addWidget(label(box, "Label16", "Patrol Time Window"), 5, 0, 1, 3);
    g->addWidget(label(box, "Label10", "Start Time :"), 6, 1);
    g->addWidget(label(box, "Label12", "Finish time :"), 6, 2);
    const char* days[][2] = {{"Label37", "Mon"}, {"Label38", "Tue"}, {"Label39", "Wed"},
                             {"Label40", "Thu"}, {"Label41", "Fri"}, {"Label42", "Sat"},
                             {"Label43", "Sun"}};
    for (int d = 0; d < 7; ++d) {
        g->addWidget(label(box, days[d][0], days[d][1]), 7 + d, 0);
        dayTimes_[d] = new QLabel(box);
        g->addWidget(dayTimes_[d], 7 + d, 1, 1, 2);
    }
    lblPatSep_ = label(box, "lblPatSep", "(000000) Patrol Seperator");
    g->addWidget(lblPatSep_, 14, 0, 1, 3);
    QLabel* modify =
        hint(box, "Label17", "Some of these settings can be modified by clicking here");
    modify->setWordWrap(true);
    g->addWidget(modify, 15, 0, 1, 3);
    g->setRowStretch(16, 1);
    return box;
}

QWidget* TfrmNew::buildAdvancedGroup() {
    groupBox4_ = group(this, "GroupBox4", "Advanced settings");
    auto* g = new QGridLayout(groupBox4_);
    checkBox4_ = named(new QCheckBox(QStringLiteral("Create PDF report"), groupBox4_), "CheckBox4");
    checkBox3_ = named(new QCheckBox(QStringLiteral("Remove duplicates"), groupBox4_), "CheckBox3");
    checkBox1_ =
        named(new QCheckBox(QStringLiteral("Sort by checkpoints"), groupBox4_), "CheckBox1");
    checkBox2_ = named(new QCheckBox(QStringLiteral("Point filter"), groupBox4_), "CheckBox2");
    label4_ = label(groupBox4_, "Label4", "Point Selector");
    comboBox1_ = named(new QComboBox(groupBox4_), "ComboBox1");
    comboBox1_->setEditable(true);
    label35_ = label(groupBox4_, "Label35", "Patrol Seperator :");
    comboBox2_ = named(new QComboBox(groupBox4_), "ComboBox2");
    g->addWidget(checkBox4_, 0, 0);
    g->addWidget(checkBox3_, 1, 0);
    g->addWidget(checkBox1_, 2, 0);
    g->addWidget(checkBox2_, 0, 1);
    g->addWidget(label4_, 1, 1);
    g->addWidget(comboBox1_, 1, 2);
    g->addWidget(label35_, 2, 1);
    g->addWidget(comboBox2_, 2, 2);
    g->setColumnStretch(2, 1);
    comboBox1_->setEnabled(false);
    label4_->setEnabled(false);
    groupBox4_->hide();
    return groupBox4_;
}

void TfrmNew::buildLayout() {
    auto* left = new QVBoxLayout;
    left->addWidget(buildSiteStep());
    left->addWidget(buildKindStep());
    left->addWidget(buildCreateStep());
    left->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(left);
    top->addWidget(buildDateStep(), 1);
    top->addWidget(buildSiteInformation());
    auto* main = new QVBoxLayout(this);
    main->addLayout(top, 1);
    main->addWidget(buildAdvancedGroup());
    main->setSizeConstraint(QLayout::SetMinimumSize);
}

void TfrmNew::connectControls() {
    connect(listbox1_, &QComboBox::activated, this, [this] { Listbox1Change(); });
    for (int i = 0; i < 3; ++i) {
        connect(radio_[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on) {
                KindClick();
            }
        });
    }
    for (int i = 3; i < 5; ++i) {
        connect(radio_[i], &QRadioButton::toggled, this, [this](bool on) {
            if (on) {
                DateRulesClick();
            }
        });
    }
    connect(calendar1_, &QCalendarWidget::selectionChanged, this, &TfrmNew::DateRulesClick);
    connect(calendar2_, &QCalendarWidget::selectionChanged, this, &TfrmNew::DateRulesClick);
    connect(trackBar1_, &QSlider::valueChanged, this,
            [this](int h) { trackBarMoved(trackBar1_, maskEdit1_, h); });
    connect(trackBar2_, &QSlider::valueChanged, this,
            [this](int h) { trackBarMoved(trackBar2_, maskEdit2_, h); });
    connect(maskEdit1_, &QLineEdit::textEdited, this,
            [this] { timeEdited(maskEdit1_, trackBar1_); });
    connect(maskEdit2_, &QLineEdit::textEdited, this,
            [this] { timeEdited(maskEdit2_, trackBar2_); });
    connect(checkBox2_, &QCheckBox::toggled, this, [this](bool on) {
        comboBox1_->setEnabled(on);
        label4_->setEnabled(on);
    });
    connect(checkBox4_, &QCheckBox::clicked, this, &TfrmNew::CheckBox4Click);
    connect(comboBox2_, &QComboBox::activated, this, &TfrmNew::ComboBox2Change);
    connect(button1_, &QPushButton::clicked, this, &TfrmNew::Button1Click);
    connect(button2_, &QPushButton::clicked, this, &TfrmNew::Button2Click);
    connect(listView1_, &QTreeWidget::itemDoubleClicked, this, [this] { Button2Click(); });
    const std::pair<const char*, const char*> helps[] = {{"HelpDownload", "downhelp.pdf"},
                                                         {"HelpList", "listhelp.pdf"},
                                                         {"HelpOverview", "overhelp.pdf"}};
    for (const auto& [name, file] : helps) {
        auto* mark = findChild<QToolButton*>(QString::fromLatin1(name));
        const QString help = QString::fromLatin1(file);
        connect(mark, &QToolButton::clicked, this, [this, help] { HelpClick(help); });
    }
}

}  // namespace dorodure
