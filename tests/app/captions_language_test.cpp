// Switching the language: every line of a language file reaches every target
// the line names in every window, a file of the wrong length changes nothing,
// and no caption is cut off in English or in a language of longer words.
#include "app_services.h"
#include "captions.h"
#include "frm_about.h"
#include "frm_delay.h"
#include "frm_fpsetup.h"
#include "frm_idnum.h"
#include "frm_inputbox.h"
#include "frm_logfile.h"
#include "frm_new.h"
#include "frm_points.h"
#include "frm_pref.h"
#include "frm_sitedel.h"
#include "frm_unknownp.h"
#include "screenshot.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "sites/site_store.h"
#include "test_support.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QTabBar>

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <tuple>

namespace dorodure {
namespace {

using Kind = CaptionTarget::Kind;

const QString kEnglishFile = QStringLiteral(DORODURE_SOURCE_DIR "/data/English.lng");

// The Port Setup window lists these rather than what this machine has, so
// that its list is checked (and pictured) with real-looking entries.
std::vector<SerialDeviceEntry> sampleSerialDevices(const PortMap* map) {
    const SerialDeviceRecord adapter{QStringLiteral("/dev/ttyUSB0"),
                                     QStringLiteral("FT232R USB UART"),
                                     QStringLiteral("FTDI"),
                                     QStringLiteral("A10K3"),
                                     0x0403,
                                     0x6001};
    const SerialDeviceRecord onboard{QStringLiteral("/dev/ttyS0"), {}, {}, {}, {}, {}};
    const ByIdLinks byId{{QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A10K3-if00-port0"),
                          QStringLiteral("/dev/ttyUSB0")}};
    return describeSerialDevices({onboard, adapter}, byId, map);
}

class LanguageSwitchTest : public ::testing::Test {
  protected:
    LanguageSwitchTest() {
        data.mkdir("North/Raw");
        services.settings().load();
        services.sites().loadSites();
        // Every window of the program that takes captions; the main window
        // applies its own at start-up and is covered by its tests.
        add(std::make_unique<TfrmNew>(services));
        add(std::make_unique<TfrmPref>(services));
        add(std::make_unique<TfrmUnknownP>(services));
        add(std::make_unique<TfrmLogFile>(services));
        add(std::make_unique<TfrmAbout>(services));
        add(std::make_unique<Tfrmpoints>(services));
        add(std::make_unique<TfrmFPSetup>(services));
        add(std::make_unique<TfrmInputBox>(services));
        add(std::make_unique<TfrmSiteDel>(services));
        add(std::make_unique<TfrmIdNum>(services));
        add(std::make_unique<TfrmDelay>(services));
    }
    void add(std::unique_ptr<QWidget> form) { forms.push_back(std::move(form)); }
    QWidget* form(const QString& name) {
        for (auto& f : forms) {
            if (f->objectName() == name) {
                return f.get();
            }
        }
        return nullptr;
    }
    QString load(const QStringList& lines) {
        test::writeCrlfLines(data.file("Test.lng"), lines);
        const QString message = services.texts().loadLanguageFile(data.file("Test.lng"));
        applyCaptionsToAllWindows(services.texts().loadedLines());
        return message;
    }
    // What every target of every existing window shows now.
    QStringList snapshot() {
        QStringList shown;
        for (const LanguageLine& line : languageFileLayout()) {
            for (const CaptionTarget& t : line.targets) {
                QWidget* f = form(t.form);
                shown << (t.kind == Kind::Entry ? services.texts().text(t.index)
                                                : (f ? captionOf(f, t) : QString()));
            }
        }
        return shown;
    }

    test::TempDataFolder data;
    ManualClock clock;
    test::ScriptedInteraction ui;
    AppServices services{
        AppOptions{data.path(), &clock, &ui, nullptr, {}, false, {}, sampleSerialDevices}};
    std::vector<std::unique_ptr<QWidget>> forms;
};

QStringList numberedLines() {
    QStringList lines;
    for (int n = 1; n <= TLanguageTable::kFileLines; ++n) {
        lines << QStringLiteral("Line %1").arg(n);
    }
    return lines;
}

// The target's identity: a target set by several lines shows the last one.
using TargetKey = std::tuple<int, QString, QString, int>;
TargetKey keyOf(const CaptionTarget& t) {
    return {int(t.kind), t.form, t.control, t.index};
}

TEST_F(LanguageSwitchTest, EveryLineReachesEachOfItsTargets) {
    const QStringList lines = numberedLines();
    ASSERT_EQ(load(lines), QString());
    std::map<TargetKey, int> lastLine;
    for (const LanguageLine& line : languageFileLayout()) {
        for (const CaptionTarget& t : line.targets) {
            lastLine[keyOf(t)] = line.line;
        }
    }
    int checked = 0;
    for (const LanguageLine& line : languageFileLayout()) {
        for (const CaptionTarget& t : line.targets) {
            const QString expected = lines[lastLine[keyOf(t)] - 1];
            if (t.kind == Kind::Entry) {
                EXPECT_EQ(services.texts().text(t.index), expected) << line.line;
                continue;
            }
            QWidget* f = form(t.form);
            if (!f || t.kind == Kind::MemoClear) {
                continue;  // a window this program does not have (frmOpen, frmMain here)
            }
            if (t.kind != Kind::Title) {
                EXPECT_NE(captionControl(f, t.control), nullptr)
                    << "line " << line.line << ": " << t.form.toStdString() << "."
                    << t.control.toStdString();
            }
            EXPECT_EQ(captionOf(f, t), expected)
                << "line " << line.line << ": " << t.form.toStdString() << "."
                << t.control.toStdString() << " #" << t.index;
            ++checked;
        }
    }
    EXPECT_GT(checked, 150);
    // The Reports window drops "Sort by checkpoints" after every load.
    EXPECT_FALSE(form("frmNew")->findChild<QAbstractButton*>("CheckBox1")->isChecked());
}

TEST_F(LanguageSwitchTest, FileOfTheWrongLengthChangesNothing) {
    const QStringList before = snapshot();
    QStringList lines = numberedLines();
    lines.removeLast();
    EXPECT_EQ(load(lines), "Error(350) " + data.file("Test.lng") +
                               " Languauge file corupt please contact You program vendor");
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(services.texts().text(23), "Unknown checkpoint");
    EXPECT_EQ(services.texts().text(121), "");
    // After a good file, a bad one keeps the good file's texts.
    ASSERT_EQ(load(numberedLines()), QString());
    const QStringList loaded = snapshot();
    load(lines);
    EXPECT_EQ(snapshot(), loaded);
}

// Widgets whose text does not fit in the room the layout gives them.
QStringList cutOff(QWidget* form) {
    QStringList found;
    for (QWidget* w : form->findChildren<QWidget*>()) {
        // The scroll buttons of a tab bar belong to the toolkit.
        if (!w->isVisibleTo(form) || qobject_cast<QTabBar*>(w->parentWidget())) {
            continue;
        }
        const auto* label = qobject_cast<QLabel*>(w);
        const bool textControl = (label && !label->wordWrap() && label->pixmap().isNull()) ||
                                 qobject_cast<QAbstractButton*>(w) != nullptr;
        if (textControl && w->width() < w->minimumSizeHint().width()) {
            found << w->objectName();
        }
        if (auto* box = qobject_cast<QGroupBox*>(w)) {
            if (box->width() < box->fontMetrics().horizontalAdvance(box->title()) + 16) {
                found << w->objectName();
            }
        }
    }
    return found;
}

// Shows each window and checks it; with DORODURE_SCREENSHOTS set, saves a
// picture of each window in that folder.
void checkWindows(std::vector<std::unique_ptr<QWidget>>& forms, const QString& language) {
    for (auto& f : forms) {
        f->show();
        f->adjustSize();
        f->resize(f->size().expandedTo(f->minimumSizeHint()));
        QCoreApplication::processEvents();
        EXPECT_EQ(cutOff(f.get()), QStringList())
            << f->objectName().toStdString() << " in " << language.toStdString();
        test::saveScreenshot(*f, f->objectName() + '-' + language);
        f->hide();
    }
}

TEST_F(LanguageSwitchTest, NothingIsCutOffInEnglishOrInLongerWords) {
    QStringList english = test::readCrlfLines(kEnglishFile);
    ASSERT_EQ(english.size(), TLanguageTable::kFileLines);
    ASSERT_EQ(load(english), QString());
    checkWindows(forms, "English");
    QStringList longer;
    for (const QString& line : english) {
        longer << (line.isEmpty() ? line : line + QStringLiteral(" (plus longer words)"));
    }
    ASSERT_EQ(load(longer), QString());
    checkWindows(forms, "Long");
}

}  // namespace
}  // namespace dorodure
