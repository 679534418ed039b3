#include "frm_logfile.h"

#include "app_services.h"
#include "shell/file_error.h"
#include "shell/text_file.h"
#include "shell/user_interaction.h"

#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace dorodure {

namespace {

constexpr int kDateColumnWidth = 115;
constexpr int kSiteColumnWidth = 100;
// The two first columns and the frame: the action column takes the rest.
constexpr int kActionColumnMargin = 233;
constexpr int kFileNameRole = Qt::UserRole;

QString askSaveFile(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QStringLiteral("Save Report"), folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.setNameFilters(
        {QStringLiteral("Comma delimited text (*.csv)"), QStringLiteral("Text File (*.txt)")});
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front();
}

QTreeWidget* makeList(QWidget* parent, const char* name, const QStringList& columns) {
    auto* list = new QTreeWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSortingEnabled(false);
    return list;
}

}  // namespace

TfrmLogFile::TfrmLogFile(AppServices& services, QWidget* parent)
    : QDialog(parent), services_(services), chooser_(askSaveFile) {
    setObjectName(QStringLiteral("frmLogFile"));
    setWindowTitle(QStringLiteral("Log File"));
    listView1_ = makeList(this, "ListView1", {QStringLiteral("Date")});
    listView1_->setMaximumWidth(180);
    listView1_->viewport()->installEventFilter(this);
    listView2_ = makeList(this, "ListView2",
                          {QStringLiteral("Date & Time"), QStringLiteral("Site affected"),
                           QStringLiteral("Action performed")});
    listView2_->setColumnWidth(0, kDateColumnWidth);
    listView2_->setColumnWidth(1, kSiteColumnWidth);
    listView2_->header()->setStretchLastSection(false);
    listView2_->installEventFilter(this);
    button1_ = new QPushButton(QStringLiteral("&Save / Print"), this);
    button1_->setObjectName(QStringLiteral("Button1"));
    auto* lists = new QHBoxLayout;
    lists->addWidget(listView1_);
    lists->addWidget(listView2_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button1_);
    auto* main = new QVBoxLayout(this);
    main->addLayout(lists, 1);
    main->addLayout(buttons);
    resize(760, 420);
    connect(button1_, &QPushButton::clicked, this, &TfrmLogFile::Button1Click);
}

void TfrmLogFile::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormShow();
}

bool TfrmLogFile::eventFilter(QObject* watched, QEvent* event) {
    if (watched == listView2_ && event->type() == QEvent::Resize) {
        fitActionColumn();
    }
    if (watched == listView1_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const bool handled = QDialog::eventFilter(watched, event);
        ListView1MouseUp();
        return handled;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmLogFile::fitActionColumn() {
    listView2_->setColumnWidth(2, std::max(60, listView2_->width() - kActionColumnMargin));
}

void TfrmLogFile::FormShow() {
    listView1_->clear();
    for (const LogMonthRow& row : logMonthRows(services_.dataFolder())) {
        auto* item = new QTreeWidgetItem(listView1_, {row.text});
        item->setData(0, kFileNameRole, row.fileName);
    }
}

void TfrmLogFile::ListView1MouseUp() {
    listView2_->clear();
    try {
        for (int i = 0; i < listView1_->topLevelItemCount(); ++i) {
            QTreeWidgetItem* month = listView1_->topLevelItem(i);
            if (!month->isSelected()) {
                continue;
            }
            const QString file = services_.path(month->data(0, kFileNameRole).toString());
            for (const LogEntryRow& e : readLogEntries(file)) {
                new QTreeWidgetItem(listView2_, {e.dateTime, e.site, e.action});
            }
            month->setSelected(false);
        }
    } catch (const FileError& e) {
        services_.ui().showMessage(e.message());
    }
}

// Every shown line when none is selected, otherwise the selected ones, which
// are deselected as they are taken.
std::vector<LogEntryRow> TfrmLogFile::rowsToExport() {
    const bool all = listView2_->selectedItems().isEmpty();
    std::vector<LogEntryRow> rows;
    for (int i = 0; i < listView2_->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = listView2_->topLevelItem(i);
        if (all || item->isSelected()) {
            rows.push_back({item->text(0), item->text(1), item->text(2)});
            item->setSelected(false);
        }
    }
    return rows;
}

void TfrmLogFile::Button1Click() {
    const QString path = chooser_(this, services_.dataFolder());
    if (path.isEmpty()) {
        return;
    }
    try {
        writeAdminReport(path, rowsToExport());
    } catch (const FileError& e) {
        services_.ui().showMessage(e.message());
        return;
    }
    if (textfile::exists(path)) {
        services_.ui().openDocument(path);
    }
}

}  // namespace dorodure
