#include "frm_delay.h"

#include "app_services.h"
#include "link/comms_thread.h"
#include "link/port_map.h"
#include "shell/activity_log.h"
#include "shell/file_error.h"
#include "shell/settings.h"
#include "shell/user_interaction.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace dorodure {

namespace {

// The list shows a few devices at once; it grows no wider than a screen.
constexpr int kVisibleDevices = 6;
constexpr int kMaxListWidth = 900;

}  // namespace

TfrmDelay::TfrmDelay(AppServices& services, QWidget* parent)
    : QDialog(parent), s_(services), portMap_(settingsPortMap(services.settings())) {
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
    auto* label3 =
        new QLabel(QStringLiteral("Serial devices found (pick the station's adapter):"), this);
    label3->setObjectName(QStringLiteral("Label3"));
    lstDevices_ = new QListWidget(this);
    lstDevices_->setObjectName(QStringLiteral("lstDevices"));
    label3->setBuddy(lstDevices_);
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(ok, &QPushButton::clicked, this, &TfrmDelay::accept);
    connect(cancel, &QPushButton::clicked, this, &TfrmDelay::reject);
    connect(lstDevices_, &QListWidget::itemSelectionChanged, this, &TfrmDelay::deviceChosen);
    connect(spinEdit1_, &QSpinBox::valueChanged, this, &TfrmDelay::portNumberEdited);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1);
    layout->addWidget(spinEdit1_);
    layout->addWidget(label3);
    layout->addWidget(lstDevices_);
    layout->addWidget(label2);
    layout->addLayout(buttons);
    fillDeviceList();
    // Fixed in size, yet as large as the captions of the language file need.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TfrmDelay::fillDeviceList() {
    const auto& source = s_.options().serialDevices;
    devices_ = source ? source(&portMap_) : availableSerialDevices(&portMap_);
    int widest = 0;
    const QFontMetrics metrics(lstDevices_->font());
    for (const SerialDeviceEntry& entry : devices_) {
        auto* item = new QListWidgetItem(entry.label(), lstDevices_);
        item->setToolTip(entry.device);
        widest = std::max(widest, metrics.horizontalAdvance(item->text()));
    }
    if (devices_.empty()) {
        auto* item = new QListWidgetItem(QStringLiteral("No serial devices found"), lstDevices_);
        item->setFlags(Qt::NoItemFlags);
    }
    const int rowHeight = std::max(metrics.height(), lstDevices_->sizeHintForRow(0));
    lstDevices_->setFixedHeight(rowHeight * kVisibleDevices + 2 * lstDevices_->frameWidth());
    lstDevices_->setMinimumWidth(std::min(widest + 40, kMaxListWidth));
}

void TfrmDelay::deviceChosen() {
    const int row = lstDevices_->currentRow();
    if (row < 0 || row >= static_cast<int>(devices_.size()) ||
        lstDevices_->selectedItems().isEmpty()) {
        return;
    }
    const int port = portNumberToKeep(devices_[static_cast<std::size_t>(row)], &portMap_);
    if (port <= 0 || port > spinEdit1_->maximum()) {
        return;  // every number is taken: the user sets one by hand
    }
    chosen_ = devices_[static_cast<std::size_t>(row)];
    chosenPort_ = port;
    const QSignalBlocker quiet(spinEdit1_);
    spinEdit1_->setValue(port);
}

// A number typed by hand no longer means the device picked before.
void TfrmDelay::portNumberEdited(int port) {
    if (chosen_ && port != chosenPort_) {
        chosen_.reset();
        lstDevices_->clearSelection();
    }
}

std::optional<std::pair<QString, QString>> TfrmDelay::chosenDeviceSetting(int port) const {
    if (!chosen_ || port != chosenPort_) {
        return std::nullopt;
    }
    if (portMap_.deviceFor(port) == chosen_->device) {
        return std::nullopt;
    }
    return std::pair{QStringLiteral("Port") + QString::number(port), chosen_->device};
}

void TfrmDelay::accept() {
    const int port = spinEdit1_->value();
    try {
        std::vector<std::pair<QString, QString>> keys;
        if (const auto device = chosenDeviceSetting(port)) {
            keys.push_back(*device);
        }
        keys.emplace_back(QStringLiteral("CommPort"), QString::number(port));
        s_.settings().writeKeys(keys);
        SettingsValues values = s_.settings().values();
        values.commPort = port;
        s_.settings().setValues(values);
        if (TCommsThread* comms = s_.commsThread()) {
            comms->setPortNumber(port);
        }
        if (keys.size() > 1) {
            s_.traceMain(keys.front().first + QLatin1Char('=') + keys.front().second);
        }
        s_.activityLog().append(QStringLiteral("unknown"),
                                QStringLiteral("Set the Port Number to") + QString::number(port));
    } catch (const FileError& e) {
        s_.ui().showMessage(e.message());
    }
    QDialog::accept();
}

}  // namespace dorodure
