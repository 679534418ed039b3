#include "shell/file_error.h"
#include "sites/site_store.h"
#include "test_support.h"
#include "write_failure.h"

#include <gtest/gtest.h>

namespace dorodure {
namespace {

using test::TempDataFolder;

const QStringList kSettingsBlock{
    "Round Time  = 020",   "Rest Time   = 005",   "Num Batons  = 2",     "FP Type     = 1",
    "ST Mon      = 18h00", "FT Mon      = 06h00", "ST Tue      = 18h30", "FT Tue      = 06h30",
    "ST Wed      = 19h00", "FT Wed      = 07h00", "ST Thu      = 19h30", "FT Thu      = 07h30",
    "ST Fri      = 20h00", "FT Fri      = 08h00", "ST Sat      = 20h30", "FT Sat      = 08h30",
    "ST Sun      = 21h00", "FT Sun      = 09h00"};

QStringList fullList(const QString& site) {
    return QStringList{"//Checkpoint list for " + site, "", "123456 = Gate",
                       "0FA500 #  Baton booted up", ""} +
           kSettingsBlock + QStringList{"", "//End of File"};
}

TSiteSettings fullSettings() {
    TSiteSettings s;
    s.roundTime = "020";
    s.restTime = "005";
    s.numBatons = "2";
    s.failedPatrolType = 1;
    const char* starts[] = {"18h00", "18h30", "19h00", "19h30", "20h00", "20h30", "21h00"};
    const char* ends[] = {"06h00", "06h30", "07h00", "07h30", "08h00", "08h30", "09h00"};
    for (std::size_t d = 0; d < 7; ++d) {
        s.startTimes[d] = starts[d];
        s.finishTimes[d] = ends[d];
    }
    return s;
}

class CheckpointListTest : public ::testing::Test {
  protected:
    CheckpointListTest() : store(data.path()) {
        data.mkdir("North");
        store.loadSites();
    }
    QString listFile() const { return data.file("North/checkpt.lst"); }
    TempDataFolder data;
    TSiteStore store;
};

TEST_F(CheckpointListTest, ReadsCheckpointsAndSettings) {
    test::writeCrlfLines(listFile(), fullList("North"));
    const CheckpointList list = store.readCheckpointList("North");
    ASSERT_EQ(list.checkpoints.size(), 2u);
    EXPECT_EQ(list.checkpoints[0], (TCheckpoint{"123456", u'=', "Gate"}));
    EXPECT_EQ(list.checkpoints[1], (TCheckpoint{"0FA500", u'#', " Baton booted up"}));
    EXPECT_EQ(list.settings, fullSettings());
}

TEST_F(CheckpointListTest, SettingsValuesAreNormalisedByPosition) {
    // The labels are not looked at: the settings start after the line that
    // ended the checkpoints, here a short line rather than an empty one.
    test::writeCrlfLines(listFile(), {"//x", "", "123456 = Gate", "short", "Round Time  = 15",
                                      "Rest Time   = ", "Num Batons  = 37 more", "FP Type     = 2x",
                                      "ST Mon      = 7h30", "FT Mon      =   h  ", "ST Tue",
                                      "FT Tue      = 0", "Whatever    = 123456"});
    const CheckpointList list = store.readCheckpointList("North");
    ASSERT_EQ(list.checkpoints.size(), 1u);
    const TSiteSettings& s = list.settings;
    EXPECT_EQ(s.roundTime, QString("015"));
    EXPECT_EQ(s.restTime, QString("000"));
    EXPECT_EQ(s.numBatons, QString("3"));
    EXPECT_EQ(s.failedPatrolType, 2);
    EXPECT_EQ(s.startTimes[0], QString("07h30"));
    EXPECT_EQ(s.finishTimes[0], QString("00h00"));
    EXPECT_EQ(s.startTimes[1], QString("00h00"));
    EXPECT_EQ(s.finishTimes[1], QString("00h00"));
    EXPECT_EQ(s.startTimes[2], QString("12h456"));
    EXPECT_EQ(s.finishTimes[6], QString("00h00"));  // beyond the end of the file
}

TEST_F(CheckpointListTest, ListWithoutSettingsReadsTheMissingLineValues) {
    test::writeCrlfLines(listFile(), {"//Checkpoint list for Dorodure", "", "", "//End of file"});
    const CheckpointList list = store.readCheckpointList("North");
    EXPECT_TRUE(list.checkpoints.empty());
    EXPECT_EQ(list.settings, TSiteSettings());
    EXPECT_EQ(list.settings.roundTime, QString("000"));
    EXPECT_EQ(list.settings.numBatons, QString("0"));
    EXPECT_EQ(list.settings.finishTimes[6], QString("00h00"));
}

TEST_F(CheckpointListTest, MissingListIsCreatedWithTheSiteName) {
    const CheckpointList list = store.readCheckpointList("North");
    EXPECT_TRUE(list.checkpoints.empty());
    EXPECT_EQ(list.settings, TSiteSettings());
    EXPECT_EQ(test::readCrlfLines(listFile()),
              (QStringList{"//Checkpoint list for North", "", "", "//End of File"}));
}

TEST_F(CheckpointListTest, WriteProducesTheFileLayoutAndReadsBack) {
    const std::vector<TCheckpoint> points{{"123456", u'=', "Gate"},
                                          {"0FA500", u'#', " Baton booted up"}};
    store.writeCheckpointList("North", points, fullSettings());
    EXPECT_EQ(test::readCrlfLines(listFile()), fullList("North"));
    EXPECT_TRUE(test::readBytes(listFile()).endsWith("//End of File\r\n"));

    // The editor's unset times are written as they stand.
    store.writeCheckpointList("North", {}, TSiteSettings::editorDefaults());
    const QStringList lines = test::readCrlfLines(listFile());
    EXPECT_EQ(lines.mid(3, 4), (QStringList{"Round Time  = 015", "Rest Time   = 010",
                                            "Num Batons  = 1", "FP Type     = 0"}));
    EXPECT_EQ(lines[7], QString("ST Mon      =   h  "));
    EXPECT_EQ(store.readCheckpointList("North").settings.startTimes[0], QString("00h00"));
}

TEST_F(CheckpointListTest, WriteKeepsCheckpointsWithEmptyNamesOrShortIds) {
    const std::vector<TCheckpoint> points{
        {"111111", u'=', ""}, {"12", u'=', "Short id"}, {"333333", u'=', "Two\r\nlines"}};
    store.writeCheckpointList("North", points, fullSettings());
    const CheckpointList back = store.readCheckpointList("North");
    ASSERT_EQ(back.checkpoints.size(), 3u);
    EXPECT_EQ(back.checkpoints[0], (TCheckpoint{"111111", u'=', " "}));
    EXPECT_EQ(back.checkpoints[1], (TCheckpoint{"12    ", u'=', "Short id"}));
    EXPECT_EQ(back.checkpoints[2].locationName, QString("Two  lines"));
    EXPECT_EQ(back.settings, fullSettings());
}

TEST_F(CheckpointListTest, InsertIntoAnEmptyList) {
    test::writeCrlfLines(listFile(), {"//Checkpoint list for Dorodure", "", "", "//End of file"});
    store.insertCheckpoint("North", "ABC123", "Unknown checkpoint");
    const QStringList expected{"//Checkpoint list for Dorodure", "", "ABC123 = Unknown checkpoint",
                               "", "//End of file"};
    EXPECT_EQ(test::readCrlfLines(listFile()), expected);
    EXPECT_EQ(test::readCrlfLines(data.file("checkpt.$$$")), expected);
}

TEST_F(CheckpointListTest, InsertAddsAfterTheLastCheckpointAndKeepsTheRest) {
    test::writeCrlfLines(listFile(), fullList("North"));
    store.insertCheckpoint("North", "0FA505", " Data removed from unit");
    QStringList expected = fullList("North");
    expected.insert(4, "0FA505 =  Data removed from unit");
    EXPECT_EQ(test::readCrlfLines(listFile()), expected);
    const CheckpointList back = store.readCheckpointList("North");
    ASSERT_EQ(back.checkpoints.size(), 3u);
    EXPECT_EQ(back.checkpoints[2].id, QString("0FA505"));
    EXPECT_EQ(back.settings, fullSettings());
}

TEST_F(CheckpointListTest, InsertIntoAMissingListCreatesItFirst) {
    store.insertCheckpoint("North", "ABC123", "Gate");
    EXPECT_EQ(test::readCrlfLines(listFile()), (QStringList{"//Checkpoint list for Dorodure", "",
                                                            "ABC123 = Gate", "", "//End of file"}));
}

TEST_F(CheckpointListTest, FailedRewriteLeavesTheOldListAndThrows) {
    test::writeCrlfLines(listFile(), {"//Checkpoint list for North", "", "123456 = Gate"});
    const QByteArray before = test::readBytes(listFile());
    {
        test::FileSizeLimit limit(64);
        EXPECT_THROW(store.writeCheckpointList("North", {}, fullSettings()), FileError);
        EXPECT_THROW(store.insertCheckpoint("North", "654321", QString(80, u'x')), FileError);
    }
    EXPECT_EQ(test::readBytes(listFile()), before);
    if (test::ReadOnlyFolder::effective()) {
        test::ReadOnlyFolder locked(data.file("North"));
        EXPECT_THROW(store.writeCheckpointList("North", {}, fullSettings()), FileError);
        EXPECT_EQ(test::readBytes(listFile()), before);
    }
}

}  // namespace
}  // namespace dorodure
