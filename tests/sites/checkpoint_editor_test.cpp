// The checkpoint editor without its window: adding by hand and from the
// station, deleting, moving, the separator, View List and the site list.
#include "sites/checkpoint_editor.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "sites/site_store.h"
#include "test_support.h"

#include <QFileInfo>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

using test::TempDataFolder;

const QDateTime kNow(QDate(2009, 5, 12), QTime(14, 3, 22));

// Points the desktop's trash into a folder of its own while it lives.
class TrashFolder {
  public:
    TrashFolder() : oldHome_(qgetenv("HOME")), oldData_(qgetenv("XDG_DATA_HOME")) {
        qputenv("HOME", home_.path().toLocal8Bit());
        qputenv("XDG_DATA_HOME", home_.mkdir("share").toLocal8Bit());
    }
    ~TrashFolder() {
        qputenv("HOME", oldHome_);
        oldData_.isEmpty() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", oldData_);
    }
    QString trashed(const QString& name) const { return home_.file("share/Trash/files/" + name); }

  private:
    TempDataFolder home_;
    QByteArray oldHome_;
    QByteArray oldData_;
};

class CheckpointEditorTest : public ::testing::Test {
  protected:
    CheckpointEditorTest() : clock(kNow), store(data.path()), log(data.path(), clock) {
        data.mkdir("North");
        data.mkdir("South");
        store.loadSites();
        editor = std::make_unique<CheckpointEditor>(CheckpointEditor::Services{
            store, log, texts, ui, [this](const QString& line) { traces << line; }});
    }
    QStringList listLines(const QString& site = "North") const {
        return test::readCrlfLines(data.file(site + "/checkpt.lst"));
    }
    QStringList logLines() const {
        QStringList out;
        for (const QString& line :
             test::readCrlfLines(data.file(TActivityLog::fileNameFor(kNow.date())))) {
            out << line.mid(QStringLiteral("\"2009/05/12 14:03.22\",").size());
        }
        return out;
    }
    QStringList ids() const {
        QStringList out;
        for (const EditorRow& row : editor->rows()) {
            out << row.checkpoint.id + row.checkpoint.flag;
        }
        return out;
    }
    void seed(const QStringList& idList) {
        std::vector<TCheckpoint> cps;
        for (const QString& id : idList) {
            cps.push_back({id, u'=', "Name " + id});
        }
        store.writeCheckpointList("North", cps, TSiteSettings::editorDefaults());
        editor->open(0);
    }

    TempDataFolder data;
    ManualClock clock;
    TSiteStore store;
    TActivityLog log;
    TLanguageTable texts;
    test::ScriptedInteraction ui;
    QStringList traces;
    std::unique_ptr<CheckpointEditor> editor;
};

TEST(TypedId, Normalised) {
    const std::vector<std::pair<QString, QString>> cases = {
        {"i0abcd", "10ABCD"},
        {"lLoOiI", "110011"},
        {"abcdefgh", "ABCDEF"},
        {"G0Z9", "G0Z9"},
        {"", ""},
    };
    for (const auto& [typed, id] : cases) {
        EXPECT_EQ(normaliseTypedId(typed), id) << typed.toStdString();
    }
}

TEST_F(CheckpointEditorTest, OpeningLoadsTheFirstSiteAndItsSeparator) {
    store.writeCheckpointList("North", {{"111111", u'=', "Gate"}, {"222222", u'#', "Door"}},
                              TSiteSettings::editorDefaults());
    editor->open();
    EXPECT_EQ(editor->selectedSiteName(), "North");
    EXPECT_EQ(editor->rows().size(), 2u);
    EXPECT_EQ(editor->rows()[1].number, 2);
    EXPECT_EQ(editor->separatorEntries(), (QStringList{"none", "(111111) Gate", "(222222) Door"}));
    EXPECT_EQ(editor->separatorIndex(), 2);
    EXPECT_EQ(editor->settings().roundTime, "015");
}

TEST_F(CheckpointEditorTest, TypedIdsAreAddedEveryTimeAndSaved) {
    editor->open(0);
    ASSERT_EQ(editor->addTypedId("000000"), 0);
    ASSERT_EQ(editor->addTypedId("10ABCD"), 1);
    ASSERT_EQ(editor->addTypedId("10ABCD"), 2);
    EXPECT_FALSE(editor->addTypedId("      "));
    EXPECT_FALSE(editor->addTypedId(""));
    EXPECT_EQ(editor->currentRow(), 2);
    EXPECT_EQ(listLines().mid(2, 4),
              (QStringList{"000000 = ------ Baton Uploaded ------", "10ABCD = Unknown checkpoint",
                           "10ABCD = Unknown checkpoint", ""}));
    EXPECT_EQ(logLines().at(0), "\"North\",\"New Id Button Added (000000) Unknown checkpoint\"");
    EXPECT_EQ(logLines().size(), 3);
}

TEST_F(CheckpointEditorTest, StationIdsAreAddedOnceAndInsertedIntoTheFile) {
    editor->preselect(0);  // selected at start-up, never shown
    EXPECT_FALSE(editor->addStationId("000000"));
    EXPECT_EQ(editor->addStationId("0FA500"), 0);
    EXPECT_FALSE(editor->addStationId("0FA500"));
    EXPECT_EQ(ids(), QStringList{"0FA500="});
    EXPECT_EQ(listLines().mid(2, 2), (QStringList{"0FA500 = Unknown checkpoint", ""}));
    EXPECT_EQ(logLines(),
              QStringList{"\"North\",\"New Id Button Added (0FA500) Unknown checkpoint\""});
    EXPECT_EQ(traces, QStringList{"Button added"});
}

TEST_F(CheckpointEditorTest, HiddenEditorChecksStationIdsAgainstTheFile) {
    editor->open(0);
    // Processing adds a checkpoint to the file while the editor is closed.
    store.insertCheckpoint("North", "123456", "7 Unknown checkpoint");
    EXPECT_FALSE(editor->addStationId("123456"));
    EXPECT_EQ(editor->addStationId("654321"), 1);
    EXPECT_EQ(ids(), (QStringList{"123456=", "654321="}));
}

TEST_F(CheckpointEditorTest, StationIdWithoutSelectedSiteIsIgnored) {
    EXPECT_FALSE(editor->addStationId("0FA500"));
    EXPECT_TRUE(logLines().isEmpty());
}

TEST_F(CheckpointEditorTest, DeletingSelectedRowsLogsEachRow) {
    seed({"111111", "222222", "333333", "444444"});
    ui.confirmAnswers = {false, true};
    EXPECT_FALSE(editor->deleteRows({0, 2, 3}));
    EXPECT_EQ(editor->rows().size(), 4u);
    EXPECT_TRUE(editor->deleteRows({3, 0, 2}));
    EXPECT_EQ(ids(), QStringList{"222222="});
    EXPECT_EQ(editor->rows()[0].number, 2);  // numbers stay until reloaded
    EXPECT_EQ(ui.questions.size(), 2);
    EXPECT_EQ(logLines(), (QStringList{"\"North\",\"Id Button Deleted (111111) Name 111111\"",
                                       "\"North\",\"Id Button Deleted (333333) Name 333333\"",
                                       "\"North\",\"Id Button Deleted (444444) Name 444444\""}));
    EXPECT_EQ(listLines().mid(2, 2), (QStringList{"222222 = Name 222222", ""}));
}

TEST_F(CheckpointEditorTest, MovingSwapsRowsAndAlwaysSaves) {
    seed({"111111", "222222", "333333"});
    editor->setCurrentRow(1);
    editor->moveUp();
    EXPECT_EQ(editor->currentRow(), 0);
    EXPECT_EQ(ids(), (QStringList{"222222=", "111111=", "333333="}));
    EXPECT_EQ(editor->rows()[0].number, 1);
    // The first row up changes nothing but writes the list again.
    test::writeCrlfLines(data.file("North/checkpt.lst"), {"scribbled"});
    editor->moveUp();
    EXPECT_EQ(ids(), (QStringList{"222222=", "111111=", "333333="}));
    EXPECT_EQ(listLines().mid(2, 3), (QStringList{"222222 = Name 222222", "111111 = Name 111111",
                                                  "333333 = Name 333333"}));
    editor->setCurrentRow(2);
    editor->moveDown();
    EXPECT_EQ(editor->currentRow(), 2);
    editor->setCurrentRow(1);
    editor->moveDown();
    EXPECT_EQ(ids(), (QStringList{"222222=", "333333=", "111111="}));
}

TEST_F(CheckpointEditorTest, SeparatorMarksExactlyTheChosenId) {
    seed({"111111", "123456", "333333", "123456"});
    editor->chooseSeparator("(123456) Gate");
    EXPECT_EQ(ids(), (QStringList{"111111=", "123456#", "333333=", "123456#"}));
    EXPECT_EQ(listLines().at(3), "123456 # Name 123456");
    editor->chooseSeparator(editor->separatorEntries().at(3));
    EXPECT_EQ(ids(), (QStringList{"111111=", "123456=", "333333#", "123456="}));
    editor->chooseSeparator("none");
    EXPECT_EQ(ids(), (QStringList{"111111=", "123456=", "333333=", "123456="}));
}

TEST_F(CheckpointEditorTest, ViewListPrintsTheListAndOpensIt) {
    store.writeCheckpointList("North",
                              {{"123456", u'=', "Gate"}, {"00AB12", u'=', "5 Unknown checkpoint"}},
                              TSiteSettings::editorDefaults());
    ASSERT_TRUE(editor->viewList("www.example.com", kNow));  // none selected: the first site
    const QStringList lines = test::readCrlfLines(data.file("List.txt"));
    ASSERT_EQ(lines.size(), 18);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "     Check Point List for  North");
    EXPECT_TRUE(lines[2].startsWith("     Printed on  "));
    EXPECT_TRUE(lines[2].contains(" at  "));
    EXPECT_EQ(
        lines.mid(4, 3),
        (QStringList{"  +========+=========================================", "  |Id     | Name",
                     "  +========+========================================="}));
    EXPECT_EQ(lines.mid(7, 4),
              (QStringList{"  |        |", "  | 123456 |", "  |        | Gate",
                           "  +--------+-----------------------------------------"}));
    EXPECT_EQ(lines[13], "  |        | 5");
    EXPECT_EQ(lines.mid(15), (QStringList{"", "End of File", "www.example.com"}));
    EXPECT_EQ(ui.opened, QStringList{data.file("List.txt")});
}

TEST(PrintedName, OnlyShortPrefixesOfTheUnknownName) {
    const TLanguageTable texts;
    const std::vector<std::pair<QString, QString>> cases = {
        {"5 Unknown checkpoint", "5"},
        {"12 Unknown checkpoint", "12"},
        {"123 Unknown checkpoint", "123 Unknown checkpoint"},
        {"Unknown checkpoint", "Unknown checkpoint"},
        {"Gate", "Gate"},
    };
    for (const auto& [name, printed] : cases) {
        EXPECT_EQ(CheckpointEditor::printedName(name, texts), printed) << name.toStdString();
    }
}

TEST_F(CheckpointEditorTest, ViewListWithoutListWritesNothing) {
    editor->preselect(1);
    EXPECT_FALSE(editor->viewList("web", kNow));
    EXPECT_FALSE(QFileInfo::exists(data.file("List.txt")));
    EXPECT_TRUE(ui.opened.isEmpty());
}

TEST_F(CheckpointEditorTest, EmptySiteIsDeletedAtOnce) {
    TrashFolder trash;
    editor->open(1);
    EXPECT_EQ(editor->requestSiteDeletion(), CheckpointEditor::SiteDeletion::Deleted);
    EXPECT_FALSE(QFileInfo::exists(data.file("South")));
    EXPECT_TRUE(QFileInfo::exists(trash.trashed("South")));
    EXPECT_EQ(ui.messages, QStringList{"The program needs to be closed and restarted for "
                                       "changes to take effect"});
    EXPECT_EQ(logLines(), QStringList{"\"South\",\"Site Deleted\""});
    EXPECT_EQ(editor->sites(), QStringList{"North"});
    EXPECT_EQ(editor->selectedSite(), -1);
    editor->close();  // saves nothing: the folder is not made again
    EXPECT_FALSE(QFileInfo::exists(data.file("South")));
}

TEST_F(CheckpointEditorTest, SiteWithCheckpointsNeedsItsNameTyped) {
    TrashFolder trash;
    seed({"111111"});
    EXPECT_EQ(editor->requestSiteDeletion(), CheckpointEditor::SiteDeletion::NeedsConfirmation);
    EXPECT_EQ(editor->confirmSiteDeletion("Nort"), CheckpointEditor::SiteDeletion::Refused);
    EXPECT_EQ(ui.messages, QStringList{"Site could not be removed"});
    EXPECT_TRUE(QFileInfo::exists(data.file("North/checkpt.lst")));
    EXPECT_EQ(editor->confirmSiteDeletion("nORTH"), CheckpointEditor::SiteDeletion::Deleted);
    EXPECT_TRUE(QFileInfo::exists(trash.trashed("North/checkpt.lst")));
    EXPECT_EQ(editor->sites(), QStringList{"South"});
    editor->syncSites();  // the store keeps the name; the editor does not list it again
    EXPECT_EQ(editor->sites(), QStringList{"South"});
}

TEST_F(CheckpointEditorTest, CreatedSiteIsListedNotSelectedAndEntersTheIdTable) {
    seed({"111111"});
    ui.textAnswers = {QString("East")};
    EXPECT_EQ(editor->createSite(), "East");
    EXPECT_EQ(editor->sites(), (QStringList{"North", "South", "East"}));
    EXPECT_EQ(editor->selectedSiteName(), "North");
    EXPECT_EQ(logLines(), QStringList{"\"East\",\"New Site created\""});
    EXPECT_EQ(store.siteIds().ids(0), QStringList{"111111"});
    EXPECT_TRUE(QFileInfo::exists(data.file("East/checkpt.lst")));
}

TEST_F(CheckpointEditorTest, ClosingSavesNamesAndSettingsAndRefreshesIds) {
    seed({"111111"});
    editor->setCurrentRow(0);
    editor->setLocationName(0, "Front gate");
    TSiteSettings s = editor->settings();
    s.roundTime = "030";
    editor->setSettings(s);
    editor->addTypedId("222222");
    editor->close();
    const CheckpointList list = store.readCheckpointList("North");
    EXPECT_EQ(list.checkpoints.at(0).locationName, "Front gate");
    EXPECT_EQ(list.settings.roundTime, "030");
    EXPECT_EQ(store.siteIds().ids(0), (QStringList{"111111", "222222"}));
}

}  // namespace
}  // namespace dorodure
