#include "sites/site_store.h"
#include "shell/language_table.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

using test::TempDataFolder;

QStringList folderEntries(const QString& path) {
    return QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

TEST(SiteStore, LoadSitesSortsWithoutCaseAndSkipsHiddenFolders) {
    TempDataFolder data;
    for (const char* name : {"Beta", "alpha", "Common", ".config"}) {
        data.mkdir(QString::fromLatin1(name));
    }
    test::writeBytes(data.file("Aaa.txt"), "not a folder");
    QStringList traces;
    TSiteStore store(data.path(), [&](const QString& t) { traces << t; });

    store.loadSites();

    EXPECT_EQ(store.sites(), (QStringList{"alpha", "Beta", "Common"}));
    EXPECT_EQ(store.commonSiteIndex(), 2);
    EXPECT_EQ(traces, (QStringList{"got current directory " + data.path(), "filtered out root dir",
                                   "finished loading all sites liteboxes"}));
}

TEST(SiteStore, CreateSiteAppendsTheSiteWithItsRawFolder) {
    TempDataFolder data;
    data.mkdir("West");
    TSiteStore store(data.path());
    store.loadSites();

    ASSERT_TRUE(store.createSite("North Gate"));
    EXPECT_EQ(store.sites(), (QStringList{"West", "North Gate"}));
    EXPECT_TRUE(QFileInfo(data.file("North Gate/Raw")).isDir());
    // An existing site, also in another case, is not created again.
    EXPECT_FALSE(store.createSite("west"));
    EXPECT_FALSE(store.createSite("North Gate"));
    EXPECT_EQ(store.siteCount(), 2);
}

TEST(SiteStore, NamesThatWouldLeaveOrHideTheSiteAreRefused) {
    const QStringList refused{"",
                              "   ",
                              ".",
                              "..",
                              ".hidden",
                              "a/b",
                              "../escape",
                              "a\\b",
                              "tab\there",
                              "line\nbreak",
                              "bell\x07",
                              QString("del") + QChar(0x7F),
                              QString("omega") + QChar(0x3A9)};
    TempDataFolder data;
    data.mkdir("inner");
    TSiteStore store(QDir(data.path()).filePath("inner"));
    store.loadSites();
    for (const QString& name : refused) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(TSiteStore::isValidSiteName(name));
        EXPECT_FALSE(store.createSite(name));
    }
    EXPECT_TRUE(store.sites().isEmpty());
    EXPECT_TRUE(folderEntries(data.file("inner")).isEmpty());
    EXPECT_EQ(folderEntries(data.path()), QStringList{"inner"});
    EXPECT_TRUE(TSiteStore::isValidSiteName(QString("Caf") + QChar(0xE9) + " 2"));
}

TEST(SiteStore, CreateSiteInteractiveAsksAndReportsFailures) {
    TempDataFolder data;
    TLanguageTable texts;
    texts.loadDefaults();
    TSiteStore store(data.path());
    store.loadSites();
    test::ScriptedInteraction ui;
    ui.textAnswers = {std::nullopt, QString(), QString("North"), QString("../up"),
                      QString("NORTH")};

    EXPECT_EQ(store.createSiteInteractive(ui, texts), QString());  // cancel
    EXPECT_EQ(store.createSiteInteractive(ui, texts), QString());  // empty answer
    EXPECT_EQ(store.createSiteInteractive(ui, texts), QString("North"));
    EXPECT_EQ(store.createSiteInteractive(ui, texts), QString());
    EXPECT_EQ(store.createSiteInteractive(ui, texts), QString());

    EXPECT_EQ(ui.questions.first(), QString("New Site|Enter in the New Site Name"));
    EXPECT_EQ(ui.messages, (QStringList{"Could Not Create the new site ../up",
                                        "Could Not Create the new site NORTH"}));
    EXPECT_EQ(store.sites(), QStringList{"North"});
    EXPECT_EQ(folderEntries(data.path()), QStringList{"North"});
}

TEST(SiteStore, RebuildCreatesMissingFilesAndLoadsIdsUpToAShortLine) {
    TempDataFolder data;
    data.mkdir("A");
    data.mkdir("B");
    test::writeCrlfLines(data.file("A/checkpt.lst"),
                         {"//Checkpoint list for A", "", "123456 = Gate", "ABCDEF", "12345",
                          "999999 = Beyond the end"});
    QStringList traces;
    TSiteStore store(data.path(), [&](const QString& t) { traces << t; });
    store.loadSites();

    store.rebuildSiteIds();

    // A line of 6 characters enters the table; one of 5 ends it.
    EXPECT_EQ(store.siteIds().ids(0), (QStringList{"123456", "ABCDEF"}));
    EXPECT_EQ(store.siteIds().slot(0, 2), QString("zzzzzz"));
    EXPECT_TRUE(store.siteIds().ids(1).isEmpty());
    EXPECT_EQ(store.siteIds().slot(1, 0), QString("zzzzzz"));
    EXPECT_EQ(test::readBytes(data.file("B/checkpt.lst")),
              QByteArray("//Checkpoint list for Dorodure\r\n\r\n\r\n//End of file\r\n"));
    EXPECT_TRUE(QFileInfo(data.file("A/Raw")).isDir());
    EXPECT_TRUE(QFileInfo(data.file("B/Raw")).isDir());
    EXPECT_EQ(traces.last(), QString("finished creating lst files if nesisarry"));
}

TEST(SiteStore, ListAndRawFolderAreFoundInAnyCase) {
    TempDataFolder data;
    data.mkdir("A/raw");
    // Lines ended by LF alone read like CR LF lines.
    test::writeBytes(data.file("A/Checkpt.lst"), "//Checkpoint list for A\n\n654321 = Door\n");
    TSiteStore store(data.path());
    store.loadSites();

    store.rebuildSiteIds();

    EXPECT_EQ(store.checkpointListPath("A"), data.file("A/Checkpt.lst"));
    EXPECT_EQ(store.dayFilePath("A", "091215"), data.file("A/raw/091215.txt"));
    EXPECT_EQ(folderEntries(data.file("A")), (QStringList{"Checkpt.lst", "raw"}));
    EXPECT_EQ(store.siteIds().ids(0), QStringList{"654321"});
    EXPECT_EQ(store.readCheckpointList("A").checkpoints.at(0).locationName, QString("Door"));
    // A site without a list gets it under the lower-case name.
    data.mkdir("B");
    store.loadSites();
    EXPECT_EQ(store.checkpointListPath("B"), data.file("B/checkpt.lst"));
}

TEST(SiteStore, ManySitesAndIdsHaveNoFixedLimit) {
    TempDataFolder data;
    QStringList many{"//Checkpoint list for s000", ""};
    for (int i = 0; i < 300; ++i) {
        many << QString("%1 = Point %2").arg(i, 6, 16, QChar('0')).toUpper().arg(i);
    }
    test::writeCrlfLines(data.file("s000/checkpt.lst"), many);
    for (int s = 1; s < 300; ++s) {
        test::writeCrlfLines(data.file(QString("s%1/checkpt.lst").arg(s, 3, 10, QChar('0'))),
                             {"//Checkpoint list", "", "00012B = Shared"});
    }
    TSiteStore store(data.path());
    store.loadSites();
    store.rebuildSiteIds();

    const SiteIds& ids = store.siteIds();
    ASSERT_EQ(ids.siteCount(), 300);
    EXPECT_EQ(ids.ids(0).size(), 300);
    EXPECT_EQ(ids.slot(0, 299), QString("00012B"));
    EXPECT_EQ(ids.slot(0, 300), QString("zzzzzz"));
    EXPECT_EQ(ids.slot(299, 1), QString("zzzzzz"));
    std::vector<int> expected(300);
    for (int s = 0; s < 300; ++s) {
        expected[std::size_t(s)] = s;
    }
    EXPECT_EQ(ids.matches("00012B"), expected);
}

TEST(SiteIds, MatchesGiveOneEntryPerSlotInSiteOrder) {
    SiteIds ids;
    ids.setSite(0, {"AAAAAA", "BBBBBB", "AAAAAA"});
    ids.setSite(2, {"AAAAAA", "CCCCCC"});
    ids.setSite(1, {"CCCCCC"});

    EXPECT_EQ(ids.matches("AAAAAA"), (std::vector<int>{0, 0, 2}));
    EXPECT_EQ(ids.matches("CCCCCC"), (std::vector<int>{1, 2}));
    EXPECT_TRUE(ids.matches("DDDDDD").empty());

    // Replacing an earlier site keeps the order of the others.
    ids.setSite(0, {"CCCCCC"});
    EXPECT_EQ(ids.matches("AAAAAA"), (std::vector<int>{2}));
    EXPECT_EQ(ids.matches("CCCCCC"), (std::vector<int>{0, 1, 2}));
    ids.clear();
    EXPECT_TRUE(ids.matches("CCCCCC").empty());
    EXPECT_EQ(ids.siteCount(), 0);
}

}  // namespace
}  // namespace dorodure
