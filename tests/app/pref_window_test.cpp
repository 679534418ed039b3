// The Preferences window: options written by OK, Cancel, the discard
// warning, the language switch and renaming batons as typed.
#include "app_services.h"
#include "frm_pref.h"
#include "prefs/baton_names.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

class PreferencesWindowTest : public ::testing::Test {
  protected:
    PreferencesWindowTest() {
        test::writeCrlfLines(data.file("Dorodure.ini"), {"ReportHeader=Acme", "filetype=txt"});
        test::writeCrlfLines(data.file("batname.cfg"),
                             {"//Baton names for their serial number", "", "Ziru0123=Ziru0123",
                              "Abcd0123=Old", "Ziru0200=Night round", "//End of file"});
        services.settings().load();
        services.batonNames().load();
        form.show();
    }
    ~PreferencesWindowTest() override { form.hide(); }

    template <typename T>
    T* control(const char* name) {
        T* c = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QStringList ini() const { return test::readCrlfLines(data.file("Dorodure.ini")); }
    QStringList log() const {
        return test::readCrlfLines(data.file(TActivityLog::fileNameFor(clock.now().date())));
    }

    test::TempDataFolder data;
    ManualClock clock;
    test::ScriptedInteraction ui;
    AppServices services{AppOptions{data.path(), &clock, &ui, nullptr, {}, false, {}, {}}};
    TfrmPref form{services};
};

TEST_F(PreferencesWindowTest, OkWithoutChangesWritesAndLogsNothing) {
    const QByteArray before = test::readBytes(data.file("Dorodure.ini"));
    control<QPushButton>("Button1")->click();
    EXPECT_EQ(test::readBytes(data.file("Dorodure.ini")), before);
    EXPECT_TRUE(log().isEmpty());
    EXPECT_FALSE(form.isVisible());
}

TEST_F(PreferencesWindowTest, OkWritesEachChangedOption) {
    control<QCheckBox>("CheckBox4")->click();  // Generate Frequency Report off
    control<QCheckBox>("CheckBox2")->click();  // Upload Data off
    control<QLineEdit>("Edit1")->setText("Beta");
    control<QComboBox>("ComboBox1")->setEditText("dat");  // free text is stored as typed
    control<QPushButton>("Button1")->click();
    EXPECT_EQ(ini(), (QStringList{"ReportHeader=Beta", "filetype=dat", "UploadDorodureData=F",
                                  "GenerateFrequencyReport=F"}));
    const QStringList entries = log();
    ASSERT_EQ(entries.size(), 4);
    EXPECT_TRUE(entries[0].endsWith("\"All\",\"Upload Dorodure Data Changed to Disabled\""));
    EXPECT_TRUE(entries[1].endsWith("\"All\",\"Generate Frequency Report Changed to Disabled\""));
    EXPECT_TRUE(entries[2].endsWith("\"ReportHeader Changed to Beta\""));
    EXPECT_TRUE(entries[3].endsWith("\"Filetype Changed to dat\""));
    EXPECT_FALSE(services.settings().values().generateFrequencyReport);
}

TEST_F(PreferencesWindowTest, CancelForgetsTheChanges) {
    control<QCheckBox>("CheckBox8")->click();
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(control<QCheckBox>("CheckBox8")->isChecked());
    EXPECT_EQ(ini(), (QStringList{"ReportHeader=Acme", "filetype=txt"}));
}

TEST_F(PreferencesWindowTest, TickingDiscardWarnsOnlyWhenTheUserTicksIt) {
    EXPECT_TRUE(ui.messages.isEmpty());
    control<QCheckBox>("CheckBox6")->click();
    EXPECT_EQ(ui.messages, QStringList{"Warning this could result in loss of Data"});
    control<QCheckBox>("CheckBox6")->click();  // unticking says nothing
    EXPECT_EQ(ui.messages.size(), 1);
    control<QPushButton>("Button1")->click();
    test::writeCrlfLines(data.file("Dorodure.ini"), {"DiscardUnknownCheckpoints=T"});
    services.settings().load();
    form.show();
    EXPECT_TRUE(control<QCheckBox>("CheckBox6")->isChecked());
    EXPECT_EQ(ui.messages.size(), 1);
}

TEST_F(PreferencesWindowTest, RenamingABatonIsSavedAsTyped) {
    auto* list = control<QTreeWidget>("ListView");
    ASSERT_EQ(list->topLevelItemCount(), 3);
    list->setCurrentItem(list->topLevelItem(0));
    EXPECT_EQ(control<QLabel>("Label3")->text(), "0123");
    QLineEdit* edit = control<QLineEdit>("Edit2");
    EXPECT_EQ(edit->text(), "Ziru0123");
    edit->selectAll();
    QTest::keyClicks(edit, "North gate");
    EXPECT_EQ(test::readCrlfLines(data.file("batname.cfg")),
              (QStringList{"//Baton names for their serial number", "", "Ziru0123=North gate",
                           "Abcd0123=North gate", "Ziru0200=Night round", "//End of file"}));
    EXPECT_EQ(list->topLevelItem(1)->text(1), "North gate");
    // A name of one character could not be read back: the file keeps the last
    // name that can be.
    edit->clear();
    QTest::keyClicks(edit, "X");
    EXPECT_TRUE(test::readCrlfLines(data.file("batname.cfg")).contains("Ziru0123=North gate"));
    QTest::keyClicks(edit, "Y");
    EXPECT_TRUE(test::readCrlfLines(data.file("batname.cfg")).contains("Abcd0123=XY"));
    // Cancel does not undo it.
    control<QPushButton>("Button2")->click();
    EXPECT_EQ(services.batonNames().rows()[0].name, "XY");
}

TEST_F(PreferencesWindowTest, ChoosingALanguageSwitchesTheCaptionsAtOnce) {
    QStringList lines =
        test::readCrlfLines(QStringLiteral(DORODURE_SOURCE_DIR "/data/English.lng"));
    ASSERT_EQ(lines.size(), 351);
    lines[164] = "Sichere Berichte erstellen";  // line 165: CheckBox8
    lines[47] = "&Einstellungen";               // line 48: the window's title
    test::writeCrlfLines(data.file("Deutsch.lng"), lines);
    test::writeCrlfLines(data.file("Broken.lng"), lines.mid(1));
    form.FormShow();
    auto* languages = control<QListWidget>("ListBox1");
    ASSERT_EQ(languages->count(), 1);
    languages->setCurrentRow(0);
    control<QPushButton>("Button1")->click();
    EXPECT_EQ(control<QCheckBox>("CheckBox8")->text(), "Sichere Berichte erstellen");
    EXPECT_EQ(form.windowTitle(), "&Einstellungen");
    EXPECT_TRUE(ini().contains("LanguageFile=Deutsch.lng"));
    EXPECT_TRUE(log().last().endsWith("\"Language file Changed to Deutsch.lng\""));
}

}  // namespace
}  // namespace dorodure
