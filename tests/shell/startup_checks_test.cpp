#include "shell/startup_checks.h"
#include "shell/clock.h"
#include "test_support.h"

#include <QCoreApplication>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

using namespace dorodure;
using dorodure::test::TempDataFolder;

namespace {

// Serves a fixed check file, or fails, as the maker's web site would.
class FakeFetcher : public CheckFileFetcher {
  public:
    QStringList content;
    bool reachable = true;
    int calls = 0;
    bool fetch(const QString&, const QString& dest) override {
        ++calls;
        if (reachable) {
            test::writeCrlfLines(dest, content);
        }
        return reachable;
    }
};

VersionCheckInput inputFor(const TempDataFolder& dir) {
    VersionCheckInput in;
    in.dataFolder = dir.path();
    in.checkFileUrl = QStringLiteral("http://127.0.0.1:1/check.txt");
    in.userLanguage = QStringLiteral("English");
    in.systemLanguage = QStringLiteral("English (United States)");
    return in;
}

void ageFile(const QString& path, const QDateTime& when) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
}

}  // namespace

TEST(VersionCheck, FetchesOnlyWhenTheLastCheckIs31DaysOld) {
    TempDataFolder dir;
    ManualClock clock(QDateTime::currentDateTime());
    FakeFetcher fetcher;
    fetcher.content = {"01/01/2024", "2.0", "All", "end"};
    test::writeCrlfLines(dir.file("temp"), {"old"});

    ageFile(dir.file("temp"), clock.now().addDays(-30));
    EXPECT_EQ(runVersionCheck(inputFor(dir), clock, fetcher).verdict,
              VersionCheckOutcome::Verdict::Skipped);
    EXPECT_EQ(fetcher.calls, 0);

    ageFile(dir.file("temp"), clock.now().addDays(-31));
    auto out = runVersionCheck(inputFor(dir), clock, fetcher);
    EXPECT_EQ(out.verdict, VersionCheckOutcome::Verdict::Allowed);
    EXPECT_EQ(fetcher.calls, 1);
    EXPECT_EQ(out.memoLines,
              QStringList({"English (United States)", "Local : English",
                           "we got the check file from the inet", "line1 : 01/01/2024",
                           "line2 : 2.0", "linex : All", "linex : end"}));
    EXPECT_TRUE(QFile::exists(dir.file("temp")));
}

TEST(VersionCheck, TheLastVerdictDecides) {
    struct Case {
        QStringList entries;
        bool refused;
        QString messageEnd;
    };
    const Case cases[] = {
        {{"1.04s", "All", "end"}, false, {}},
        {{"All", "1.04s", "end"}, true, ", AllVer: 1.04s"},
        {{"English", "end"}, true, ", At Startlocal: English"},
        {{"German", "1.04", "end"}, false, {}},
    };
    for (const Case& c : cases) {
        TempDataFolder dir;
        ManualClock clock(QDateTime::currentDateTime());
        FakeFetcher fetcher;
        fetcher.content = QStringList{"01/01/2024", "2.0"} + c.entries;
        auto out = runVersionCheck(inputFor(dir), clock, fetcher);
        EXPECT_EQ(out.verdict == VersionCheckOutcome::Verdict::Refused, c.refused)
            << c.entries.join(",").toStdString();
        if (c.refused) {
            EXPECT_TRUE(
                out.message.startsWith("Sorry Somthing bad happend error 400, English, 1.04s"));
            EXPECT_TRUE(out.message.endsWith(c.messageEnd)) << out.message.toStdString();
            EXPECT_FALSE(QFile::exists(dir.file("temp")));
        }
    }
}

TEST(VersionCheck, StopsReadingAfter100EntriesAndReportsAnUnreachableServer) {
    TempDataFolder dir;
    ManualClock clock(QDateTime::currentDateTime());
    FakeFetcher fetcher;
    fetcher.content = {"01/01/2024", "2.0"};
    for (int i = 0; i < 150; ++i) {
        fetcher.content << (i == 120 ? "1.04s" : "x");
    }
    auto out = runVersionCheck(inputFor(dir), clock, fetcher);
    EXPECT_EQ(out.verdict, VersionCheckOutcome::Verdict::Allowed);
    EXPECT_EQ(out.memoLines.count("linex : x"), 100);

    TempDataFolder other;
    fetcher.reachable = false;
    out = runVersionCheck(inputFor(other), clock, fetcher);
    EXPECT_EQ(out.verdict, VersionCheckOutcome::Verdict::FetchFailed);
    EXPECT_EQ(out.message, "Could not connect to the Internet to check for the latest version ");
}

TEST(VersionCheck, NetworkFetcherDownloadsFromALocalServer) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name};
    QCoreApplication app(argc, argv);
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        QTcpSocket* s = server.nextPendingConnection();
        QObject::connect(s, &QTcpSocket::readyRead, s, [s] {
            s->readAll();
            const QByteArray body = "24/04/2023\r\n1.04s\r\nend\r\n";
            s->write("HTTP/1.1 200 OK\r\nContent-Length: " + QByteArray::number(body.size()) +
                     "\r\nConnection: close\r\n\r\n" + body);
            s->disconnectFromHost();
        });
    });
    TempDataFolder dir;
    NetworkCheckFileFetcher fetcher(5000);
    const QString url = QStringLiteral("http://127.0.0.1:%1/check.txt").arg(server.serverPort());
    ASSERT_TRUE(fetcher.fetch(url, dir.file("temp")));
    EXPECT_EQ(test::readCrlfLines(dir.file("temp")), QStringList({"24/04/2023", "1.04s", "end"}));
    server.close();
    EXPECT_FALSE(fetcher.fetch(url, dir.file("temp2")));
}

TEST(IntegrityCheck, ReportsMissingAndAlteredFilesAndListsDigests) {
    TempDataFolder dir;
    test::writeBytes(dir.file("logo.gif"), "GIF89a-original");
    const QString good = md5OfFile(dir.file("logo.gif"));
    test::writeBytes(dir.file("Basic.pdf"), "anything");
    std::vector<VitalFile> files{{"Basic.pdf", {}}, {"logo.gif", good}, {"Install.pdf", {}}};

    EXPECT_TRUE(runIntegrityCheck(dir.path(), {files[0], files[1]}).mayContinue);

    test::writeBytes(dir.file("logo.gif"), "GIF89a-originaL");
    auto out = runIntegrityCheck(dir.path(), files);
    EXPECT_FALSE(out.mayContinue);
    ASSERT_EQ(out.messages.size(), 2);
    EXPECT_EQ(out.messages[0],
              "logo.gif appears to be corrupt, Please reinstall the application\r" +
                  md5OfFile(dir.file("logo.gif")));
    EXPECT_EQ(out.messages[1], "Install.pdf is missing, Please reinstall the application");

    test::writeBytes(dir.file("nomd5.txt"), "");
    out = runIntegrityCheck(dir.path(), files);
    EXPECT_TRUE(out.mayContinue);
    EXPECT_TRUE(out.messages.isEmpty());
    EXPECT_EQ(
        test::readCrlfLines(dir.file("nomd5.txt")),
        QStringList({"Filename,Md5Checksum,WhatIHave",
                     "Basic.pdf," + md5OfFile(dir.file("Basic.pdf")) + ",",
                     "logo.gif," + md5OfFile(dir.file("logo.gif")) + "," + good, "Install.pdf,,"}));
}

TEST(IntegrityCheck, Md5IsUpperCaseHex) {
    TempDataFolder dir;
    test::writeBytes(dir.file("abc"), "abc");
    EXPECT_EQ(md5OfFile(dir.file("abc")), "900150983CD24FB0D6963F7D28E17F72");
}
