// The Reports window as the user clicks it: kind states, date and time rules,
// the download list and the defaults it leaves for the next start.
#include "app_services.h"
#include "captions.h"
#include "frm_new.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "sites/site_store.h"
#include "test_support.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

class ReportsWindowTest : public ::testing::Test {
  protected:
    ReportsWindowTest() {
        for (const char* site : {"North", "South"}) {
            data.mkdir(QString::fromLatin1(site) + "/Raw");
        }
        test::writeCrlfLines(data.file("Dorodure.ini"), {"DefaultReport=2", "DayorNight=Day"});
        services.settings().load();
        services.texts().loadLanguageFile(QStringLiteral(DORODURE_SOURCE_DIR "/data/English.lng"));
        services.sites().loadSites();
        form.show();
    }
    ~ReportsWindowTest() override { form.hide(); }

    template <typename T>
    T* control(const char* name) {
        T* c = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    bool shown(const char* name) { return !control<QWidget>(name)->isHidden(); }
    bool enabled(const char* name) { return control<QWidget>(name)->isEnabled(); }
    void click(const char* name) { control<QAbstractButton>(name)->click(); }
    QDate date(const char* calendar) { return control<QCalendarWidget>(calendar)->selectedDate(); }
    void pickDate(const char* calendar, QDate d) {
        control<QCalendarWidget>(calendar)->setSelectedDate(d);
    }
    QString text(const char* name) { return control<QWidget>(name)->property("text").toString(); }

    test::TempDataFolder data;
    ManualClock clock{QDateTime(QDate(2011, 8, 11), QTime(10, 0))};
    test::ScriptedInteraction ui;
    AppServices services{AppOptions{data.path(), &clock, &ui, nullptr, {}, false, {}, {}}};
    TfrmNew form{services};
};

TEST_F(ReportsWindowTest, StartsWithTheDefaultsOfTheLastSession) {
    EXPECT_TRUE(control<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_TRUE(control<QRadioButton>("RadioButton4")->isChecked());
    EXPECT_EQ(control<QComboBox>("Listbox1")->currentText(), "North");
    EXPECT_EQ(date("MonthCalendar2"), QDate(2011, 8, 11));
    EXPECT_EQ(text("MaskEdit1"), "12h00");
}

TEST_F(ReportsWindowTest, EachKindShowsItsControls) {
    const TLanguageTable& t = services.texts();
    click("RadioButton1");
    EXPECT_TRUE(shown("ListView1"));
    EXPECT_FALSE(shown("MonthCalendar1"));
    EXPECT_FALSE(shown("MonthCalendar2"));
    EXPECT_FALSE(shown("MaskEdit1"));
    EXPECT_FALSE(enabled("Button1"));
    EXPECT_EQ(text("Button2"), t.text(173));
    EXPECT_FALSE(enabled("RadioButton4"));

    click("RadioButton2");
    EXPECT_FALSE(shown("ListView1"));
    EXPECT_FALSE(shown("MonthCalendar1"));
    EXPECT_TRUE(shown("MonthCalendar2"));
    EXPECT_EQ(text("Label2"), t.text(159));
    EXPECT_EQ(text("Button2"), t.text(172));
    EXPECT_FALSE(shown("RadioButton4"));
    EXPECT_TRUE(enabled("Button1"));

    click("Button1");  // Advanced
    EXPECT_TRUE(shown("GroupBox4"));
    EXPECT_TRUE(shown("MonthCalendar1"));
    EXPECT_TRUE(shown("TrackBar1") && enabled("MaskEdit1"));
    EXPECT_EQ(text("Label2"), t.text(48));
    EXPECT_EQ(text("Button1"), t.text(164));
    EXPECT_TRUE(enabled("CheckBox1") && enabled("ComboBox2") && enabled("CheckBox4"));

    click("RadioButton3");
    EXPECT_TRUE(shown("RadioButton4") && enabled("RadioButton5"));
    EXPECT_FALSE(enabled("CheckBox4"));
    EXPECT_TRUE(control<QCheckBox>("CheckBox4")->isChecked());
    EXPECT_FALSE(shown("CheckBox1"));
    EXPECT_FALSE(enabled("MaskEdit1"));
    EXPECT_FALSE(shown("TrackBar1"));

    click("RadioButton1");  // closes the advanced group
    EXPECT_FALSE(shown("GroupBox4"));
    EXPECT_FALSE(form.advancedOpen());
    EXPECT_EQ(text("Button1"), t.text(163));
}

TEST_F(ReportsWindowTest, SimpleClockingListCoversNoonToNoon) {
    pickDate("MonthCalendar2", QDate(2011, 8, 20));
    EXPECT_EQ(date("MonthCalendar1"), QDate(2011, 8, 19));
    EXPECT_EQ(text("MaskEdit1"), "12h00");
    EXPECT_EQ(text("MaskEdit2"), "12h00");
}

TEST_F(ReportsWindowTest, AdvancedClockingListNeverStartsAfterItEnds) {
    click("Button1");
    pickDate("MonthCalendar1", QDate(2011, 8, 1));
    pickDate("MonthCalendar2", QDate(2011, 8, 5));
    EXPECT_EQ(date("MonthCalendar1"), QDate(2011, 8, 1));
    pickDate("MonthCalendar2", QDate(2011, 7, 30));
    EXPECT_EQ(date("MonthCalendar1"), QDate(2011, 7, 30));
    // The track bars set the hours, the time edits move the track bars.
    control<QSlider>("TrackBar1")->setValue(8);
    EXPECT_EQ(text("MaskEdit1"), "08h00");
    QLineEdit* to = control<QLineEdit>("MaskEdit2");
    to->setFocus();
    to->setCursorPosition(0);
    QTest::keyClicks(to, "17");
    EXPECT_EQ(to->text(), "17h00");
    EXPECT_EQ(control<QSlider>("TrackBar2")->value(), 17);
}

TEST_F(ReportsWindowTest, OverviewShiftsSetWholeDaysOrNights) {
    click("RadioButton3");
    EXPECT_EQ(text("MaskEdit1"), "00h00");
    EXPECT_EQ(text("MaskEdit2"), "23h59");
    click("RadioButton5");
    EXPECT_EQ(text("MaskEdit1"), "12h00");
    EXPECT_EQ(text("MaskEdit2"), "12h00");
    EXPECT_EQ(date("MonthCalendar1"), QDate(2011, 8, 10));
    pickDate("MonthCalendar2", QDate(2011, 8, 15));
    EXPECT_EQ(date("MonthCalendar1"), QDate(2011, 8, 14));
    // Advanced night: a from date well before the to date stays.
    click("Button1");
    pickDate("MonthCalendar1", QDate(2011, 8, 1));
    EXPECT_EQ(date("MonthCalendar1"), QDate(2011, 8, 1));
    pickDate("MonthCalendar1", QDate(2011, 8, 15));
    EXPECT_EQ(date("MonthCalendar1"), QDate(2011, 8, 14));
}

void writeReport(const QString& path, const QDateTime& modified) {
    test::writeCrlfLines(path, {"report"});
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(modified, QFileDevice::FileModificationTime));
}

TEST_F(ReportsWindowTest, DownloadListOpensTheReportOfTheChosenType) {
    const QDateTime modified(QDate(2011, 8, 12), QTime(15, 31));
    writeReport(data.file("North/08121530.txt"), modified);
    writeReport(data.file("North/08121530.pdf"), modified);
    writeReport(data.file("North/08130700.pdf"), modified);
    click("RadioButton1");
    form.FormActivate();
    auto* list = control<QTreeWidget>("ListView1");
    ASSERT_EQ(list->topLevelItemCount(), 2);  // PDF reports: secure reports are on
    EXPECT_EQ(list->topLevelItem(0)->text(0), "2011/08/12");
    EXPECT_EQ(list->topLevelItem(0)->text(1), "15:30");
    auto doubleClick = [&](int row) {
        QTreeWidgetItem* item = list->topLevelItem(row);
        const QPoint at = list->visualItemRect(item).center();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
    };
    doubleClick(0);
    EXPECT_EQ(ui.opened, QStringList{data.file("North/08121530.pdf")});
    EXPECT_TRUE(list->selectedItems().isEmpty());

    click("Button1");  // disabled for downloads: nothing happens
    EXPECT_FALSE(form.advancedOpen());
    control<QCheckBox>("CheckBox4")->click();  // the text reports
    ASSERT_EQ(list->topLevelItemCount(), 1);
    doubleClick(0);
    EXPECT_EQ(ui.opened.last(), data.file("North/08121530.txt"));
}

TEST_F(ReportsWindowTest, LeavingTheWindowStoresItsChoicesAsDefaults) {
    auto* sites = control<QComboBox>("Listbox1");
    sites->setCurrentIndex(1);
    form.Listbox1Change();
    click("RadioButton3");
    click("RadioButton5");
    QEvent deactivate(QEvent::ActivationChange);
    QCoreApplication::sendEvent(&form, &deactivate);
    const QStringList ini = test::readCrlfLines(data.file("Dorodure.ini"));
    EXPECT_EQ(ini, (QStringList{"DefaultReport=3", "DayorNight=Night", "DefaultSite=1"}));
    const QStringList log =
        test::readCrlfLines(data.file(TActivityLog::fileNameFor(clock.now().date())));
    ASSERT_EQ(log.size(), 3);
    EXPECT_TRUE(log[0].endsWith("\"All\",\"Default report site changed to 1\""));
    EXPECT_TRUE(log[1].endsWith("\"Default report type changed to 3\""));
    EXPECT_TRUE(log[2].endsWith("\"Default report Day or Night changed to Enabled\""));
    EXPECT_EQ(services.settings().values().defaultReport, 3);
    // Leaving again without changes writes nothing more.
    QCoreApplication::sendEvent(&form, &deactivate);
    EXPECT_EQ(test::readCrlfLines(data.file(TActivityLog::fileNameFor(clock.now().date()))).size(),
              3);
}

TEST_F(ReportsWindowTest, PatrolSeparatorChoiceFlagsOneCheckpoint) {
    test::writeCrlfLines(
        data.file("North/checkpt.lst"),
        {"//Checkpoint list for North", "", "00A1B2 = Gate", "00C3D4 = Yard", "", "//End of File"});
    form.FormActivate();
    auto* separator = control<QComboBox>("ComboBox2");
    ASSERT_EQ(separator->count(), 3);
    EXPECT_EQ(separator->itemText(2), "(00C3D4) Yard");
    form.ComboBox2Change(2);
    EXPECT_EQ(text("lblPatSep"), "(00C3D4) Yard");
    const QStringList list = test::readCrlfLines(data.file("North/checkpt.lst"));
    EXPECT_TRUE(list.contains("00C3D4 # Yard"));
    EXPECT_TRUE(list.contains("00A1B2 = Gate"));
    form.ComboBox2Change(0);
    EXPECT_FALSE(test::readCrlfLines(data.file("North/checkpt.lst")).join("").contains('#'));
}

TEST_F(ReportsWindowTest, RequestWithoutClockingsSaysNothingWasFound) {
    click("Button2");
    ASSERT_EQ(ui.messages.size(), 1);
    EXPECT_TRUE(ui.messages[0].startsWith(services.texts().text(150)));
    EXPECT_EQ(test::readCrlfLines(data.file("Raw.txt")).size(), 2);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(control<QLabel>("Panel1")->isHidden());
}

}  // namespace
}  // namespace dorodure
