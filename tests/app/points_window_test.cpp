// "Setup the check points": adding by hand and from the station, deleting,
// moving, the separator, View List and deleting sites, driven through the
// window's controls.
#include "app_services.h"
#include "frm_inputbox.h"
#include "frm_points.h"
#include "frm_sitedel.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "sites/site_store.h"
#include "test_support.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

const QDateTime kNow(QDate(2009, 5, 12), QTime(14, 3, 22));

class PointsWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        data.mkdir("North");
        data.mkdir("South");
        AppOptions options;
        options.dataFolder = data.path();
        options.clock = &clock;
        options.ui = &ui;
        options.demo = true;
        services = std::make_unique<AppServices>(options);
        services->sites().loadSites();
        form = std::make_unique<Tfrmpoints>(*services);
    }
    void TearDown() override { form.reset(); }

    void seed(const QString& site, const QStringList& ids) {
        std::vector<TCheckpoint> cps;
        for (const QString& id : ids) {
            cps.push_back({id, u'=', "Name " + id});
        }
        TSiteSettings settings = TSiteSettings::editorDefaults();
        settings.startTimes.fill("06h00");
        settings.finishTimes.fill("18h00");
        services->sites().writeCheckpointList(site, cps, settings);
    }
    template <typename T>
    T* child(const char* name) const {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QTreeWidget* list() const { return child<QTreeWidget>("ListView"); }
    QStringList rows() const {
        QStringList out;
        for (int i = 0; i < list()->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = list()->topLevelItem(i);
            out << item->text(0) + u' ' + item->text(1) + u' ' + item->text(2);
        }
        return out;
    }
    QStringList fileLines(const QString& site = "North") const {
        return test::readCrlfLines(data.file(site + "/checkpt.lst"));
    }
    QStringList logLines() const {
        return test::readCrlfLines(data.file(TActivityLog::fileNameFor(kNow.date())));
    }
    // Types into the id dialog once it is up, then presses Enter.
    void typeIdOnceAsked(const QString& typed, QString* shown = nullptr) {
        QTimer::singleShot(0, form.get(), [this, typed, shown] {
            QLineEdit* field = form->inputBox().field();
            QTest::keyClicks(field, typed);
            if (shown != nullptr) {
                *shown = field->text();
            }
            QTest::keyClick(field, Qt::Key_Return);
        });
    }
    void typeId(const QString& typed, QString* shown = nullptr) {
        typeIdOnceAsked(typed, shown);
        child<QPushButton>("btnAdd")->click();
    }

    test::TempDataFolder data;
    ManualClock clock{kNow};
    test::ScriptedInteraction ui;
    std::unique_ptr<AppServices> services;
    std::unique_ptr<Tfrmpoints> form;
};

TEST_F(PointsWindowTest, OpeningShowsTheFirstSiteWithRowsAndSeparator) {
    services->sites().writeCheckpointList("North",
                                          {{"111111", u'=', "Gate"}, {"222222", u'#', "Door"}},
                                          TSiteSettings::editorDefaults());
    form->show();
    EXPECT_EQ(form->objectName(), "frmpoints");
    EXPECT_EQ(child<QListWidget>("ListBox1")->currentItem()->text(), "North");
    EXPECT_EQ(rows(), (QStringList{"1 111111 Gate", "2 222222 Door"}));
    EXPECT_EQ(list()->headerItem()->text(1), "Id Number");
    EXPECT_EQ(child<QComboBox>("ComboBox1")->currentText(), "(222222) Door");
    EXPECT_FALSE(child<QLineEdit>("edtLocation")->isEnabled());
}

TEST_F(PointsWindowTest, TypedIdIsNormalisedAndBatonUploadedNamed) {
    form->show();
    QString shown;
    typeId("i0abcd", &shown);
    EXPECT_EQ(shown, "I0ABCD");
    typeId("000000");
    EXPECT_EQ(rows(), (QStringList{"1 10ABCD Unknown checkpoint",
                                   "2 000000 ------ Baton Uploaded ------"}));
    EXPECT_EQ(fileLines().mid(2, 2), (QStringList{"10ABCD = Unknown checkpoint",
                                                  "000000 = ------ Baton Uploaded ------"}));
    EXPECT_EQ(child<QLabel>("lblIdNum")->text(), "000000");
    // Cancel adds nothing.
    QTimer::singleShot(0, form.get(), [this] { form->inputBox().reject(); });
    child<QPushButton>("btnAdd")->click();
    EXPECT_EQ(rows().size(), 2);
}

TEST_F(PointsWindowTest, StationAddsOnceTypingAddsTwice) {
    form->show();
    ASSERT_TRUE(services->stationIdHandler);
    services->stationIdHandler("000000");
    EXPECT_TRUE(rows().isEmpty());
    services->stationIdHandler("0FA500");
    services->stationIdHandler("0FA500");
    typeId("123456");
    typeId("123456");
    EXPECT_EQ(rows(), (QStringList{"1 0FA500 Unknown checkpoint", "2 123456 Unknown checkpoint",
                                   "3 123456 Unknown checkpoint"}));
    EXPECT_EQ(logLines().size(), 3);
}

TEST_F(PointsWindowTest, StationClosesTheIdDialogAndReachesAHiddenEditor) {
    form->show();
    QTimer::singleShot(0, form.get(), [this] {
        QTest::keyClicks(form->inputBox().field(), "AAAAAA");
        services->stationIdHandler("0FA500");
    });
    child<QPushButton>("btnAdd")->click();
    EXPECT_FALSE(form->inputBox().isVisible());
    EXPECT_TRUE(form->inputBox().field()->text().isEmpty());
    EXPECT_EQ(rows(), QStringList{"1 0FA500 Unknown checkpoint"});
    // Closed with "&Back": the selected site still receives buttons.
    child<QPushButton>("Button10")->click();
    ASSERT_FALSE(form->isVisible());
    services->stationIdHandler("00BEEF");
    EXPECT_EQ(fileLines().mid(2, 3),
              (QStringList{"0FA500 = Unknown checkpoint", "00BEEF = Unknown checkpoint", ""}));
}

TEST_F(PointsWindowTest, StationReachesTheStartUpSiteBeforeTheEditorWasOpened) {
    services->preselectedSite = 1;
    services->stationIdHandler("0FA500");
    EXPECT_EQ(fileLines("South").mid(2, 1), QStringList{"0FA500 = Unknown checkpoint"});
}

TEST_F(PointsWindowTest, ThreeSelectedRowsDeletedGiveThreeLogLines) {
    seed("North", {"111111", "222222", "333333", "444444"});
    form->show();
    list()->topLevelItem(0)->setSelected(true);
    list()->topLevelItem(1)->setSelected(true);
    list()->topLevelItem(3)->setSelected(true);
    ui.confirmAnswers = {true};
    child<QPushButton>("btnDeleate")->click();
    EXPECT_EQ(ui.questions, QStringList{"Are you sure you want to delete the selected item(s)"});
    EXPECT_EQ(rows(), QStringList{"3 333333 Name 333333"});
    ASSERT_EQ(logLines().size(), 3);
    EXPECT_TRUE(logLines()[0].endsWith("\"North\",\"Id Button Deleted (111111) Name 111111\""));
    EXPECT_TRUE(logLines()[2].endsWith("\"North\",\"Id Button Deleted (444444) Name 444444\""));
    EXPECT_EQ(fileLines().mid(2, 2), (QStringList{"333333 = Name 333333", ""}));
}

TEST_F(PointsWindowTest, MovingTheFirstRowUpSavesAnUnchangedList) {
    seed("North", {"111111", "222222"});
    form->show();
    const QStringList before = fileLines();
    list()->setCurrentItem(list()->topLevelItem(0));
    test::writeCrlfLines(data.file("North/checkpt.lst"), {"changed behind the editor"});
    child<QPushButton>("Button3")->click();
    EXPECT_EQ(fileLines(), before);
    EXPECT_EQ(rows(), (QStringList{"1 111111 Name 111111", "2 222222 Name 222222"}));
    child<QPushButton>("Button4")->click();
    EXPECT_EQ(rows(), (QStringList{"1 222222 Name 222222", "2 111111 Name 111111"}));
    EXPECT_EQ(list()->currentItem(), list()->topLevelItem(1));
    EXPECT_EQ(child<QLabel>("lblIdNum")->text(), "111111");
}

TEST_F(PointsWindowTest, LocationEditsGoToTheRowAndTheFile) {
    seed("North", {"111111"});
    form->show();
    QTreeWidgetItem* item = list()->topLevelItem(0);
    list()->setCurrentItem(item);
    emit list()->itemClicked(item, 1);
    QLineEdit* edit = child<QLineEdit>("edtLocation");
    ASSERT_TRUE(edit->isEnabled());
    edit->selectAll();
    QTest::keyClicks(edit, "Front gate");
    EXPECT_EQ(rows(), QStringList{"1 111111 Front gate"});
    EXPECT_EQ(child<QComboBox>("ComboBox1")->itemText(1), "(111111) Front gate");
    emit edit->editingFinished();
    EXPECT_EQ(fileLines().at(2), "111111 = Front gate");
}

TEST_F(PointsWindowTest, SeparatorMarksExactlyTheChosenId) {
    seed("North", {"111111", "123456", "333333", "123456"});
    form->show();
    QComboBox* combo = child<QComboBox>("ComboBox1");
    ASSERT_EQ(combo->count(), 5);
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    EXPECT_EQ(fileLines().mid(2, 4), (QStringList{"111111 = Name 111111", "123456 # Name 123456",
                                                  "333333 = Name 333333", "123456 # Name 123456"}));
    combo->setCurrentIndex(0);
    emit combo->activated(0);
    EXPECT_FALSE(fileLines().join('\n').contains(" # "));
}

TEST_F(PointsWindowTest, ViewListPrintsShortUnknownNamesAndOpensTheFile) {
    services->sites().writeCheckpointList(
        "North", {{"000005", u'=', "5 Unknown checkpoint"}, {"000006", u'=', "Gate"}},
        TSiteSettings::editorDefaults());
    form->show();
    child<QPushButton>("Button1")->click();
    const QStringList lines = test::readCrlfLines(data.file("List.txt"));
    ASSERT_GE(lines.size(), 15);
    EXPECT_EQ(lines[1], "     Check Point List for  North");
    EXPECT_EQ(lines[8], "  | 000005 |");
    EXPECT_EQ(lines[9], "  |        | 5");
    EXPECT_EQ(lines[13], "  |        | Gate");
    EXPECT_EQ(ui.opened, QStringList{data.file("List.txt")});
}

TEST_F(PointsWindowTest, CreatingASiteListsItWithoutSelectingIt) {
    form->show();
    ui.textAnswers = {QString("East")};
    child<QPushButton>("Button2")->click();
    QListWidget* sites = child<QListWidget>("ListBox1");
    ASSERT_EQ(sites->count(), 3);
    EXPECT_EQ(sites->item(2)->text(), "East");
    EXPECT_EQ(sites->currentItem()->text(), "North");
    EXPECT_TRUE(QFileInfo(data.file("East/Raw")).isDir());
    EXPECT_TRUE(logLines().last().endsWith("\"East\",\"New Site created\""));
}

// Points the desktop's trash into the test's folder while it lives.
class TrashFolder {
  public:
    explicit TrashFolder(const QString& home)
        : oldHome_(qgetenv("HOME")), oldData_(qgetenv("XDG_DATA_HOME")) {
        qputenv("HOME", home.toLocal8Bit());
        qputenv("XDG_DATA_HOME", (home + "/share").toLocal8Bit());
    }
    ~TrashFolder() {
        qputenv("HOME", oldHome_);
        oldData_.isEmpty() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", oldData_);
    }

  private:
    QByteArray oldHome_;
    QByteArray oldData_;
};

TEST_F(PointsWindowTest, EmptySiteIsDeletedAtOnceAndTheProgramEnds) {
    test::TempDataFolder home;
    TrashFolder trash(home.path());
    form->show();
    child<QListWidget>("ListBox1")->setCurrentRow(1);
    child<QAction>("Delete2")->trigger();
    EXPECT_FALSE(QFileInfo::exists(data.file("South")));
    EXPECT_TRUE(QFileInfo::exists(home.file("share/Trash/files/South")));
    EXPECT_EQ(ui.messages, QStringList{"The program needs to be closed and restarted for "
                                       "changes to take effect"});
    EXPECT_TRUE(logLines().last().endsWith("\"South\",\"Site Deleted\""));
    EXPECT_EQ(child<QListWidget>("ListBox1")->count(), 1);
    EXPECT_TRUE(form->programMustEnd());
    EXPECT_TRUE(services->closeRequested.load());
    EXPECT_FALSE(form->isVisible());
}

TEST_F(PointsWindowTest, SiteWithCheckpointsNeedsItsNameTyped) {
    test::TempDataFolder home;
    TrashFolder trash(home.path());
    seed("North", {"111111"});
    form->show();
    const auto typeName = [](const QString& name) {
        QTimer::singleShot(0, [name] {
            auto* dialog = qobject_cast<TfrmSiteDel*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->objectName(), "frmSiteDel");
            QTest::keyClicks(dialog->field(), name);
            QTest::keyClick(dialog->field(), Qt::Key_Return);
        });
    };
    typeName("Nort");
    child<QAction>("Delete2")->trigger();
    EXPECT_EQ(ui.messages, QStringList{"Site could not be removed"});
    EXPECT_TRUE(QFileInfo::exists(data.file("North/checkpt.lst")));
    EXPECT_FALSE(form->programMustEnd());
    typeName("nORTH");
    child<QAction>("Delete2")->trigger();
    EXPECT_FALSE(QFileInfo::exists(data.file("North")));
    EXPECT_TRUE(form->programMustEnd());
    EXPECT_FALSE(form->isVisible());
}

}  // namespace
}  // namespace dorodure
