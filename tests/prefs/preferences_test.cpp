// The Preferences OK action: what is written to "Dorodure.ini", what is
// logged, and the language list.
#include "prefs/preferences.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace dorodure {
namespace {

class PreferencesTest : public ::testing::Test {
  protected:
    PreferencesTest() { load({"ReportHeader=Acme", "SomeOtherKey=kept", "filetype=txt"}); }

    void load(const QStringList& ini) {
        test::writeCrlfLines(data.file("Dorodure.ini"), ini);
        settings.load();
    }
    QStringList ini() const { return test::readCrlfLines(data.file("Dorodure.ini")); }
    QStringList logActions() const {
        QStringList actions;
        const QStringList lines =
            test::readCrlfLines(data.file(TActivityLog::fileNameFor(clock.now().date())));
        for (const QString& line : lines) {
            EXPECT_TRUE(line.contains(QStringLiteral("\"All\""))) << line.toStdString();
            actions << line.section(QStringLiteral("\",\""), 2).chopped(1);
        }
        return actions;
    }
    PreferencesOutcome save(const PreferenceChoices& c,
                            const std::optional<ReportDefaultChoices>& r = std::nullopt) {
        return savePreferences(settings, log, texts, data.path(), c, r);
    }

    test::TempDataFolder data;
    ManualClock clock;
    TSettings settings{data.file("Dorodure.ini")};
    TActivityLog log{data.path(), clock};
    TLanguageTable texts;
};

TEST_F(PreferencesTest, EachCheckBoxLogsItsTextAndSetsItsKey) {
    struct Case {
        int box;
        const char* log;
        const char* line;
    };
    // Every option defaults to on except "Discard Unknown checkpoints".
    const Case cases[] = {
        {0, "Update Date Time Automatically Changed to Disabled", "UpdateDateTimeAutomatically=F"},
        {1, "Upload Dorodure Data Changed to Disabled", "UploadDorodureData=F"},
        {2, "Clear Dorodure Memory Changed to Disabled", "ClearDorodureMemory=F"},
        {3, "Generate Frequency Report Changed to Disabled", "GenerateFrequencyReport=F"},
        {4, "Open Report After Processing Changed to Disabled", "OpenReportAfterProcessing=F"},
        {5, "Discard Unknown Checkponts Changed to Enabled", "DiscardUnknownCheckpoints=T"},
        {6, "Remove Duplicate Points Changed to Disabled", "RemoveDuplicatePoints=F"},
        {7, "Secure Reports Changed to Disabled", "SecureReports=F"},
    };
    QStringList expectedLog;
    for (const Case& c : cases) {
        PreferenceChoices choices = choicesFromSettings(settings);
        choices.checks[std::size_t(c.box)] = !choices.checks[std::size_t(c.box)];
        EXPECT_EQ(save(choices).changedKeys, 1);
        expectedLog << QString::fromLatin1(c.log);
        EXPECT_TRUE(ini().contains(QString::fromLatin1(c.line))) << c.line;
        EXPECT_EQ(choicesFromSettings(settings).checks, choices.checks) << "reloaded";
    }
    EXPECT_EQ(logActions(), expectedLog);
    EXPECT_EQ(ini().mid(0, 3),
              (QStringList{"ReportHeader=Acme", "SomeOtherKey=kept", "filetype=txt"}));
}

TEST_F(PreferencesTest, TextsAndReportDefaultsAreLoggedAndSetInPlace) {
    PreferenceChoices c = choicesFromSettings(settings);
    c.reportHeader = "Beta Security";
    c.fileType = "csv";
    save(c, ReportDefaultChoices{2, 3, false});
    EXPECT_EQ(ini(), (QStringList{"ReportHeader=Beta Security", "SomeOtherKey=kept", "filetype=csv",
                                  "DefaultSite=2", "DayorNight=Day"}));
    EXPECT_EQ(logActions(),
              (QStringList{"ReportHeader Changed to Beta Security", "Filetype Changed to csv",
                           "Default report site changed to 2",
                           "Default report Day or Night changed to Disabled"}));
    // The default report type was 3 already; choosing the clocking list stores 2.
    save(choicesFromSettings(settings), ReportDefaultChoices{2, 2, true});
    EXPECT_TRUE(ini().contains("DefaultReport=2"));
    EXPECT_TRUE(ini().contains("DayorNight=Night"));
    EXPECT_EQ(settings.values().defaultReport, 2);
}

TEST_F(PreferencesTest, NoChangeWritesAndLogsNothingButRestoresMemory) {
    const QByteArray before = test::readBytes(data.file("Dorodure.ini"));
    SettingsValues v = settings.values();
    const PreferenceChoices unchanged = choicesFromSettings(settings);
    // A report's "Create PDF report" changes the value in memory only.
    v.secureReports = false;
    settings.setValues(v);
    PreferenceChoices c = choicesFromSettings(settings);
    EXPECT_EQ(save(c, ReportDefaultChoices{0, 3, true}).changedKeys, 0);
    EXPECT_EQ(test::readBytes(data.file("Dorodure.ini")), before);
    EXPECT_FALSE(QFile::exists(data.file(TActivityLog::fileNameFor(clock.now().date()))));
    EXPECT_TRUE(settings.values().secureReports);
    EXPECT_EQ(choicesFromSettings(settings).checks, unchanged.checks);
}

TEST_F(PreferencesTest, MissingKeyIsAppended) {
    load({"UpdateDateTimeAutomatically=T"});
    PreferenceChoices c = choicesFromSettings(settings);
    c.checks[7] = false;
    save(c);
    c.checks[7] = true;
    save(c);
    EXPECT_EQ(ini(), (QStringList{"UpdateDateTimeAutomatically=T", "SecureReports=T"}));
}

QStringList numberedLines(int count) {
    QStringList lines;
    for (int n = 1; n <= count; ++n) {
        lines << QStringLiteral("Line %1").arg(n);
    }
    return lines;
}

TEST_F(PreferencesTest, LanguageListHoldsOnlyFilesOf351Lines) {
    test::writeCrlfLines(data.file("English.lng"), numberedLines(351));
    test::writeCrlfLines(data.file("Deutsch.lng"), numberedLines(351));
    test::writeCrlfLines(data.file("Short.lng"), numberedLines(350));
    test::writeCrlfLines(data.file("Long.lng"), numberedLines(352));
    EXPECT_EQ(languageNames(data.path()), (QStringList{"Deutsch", "English"}));
}

TEST_F(PreferencesTest, ChosenLanguageIsStoredWithExtensionAndLoaded) {
    QStringList lines = numberedLines(351);
    test::writeCrlfLines(data.file("Deutsch.lng"), lines);
    PreferenceChoices c = choicesFromSettings(settings);
    EXPECT_EQ(c.language, QString("English"));
    c.language = "Deutsch";
    const PreferencesOutcome out = save(c);
    ASSERT_TRUE(out.languageLoadMessage.has_value());
    EXPECT_TRUE(out.languageLoadMessage->isEmpty());
    EXPECT_TRUE(ini().contains("LanguageFile=Deutsch.lng"));
    EXPECT_EQ(logActions().last(), "Language file Changed to Deutsch.lng");
    EXPECT_EQ(texts.text(23), "Line 23");
    EXPECT_EQ(texts.loadedLines(), lines);
}

}  // namespace
}  // namespace dorodure
