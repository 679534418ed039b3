#include "shell/settings.h"
#include "shell/file_error.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>
#include <thread>

using namespace dorodure;
using dorodure::test::TempDataFolder;

namespace {

QString iniIn(const TempDataFolder& dir) {
    return dir.file(QStringLiteral("Dorodure.ini"));
}

void expectDefaults(const SettingsValues& v) {
    EXPECT_TRUE(v.updateDateTimeAutomatically);
    EXPECT_TRUE(v.uploadDorodureData);
    EXPECT_TRUE(v.clearDorodureMemory);
    EXPECT_TRUE(v.generateFrequencyReport);
    EXPECT_TRUE(v.openReportAfterProcessing);
    EXPECT_FALSE(v.discardUnknownCheckpoints);
    EXPECT_TRUE(v.removeDuplicatePoints);
    EXPECT_TRUE(v.secureReports);
    EXPECT_EQ(v.reportHeader, "Dorodure");
    EXPECT_EQ(v.reportFooter, QString::fromLatin1(kDefaultWebAddress));
    EXPECT_EQ(v.aboutWeb, QString::fromLatin1(kDefaultWebAddress));
    EXPECT_FALSE(v.aboutWeb.isEmpty());
    EXPECT_EQ(v.languageFile, "English.lng");
    EXPECT_EQ(v.commPort, 0);
    EXPECT_EQ(v.dayOrNight, "Night");
    EXPECT_EQ(v.defaultReport, 3);
    EXPECT_EQ(v.defaultSite, 0);
    EXPECT_EQ(v.fileType, "txt");
}

// Makes every file write beyond `bytes` fail, as a full disk would, for the
// life of the object (works for root, unlike a read-only folder).
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

  private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

}  // namespace

TEST(Settings, MissingOrEmptyFileGivesEveryDefaultAndStaysEmpty) {
    for (bool createFirst : {false, true}) {
        SCOPED_TRACE(createFirst ? "empty file" : "missing file");
        TempDataFolder dir;
        if (createFirst) {
            test::writeBytes(iniIn(dir), {});
        }
        TSettings settings(iniIn(dir));
        QStringList traces;
        settings.load([&](const QString& t) { traces << t; });

        expectDefaults(settings.values());
        ASSERT_TRUE(QFileInfo::exists(iniIn(dir)));
        EXPECT_EQ(QFileInfo(iniIn(dir)).size(), 0);
        EXPECT_EQ(traces, (QStringList{"Start loadsetup", "finished created Dorodure ini",
                                       "Set defaults", "finished ini file load"}));
    }
}

TEST(Settings, ReadsKeysByTheFileRules) {
    TempDataFolder dir;
    test::writeCrlfLines(iniIn(dir), {
                                         "some line without a key",
                                         "updatedatetimeautomatically=T",
                                         "UploadDorodureData=t",
                                         "ClearDorodureMemory=T ",
                                         "DiscardUnknownCheckpoints=T",
                                         "SecureReports=",
                                         "ReportHeader= Acme = Guards ",
                                         "REPORTHEADER=second line loses",
                                         "CommPort=7",
                                         "CommPort=9",
                                         "DefaultReport=two",
                                         "DefaultSite=12",
                                         "DayorNight=Day",
                                         "FILETYPE=csv",
                                         "MyOwnKey=kept",
                                     });
    TSettings settings(iniIn(dir));
    settings.load();
    const SettingsValues v = settings.values();

    EXPECT_TRUE(v.updateDateTimeAutomatically);  // key in any letter case
    EXPECT_FALSE(v.uploadDorodureData);          // only "T" is true
    EXPECT_FALSE(v.clearDorodureMemory);         // no trimming of values
    EXPECT_TRUE(v.discardUnknownCheckpoints);
    EXPECT_FALSE(v.secureReports);
    EXPECT_EQ(v.reportHeader, " Acme = Guards ");  // after the first "=", untrimmed
    EXPECT_EQ(v.commPort, 7);                      // first line wins
    EXPECT_EQ(v.defaultReport, 3);                 // not a number: the default stays
    EXPECT_EQ(v.defaultSite, 12);
    EXPECT_EQ(v.dayOrNight, "Day");
    EXPECT_EQ(v.fileType, "csv");
    EXPECT_TRUE(v.generateFrequencyReport);  // missing keys keep their defaults
    EXPECT_EQ(settings.rawValue("myownkey"), "kept");
    EXPECT_EQ(settings.rawValue("Absent", "dflt"), "dflt");
}

TEST(Settings, WriteKeyReplacesInPlaceOrAppendsAndKeepsOtherLines) {
    TempDataFolder dir;
    test::writeCrlfLines(iniIn(dir), {"ReportHeader=Acme", "# a remark", "commport=2", "CommPort=5",
                                      "filetype=txt"});
    TSettings settings(iniIn(dir));
    settings.load();

    settings.writeKey("CommPort", "4");
    settings.writeKey("SecureReports", "F");
    EXPECT_EQ(test::readCrlfLines(iniIn(dir)),
              (QStringList{"ReportHeader=Acme", "# a remark", "CommPort=4", "CommPort=5",
                           "filetype=txt", "SecureReports=F"}));
    EXPECT_TRUE(test::readBytes(iniIn(dir)).endsWith("SecureReports=F\r\n"));
    EXPECT_EQ(settings.values().commPort, 2);  // memory is the caller's business

    settings.writeKeys({{"ReportHeader", "New\r\nCommPort=9"}, {"DefaultSite", "1"}});
    TSettings reread(iniIn(dir));
    reread.load();
    EXPECT_EQ(reread.values().reportHeader, "NewCommPort=9");
    EXPECT_EQ(reread.values().commPort, 4);
    EXPECT_EQ(reread.values().defaultSite, 1);
    EXPECT_EQ(test::readCrlfLines(iniIn(dir)).size(), 7);
}

TEST(Settings, FailedWriteLeavesTheOldFileAndThrows) {
    TempDataFolder dir;
    const QByteArray before = test::crlf({"ReportHeader=Acme", "CommPort=3"});
    test::writeBytes(iniIn(dir), before);
    TSettings settings(iniIn(dir));
    settings.load();

    {
        FileSizeLimit limit(4096);
        EXPECT_THROW(settings.writeKey("ReportHeader", QString(10000, QLatin1Char('x'))),
                     FileError);
    }
    EXPECT_EQ(test::readBytes(iniIn(dir)), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"Dorodure.ini"});
}

TEST(Settings, ConcurrentWritesFromTwoThreadsLoseNoKey) {
    TempDataFolder dir;
    TSettings window(iniIn(dir));
    TSettings comms(iniIn(dir));
    window.load();
    constexpr int kWrites = 150;
    auto writer = [](TSettings& s, const QString& prefix) {
        for (int i = 0; i < kWrites; ++i) {
            s.writeKey(prefix + QString::number(i), QString::number(i));
        }
    };
    std::thread a(writer, std::ref(window), QStringLiteral("Window"));
    std::thread b(writer, std::ref(comms), QStringLiteral("Comms"));
    a.join();
    b.join();

    TSettings result(iniIn(dir));
    result.load();
    EXPECT_EQ(test::readCrlfLines(iniIn(dir)).size(), 2 * kWrites);
    for (int i = 0; i < kWrites; ++i) {
        EXPECT_EQ(result.rawValue("Window" + QString::number(i)), QString::number(i));
        EXPECT_EQ(result.rawValue("Comms" + QString::number(i)), QString::number(i));
    }
}
