#include "frm_pref.h"

#include "app_services.h"
#include "captions.h"
#include "prefs/baton_names.h"
#include "shell/file_error.h"
#include "shell/language_table.h"
#include "shell/user_interaction.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace dorodure {

namespace {

constexpr int kDiscardUnknown = 5;  // CheckBox6

constexpr std::array<const char*, 8> kCheckCaptions = {"Update Rozedava Date/Time Automatically",
                                                       "Upload Data from Rozedava Baton",
                                                       "Clear Rozedava Memory after upload",
                                                       "Generate Frequency Report",
                                                       "Open Reports after processing",
                                                       "Discard Unknown checkpoints",
                                                       "Remove Duplicate Checkpoints",
                                                       "Create Secure Reports"};

template <typename T>
T* named(T* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace

TfrmPref::TfrmPref(AppServices& services, QWidget* parent) : QDialog(parent), services_(services) {
    setObjectName(QStringLiteral("frmPref"));
    setWindowTitle(QStringLiteral("Preferences"));
    buildOptions();
    buildLists();
}

void TfrmPref::buildOptions() {
    auto* group1 = named(new QGroupBox(QStringLiteral("Rozedava Uploader Control"), this),
                         QStringLiteral("GroupBox1"));
    auto* group2 = named(new QGroupBox(QStringLiteral("Reporting features"), this),
                         QStringLiteral("GroupBox2"));
    auto* box1 = new QVBoxLayout(group1);
    auto* box2 = new QVBoxLayout(group2);
    for (std::size_t i = 0; i < checks_.size(); ++i) {
        QGroupBox* group = i < 3 ? group1 : group2;
        checks_[i] = named(new QCheckBox(QString::fromLatin1(kCheckCaptions[i]), group),
                           QStringLiteral("CheckBox%1").arg(i + 1));
        (i < 3 ? box1 : box2)->addWidget(checks_[i]);
    }
    box1->addStretch();
    connect(checks_[kDiscardUnknown], &QCheckBox::clicked, this, &TfrmPref::discardClicked);

    auto* label1 = named(new QLabel(QStringLiteral("Report Header / Company Name"), this),
                         QStringLiteral("Label1"));
    edit1_ = named(new QLineEdit(this), QStringLiteral("Edit1"));
    comboBox1_ = named(new QComboBox(this), QStringLiteral("ComboBox1"));
    comboBox1_->setEditable(true);
    comboBox1_->addItems({QStringLiteral("txt"), QStringLiteral("csv")});

    auto* grid = new QGridLayout;
    grid->addWidget(group1, 0, 0);
    grid->addWidget(group2, 0, 1, 2, 1);
    auto* header = new QVBoxLayout;
    header->addWidget(label1);
    auto* headerRow = new QHBoxLayout;
    headerRow->addWidget(edit1_, 1);
    headerRow->addWidget(comboBox1_);
    header->addLayout(headerRow);
    header->addStretch();
    grid->addLayout(header, 1, 0);
    auto* main = new QVBoxLayout(this);
    main->addLayout(grid);
}

void TfrmPref::buildLists() {
    auto* label2 =
        named(new QLabel(QStringLiteral("Change Language"), this), QStringLiteral("Label2"));
    listBox1_ = named(new QListWidget(this), QStringLiteral("ListBox1"));
    listView_ = named(new QTreeWidget(this), QStringLiteral("ListView"));
    listView_->setHeaderLabels({QStringLiteral("Serial"), QStringLiteral("Name")});
    listView_->setRootIsDecorated(false);
    listView_->setColumnWidth(0, 70);
    label3_ = named(new QLabel(this), QStringLiteral("Label3"));
    label3_->setMinimumWidth(50);
    edit2_ = named(new QLineEdit(this), QStringLiteral("Edit2"));
    auto* button1 = named(new QPushButton(QStringLiteral("&Ok"), this), QStringLiteral("Button1"));
    auto* button2 =
        named(new QPushButton(QStringLiteral("&Cancel"), this), QStringLiteral("Button2"));
    button1->setDefault(true);

    auto* language = new QVBoxLayout;
    language->addWidget(label2);
    language->addWidget(listBox1_);
    auto* batons = new QVBoxLayout;
    batons->addWidget(listView_);
    auto* rename = new QHBoxLayout;
    rename->addWidget(label3_);
    rename->addWidget(edit2_, 1);
    batons->addLayout(rename);
    auto* lists = new QHBoxLayout;
    lists->addLayout(language, 1);
    lists->addLayout(batons, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button1);
    buttons->addWidget(button2);
    auto* main = qobject_cast<QVBoxLayout*>(layout());
    main->addLayout(lists, 1);
    main->addLayout(buttons);

    connect(listView_, &QTreeWidget::itemSelectionChanged, this, &TfrmPref::batonSelected);
    connect(edit2_, &QLineEdit::textEdited, this, &TfrmPref::batonNameEdited);
    connect(button1, &QPushButton::clicked, this, &TfrmPref::Button1Click);
    connect(button2, &QPushButton::clicked, this, &TfrmPref::Button2Click);
}

void TfrmPref::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TfrmPref::FormShow() {
    const PreferenceChoices c = choicesFromSettings(services_.settings());
    for (std::size_t i = 0; i < checks_.size(); ++i) {
        checks_[i]->setChecked(c.checks[i]);
    }
    edit1_->setText(c.reportHeader);
    comboBox1_->setEditText(c.fileType);
    fillLanguages();
    fillBatons();
}

void TfrmPref::fillLanguages() {
    listBox1_->clear();
    QStringList names;
    try {
        names = languageNames(services_.dataFolder());
    } catch (const FileError& e) {
        services_.ui().showMessage(e.message());
    }
    listBox1_->addItems(names);
    const std::optional<QString> current = choicesFromSettings(services_.settings()).language;
    const auto found = listBox1_->findItems(current.value_or(QString()), Qt::MatchExactly);
    if (!found.isEmpty()) {
        listBox1_->setCurrentItem(found.front());
    }
}

void TfrmPref::fillBatons() {
    const QSignalBlocker block(listView_);
    listView_->clear();
    for (const BatonRow& row : services_.batonNames().rows()) {
        new QTreeWidgetItem(listView_, {row.serial, row.name});
    }
    label3_->clear();
    edit2_->clear();
}

void TfrmPref::batonSelected() {
    const QList<QTreeWidgetItem*> selected = listView_->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    label3_->setText(selected.front()->text(0));
    edit2_->setText(selected.front()->text(1));
}

// The name is saved as it is typed.
void TfrmPref::batonNameEdited(const QString& name) {
    const QList<QTreeWidgetItem*> selected = listView_->selectedItems();
    if (selected.isEmpty()) {
        return;
    }
    const QString serial = selected.front()->text(0);
    // An entry with a name shorter than two characters can never be read or
    // renamed again; while the user is still typing the first character the
    // file keeps the last name that can.
    if (name.size() < 2) {
        return;
    }
    try {
        services_.batonNames().renameBaton(serial, name);
    } catch (const FileError& e) {
        services_.ui().showMessage(e.message());
        return;
    }
    for (int i = 0; i < listView_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = listView_->topLevelItem(i);
        if (item->text(0) == serial) {
            item->setText(1, name);
        }
    }
}

void TfrmPref::discardClicked(bool checked) {
    if (checked) {
        services_.ui().showMessage(QStringLiteral("Warning this could result in loss of Data"));
    }
}

PreferenceChoices TfrmPref::choices() const {
    PreferenceChoices c;
    for (std::size_t i = 0; i < checks_.size(); ++i) {
        c.checks[i] = checks_[i]->isChecked();
    }
    c.reportHeader = edit1_->text();
    c.fileType = comboBox1_->currentText();
    if (listBox1_->currentItem() && listBox1_->currentItem()->isSelected()) {
        c.language = listBox1_->currentItem()->text();
    }
    return c;
}

void TfrmPref::Button1Click() {
    PreferencesOutcome outcome;
    try {
        outcome = savePreferences(services_.settings(), services_.activityLog(), services_.texts(),
                                  services_.dataFolder(), choices(),
                                  reportSource_ ? reportSource_() : std::nullopt);
    } catch (const FileError& e) {
        services_.ui().showMessage(e.message());
        return;
    }
    if (outcome.languageLoadMessage) {
        if (outcome.languageLoadMessage->isEmpty()) {
            applyCaptionsToAllWindows(services_.texts().loadedLines());
        } else {
            services_.ui().showMessage(*outcome.languageLoadMessage);
        }
    }
    accept();
}

void TfrmPref::Button2Click() {
    reject();
}

void TfrmPref::reject() {
    FormShow();
    QDialog::reject();
}

}  // namespace dorodure
