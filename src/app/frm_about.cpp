#include "frm_about.h"

#include "app_services.h"
#include "link/comms_thread.h"
#include "shell/activity_log.h"
#include "shell/file_error.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "shell/startup_checks.h"
#include "shell/text_file.h"
#include "shell/user_interaction.h"

#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace dorodure {

namespace {

// The text of a language table entry, or the window's own English text while
// no language file has given one.
QString entryOr(const TLanguageTable& texts, int n, const char* english) {
    const QString text = texts.text(n);
    return text.isEmpty() ? QString::fromLatin1(english) : text;
}

}  // namespace

TfrmAbout::TfrmAbout(AppServices& services, QWidget* parent)
    : QDialog(parent), services_(services), addresses_(defaultSupportAddresses()) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About"));
    addresses_.checkFile = services_.settings().rawValue(QString::fromLatin1(kCheckFileUrlKey),
                                                         QString::fromLatin1(kDefaultCheckFileUrl));
    buildLayout();
}

QLabel* TfrmAbout::linkLabel(const char* name, const QString& text) {
    auto* label = new QLabel(text, this);
    label->setObjectName(QString::fromLatin1(name));
    label->setCursor(Qt::PointingHandCursor);
    label->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    label->installEventFilter(this);
    return label;
}

void TfrmAbout::buildLayout() {
    auto* grid = new QGridLayout;
    auto named = [this](const char* name, const QString& text) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        return label;
    };
    image1_ = named("Image1", QStringLiteral("Dorodure uploader"));
    image1_->setStyleSheet(QStringLiteral("font-size: 20pt; font-weight: bold;"));
    image1_->installEventFilter(this);
    label1_ = named("Label1", QStringLiteral("Version   "));
    lblVer_ = named("lblVer", QString::fromLatin1(kProgramVersion));
    label11_ = named("Label11", QStringLiteral("Build date"));
    grid->addWidget(image1_, 0, 0, 1, 2);
    grid->addWidget(label1_, 1, 0);
    grid->addWidget(lblVer_, 1, 1);
    grid->addWidget(label11_, 2, 0, 1, 2);
    grid->addWidget(named("Label4", QStringLiteral("Local help files")), 3, 0, 1, 2);
    grid->addWidget(named("Label8", QStringLiteral("Installation guide")), 4, 0);
    grid->addWidget(linkLabel("Label9", QStringLiteral("Install.pdf")), 4, 1);
    grid->addWidget(named("Label16", QStringLiteral("Basic troubleshooting")), 5, 0);
    grid->addWidget(linkLabel("Label17", QStringLiteral("Basic.pdf")), 5, 1);
    grid->addWidget(named("Label14", QStringLiteral("Hints and tips")), 6, 0);
    grid->addWidget(linkLabel("Label15", QStringLiteral("Advanced.pdf")), 6, 1);
    grid->addWidget(named("Label13", QStringLiteral("Online help ")), 7, 0);
    grid->addWidget(linkLabel("Label3", addresses_.onlineHelp), 7, 1);
    QLabel* label2 = linkLabel(
        "Label2",
        QStringLiteral(
            "If your Upload Station is not working click here to re-install the serial drivers"));
    label2->setWordWrap(true);
    grid->addWidget(label2, 8, 0, 1, 2);

    groupBox1_ = new QGroupBox(QStringLiteral("System check"), this);
    groupBox1_->setObjectName(QStringLiteral("GroupBox1"));
    auto* box = new QVBoxLayout(groupBox1_);
    button2_ = new QPushButton(QStringLiteral("Run check"), groupBox1_);
    button2_->setObjectName(QStringLiteral("Button2"));
    label5_ = linkLabel("Label5", QStringLiteral("New vesion available"));
    label5_->setParent(groupBox1_);
    label5_->hide();
    memo1_ = new QPlainTextEdit(groupBox1_);
    memo1_->setObjectName(QStringLiteral("Memo1"));
    memo1_->setReadOnly(true);
    memo1_->setMinimumSize(420, 220);
    box->addWidget(button2_);
    box->addWidget(label5_);
    box->addWidget(memo1_);
    grid->addWidget(groupBox1_, 9, 0, 1, 2);
    setLayout(grid);
    connect(button2_, &QPushButton::clicked, this, &TfrmAbout::Button2Click);
}

void TfrmAbout::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!activated_) {
        activated_ = true;
        FormActivate();
    }
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease) {
        return QDialog::eventFilter(watched, event);
    }
    const QString name = watched->objectName();
    if (name == QLatin1String("Label9")) {
        Label9Click();
    } else if (name == QLatin1String("Label17")) {
        Label17Click();
    } else if (name == QLatin1String("Label15")) {
        Label15Click();
    } else if (name == QLatin1String("Label3")) {
        Label3Click();
    } else if (name == QLatin1String("Label2") || name == QLatin1String("Image1")) {
        Label2Click();
    } else if (name == QLatin1String("Label5")) {
        Label5Click();
    }
    return true;
}

void TfrmAbout::FormActivate() {
    const TLanguageTable& t = services_.texts();
    setWindowTitle(entryOr(t, 145, "About"));
    label1_->setText(entryOr(t, 9, "Version   "));
    lblVer_->setText(QString::fromLatin1(kProgramVersion));
    label11_->setText(entryOr(t, 144, "Build date") + u' ' + QString::fromLatin1(kBuildDate));
    const std::pair<const char*, int> labels[] = {
        {"Label4", 115},  {"Label8", 116}, {"Label16", 117}, {"Label14", 118},
        {"Label13", 119}, {"Label2", 120}, {"Button2", 121}, {"Label5", 122}};
    for (const auto& [name, entry] : labels) {
        QObject* control = findChild<QObject*>(QString::fromLatin1(name));
        if (!t.text(entry).isEmpty()) {
            control->setProperty("text", t.text(entry));
        }
    }
    if (!t.text(123).isEmpty()) {
        groupBox1_->setTitle(t.text(123));
    }
    const QPixmap logo(services_.path(QStringLiteral("logobig.gif")));
    if (!logo.isNull()) {
        image1_->setPixmap(logo);
    }
    services_.activityLog().append(QStringLiteral("none"),
                                   QStringLiteral("Entered the About screen"));
}

void TfrmAbout::Button2Click() {
    SystemCheckInput in;
    in.dataFolder = services_.dataFolder();
    in.checkFileUrl = addresses_.checkFile;
    in.userLanguage = userLanguageName();
    in.pdfHelpUrl = addresses_.pdfHelp;
    const DisplaySnapshot display = services_.display().snapshot();
    in.statusLightRed = display.led == DisplaySnapshot::Led::Red;
    in.portNumber = services_.commsThread() ? services_.commsThread()->portNumber()
                                            : services_.settings().values().commPort;
    memo1_->clear();
    SystemCheckResult result;
    try {
        result = runSystemCheck(in, services_.texts(), services_.fetcher());
    } catch (const FileError& e) {
        services_.ui().showMessage(e.message());
        return;
    }
    memo1_->setPlainText(result.lines.join(u'\n'));
    label5_->setText(result.newReleaseText);
    label5_->setVisible(result.checkFileFetched);
    if (result.refused) {
        services_.ui().showMessage(QString::fromLatin1(kSystemCheckRefusal));
        services_.closeRequested = true;
        close();
    }
}

void TfrmAbout::openLocal(const QString& name) {
    services_.ui().openDocument(services_.path(name));
}

void TfrmAbout::openWeb(const QString& address) {
    services_.ui().openDocument(address);
}

void TfrmAbout::Label9Click() {
    openLocal(QStringLiteral("Install.pdf"));
}

void TfrmAbout::Label17Click() {
    openLocal(QStringLiteral("Basic.pdf"));
}

void TfrmAbout::Label15Click() {
    openLocal(QStringLiteral("Advanced.pdf"));
}

void TfrmAbout::Label3Click() {
    openWeb(addresses_.onlineHelp);
}

void TfrmAbout::Label5Click() {
    openWeb(addresses_.downloadPage);
}

// There is no driver to install on this system: the serial adapters are
// driven by the kernel. The help says which serial devices exist and whether
// this user may open them.
void TfrmAbout::Label2Click() {
    services_.ui().showMessage(services_.texts().text(124) + u'\r' + addresses_.driverHelp + u'\r' +
                               serialSetupAdvice());
}

}  // namespace dorodure
