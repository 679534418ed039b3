#include "frm_main.h"

#include "app_link_host.h"
#include "app_services.h"
#include "dialog_interaction.h"
#include "frm_new.h"
#include "frm_points.h"
#include "frm_pref.h"
#include "frm_unknownp.h"
#include "led_widget.h"
#include "shell/trace_log.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

// The compiled-in pictures live in this static library.
static void initResources() {
    Q_INIT_RESOURCE(dorodure);
}

namespace dorodure {

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& where) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(where);
    return label;
}

QFont boldFont(QFont font) {
    font.setBold(true);
    return font;
}

}  // namespace

TfrmMain::TfrmMain(AppServices& services, QWidget* parent)
    : QMainWindow(parent), s_(services), host_(std::make_unique<AppLinkHost>(services)) {
    initResources();
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Dorodure"));
    buildControls();
    buildMenus();
    menuBar()->setVisible(false);
    setFixedSize(kNormalWidth, kHeight);

    timer2_ = new QTimer(this);
    timer2_->setObjectName(QStringLiteral("Timer2"));
    timer2_->setInterval(1000);
    connect(timer2_, &QTimer::timeout, this, &TfrmMain::onTimer2);
    timer2_->start();
    // The baton panel follows the link more closely than once a second, so
    // that the LED's blinking and the gauge show as they happen.
    displayTimer_ = new QTimer(this);
    displayTimer_->setInterval(50);
    connect(displayTimer_, &QTimer::timeout, this, &TfrmMain::refreshDisplay);
    displayTimer_->start();

    s_.trace().setMemoSink([this](const QString& line) { addMemoLine(line); });
    host_->onProcessing = [this](bool running) { setProcessing(running); };
    host_->windowBusy = [this] { return processingDepth_ > 0; };
    connectSinks();
    createWindows();
}

TfrmMain::~TfrmMain() {
    s_.trace().setMemoSink({});
    host_->abandon();
    s_.stopCommsThread();
    s_.setUnknownAsker(nullptr);
}

void TfrmMain::buildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("central"));
    setCentralWidget(central);
    lblDateTime_ = makeLabel(central, "lblDateTime", QStringLiteral("Welcome to Rozedava Uploader"),
                             QRect(120, 4, 300, 18));
    lblDateTime_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblDateTime_->setFont(boldFont(lblDateTime_->font()));
    lblDateTime_->setStyleSheet(QStringLiteral("color: blue"));
    label1_ =
        makeLabel(central, "Label1", QStringLiteral("Its bad luck to"), QRect(120, 4, 300, 18));
    label1_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label1_->hide();
    label3_ =
        makeLabel(central, "Label3", QStringLiteral("be superstitious"), QRect(20, 170, 380, 18));
    buildBatonPanel(central);
    buildStatusPanel(central);
    buildButtons(central);

    memo1_ = new QPlainTextEdit(central);
    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setReadOnly(true);
    memo1_->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo1_->setGeometry(kNormalWidth + 4, 4, kWideWidth - kNormalWidth - 10, kHeight - 10);
    memo1_->installEventFilter(this);
}

void TfrmMain::buildBatonPanel(QWidget* central) {
    groupBox1_ = new QGroupBox(QStringLiteral("Baton Information"), central);
    groupBox1_->setObjectName(QStringLiteral("GroupBox1"));
    groupBox1_->setGeometry(8, 26, 413, 112);
    lblID_ = makeLabel(groupBox1_, "lblID", QStringLiteral("Id : "), QRect(12, 22, 180, 18));
    lblVer_ = makeLabel(groupBox1_, "lblVer", QStringLiteral("Version : "), QRect(12, 42, 180, 18));
    lblDate_ = makeLabel(groupBox1_, "lblDate", QStringLiteral("Date : "), QRect(12, 62, 180, 18));
    lblTime_ = makeLabel(groupBox1_, "lblTime", QStringLiteral("Time : "), QRect(12, 82, 180, 18));
    led_ = new LedWidget(groupBox1_);
    led_->setGeometry(200, 44, 26, 26);
    image1_ = makeLabel(groupBox1_, "Image1", {}, QRect(244, 18, 160, 88));
    image1_->setAlignment(Qt::AlignCenter);
    image1_->setPixmap(QPixmap(QStringLiteral(":/dorodure/logo.gif")));
    image1_->setCursor(Qt::PointingHandCursor);
    image1_->installEventFilter(this);
    image1_->hide();
}

void TfrmMain::buildStatusPanel(QWidget* central) {
    groupBox3_ = new QGroupBox(QStringLiteral("Status"), central);
    groupBox3_->setObjectName(QStringLiteral("GroupBox3"));
    groupBox3_->setGeometry(8, 144, 413, 82);
    groupBox3_->setAutoFillBackground(true);  // covers Label3
    lblStatus_ = makeLabel(groupBox3_, "lblStatus", QStringLiteral("Initializing please wait..."),
                           QRect(12, 20, 390, 18));
    gauge1_ = new QProgressBar(groupBox3_);
    gauge1_->setObjectName(QStringLiteral("Gauge1"));
    gauge1_->setGeometry(12, 40, 390, 16);
    gauge1_->setRange(0, 100);
    gauge1_->setValue(0);
    gauge1_->setTextVisible(false);
    gauge1_->setStyleSheet(
        QStringLiteral("QProgressBar { background: black; border: 1px solid grey; }"
                       "QProgressBar::chunk { background: green; }"));
    label4_ = makeLabel(groupBox3_, "Label4", QStringLiteral("No Data in Rozedava"),
                        QRect(12, 58, 190, 18));
    label4_->setFont(boldFont(label4_->font()));
    label4_->setStyleSheet(QStringLiteral("color: red"));
    label4_->hide();
    lblExtra_ =
        makeLabel(groupBox3_, "lblExtra", QStringLiteral("Time in Baton is not the same as PC!!"),
                  QRect(160, 58, 245, 18));
    lblExtra_->hide();
    lblUsb_ = makeLabel(groupBox3_, "lblUSB", QStringLiteral("USB"), QRect(370, 58, 30, 18));
    lblUsb_->setEnabled(false);
    lblUsb_->hide();
}

void TfrmMain::buildButtons(QWidget* central) {
    struct Button {
        const char* name;
        const char* caption;
        void (TfrmMain::*slot)();
    };
    const Button buttons[] = {{"BitBtn1", "Reports", &TfrmMain::openReports},
                              {"BitBtn2", "CheckPoints", &TfrmMain::openCheckpoints},
                              {"BitBtn3", "Options", &TfrmMain::openPreferences},
                              {"BitBtn4", "Help", &TfrmMain::openAbout}};
    int x = 8;
    for (const Button& b : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(b.caption), central);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setGeometry(x, 234, 101, 70);
        button->setFont(boldFont(button->font()));
        connect(button, &QPushButton::clicked, this, b.slot);
        x += 104;
    }
    panel1_ = makeLabel(central, "Panel1", QStringLiteral("Working please wait..."),
                        QRect(8, 234, 413, 70));
    panel1_->setAlignment(Qt::AlignCenter);
    panel1_->setAutoFillBackground(true);
    panel1_->setFrameShape(QFrame::Panel);
    panel1_->setFont(boldFont(panel1_->font()));
    panel1_->raise();
}

QAction* TfrmMain::addMenuAction(QMenu* menu, const char* name, const QString& caption,
                                 void (TfrmMain::*slot)()) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void TfrmMain::buildMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("File1"));
    addMenuAction(file, "NewReport1", QStringLiteral("&New Report"), &TfrmMain::openReports);
    addMenuAction(file, "Open1", QStringLiteral("&Open Report"), &TfrmMain::openReports);
    addMenuAction(file, "Import1", QStringLiteral("&Import"), &TfrmMain::importRaw);
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("Exit1"));
    connect(exit, &QAction::triggered, this, [this] { close(); });
    setupMenu_ = menuBar()->addMenu(QStringLiteral("Setup"));
    setupMenu_->setObjectName(QStringLiteral("Setup1"));
    addMenuAction(setupMenu_, "Preferences1", QStringLiteral("&Preferences"),
                  &TfrmMain::openPreferences);
    addMenuAction(setupMenu_, "Checkpoints1", QStringLiteral("&Checkpoints"),
                  &TfrmMain::openCheckpoints);
    addMenuAction(setupMenu_, "SiteSetup1", QStringLiteral("&Add New Site"), &TfrmMain::addNewSite);
    addMenuAction(setupMenu_, "IdNumber1", QStringLiteral("&Id Number"), &TfrmMain::openIdNumber);
    failedPatrol_ = addMenuAction(setupMenu_, "FailedPatrol1", QStringLiteral("Failed Patrol"),
                                  &TfrmMain::openFailedPatrol);
    // Shown once a language file has named it.
    failedPatrol_->setVisible(false);
    setupMenu_->setEnabled(false);
    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("Help1"));
    addMenuAction(help, "Index1", QStringLiteral("&Index"), &TfrmMain::openHelp);
    addMenuAction(help, "search1", QStringLiteral("&Topics"), &TfrmMain::openHelp);
    addMenuAction(help, "About1", QStringLiteral("&About"), &TfrmMain::openAbout);
}

void TfrmMain::connectSinks() {
    auto* dialogs = dynamic_cast<DialogInteraction*>(&s_.ui());
    if (dialogs == nullptr) {
        return;
    }
    dialogs->setParentWidget(this);
    DialogInteraction::Sinks sinks;
    sinks.busy = [this](bool busy) { setProcessing(busy); };
    sinks.status = [this](const QString& text) { lblStatus_->setText(text); };
    sinks.progress = [this](int value, int maximum) {
        gauge1_->setRange(0, std::max(maximum, 1));
        gauge1_->setValue(std::min(value, gauge1_->maximum()));
    };
    dialogs->setSinks(std::move(sinks));
}

}  // namespace dorodure
