// Runs the built dorodure-cli in a temporary data folder.

#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

struct CliRun {
    int exitCode = -1;
    QString out;
    QString err;
};

QString rec(const QString& id, const QString& stamp) {
    return QStringLiteral("000000") + id + stamp + QStringLiteral("7");
}

class CliProcessTest : public ::testing::Test {
  protected:
    test::TempDataFolder dir;

    void SetUp() override {
        site("Alpha", {"111111"});
        QFile::copy(QStringLiteral(DORODURE_SOURCE_DIR "/data/English.lng"),
                    dir.file("English.lng"));
    }

    void site(const QString& name, const QStringList& ids) {
        QStringList lines{"//Checkpoint list for " + name, ""};
        for (const QString& id : ids) {
            lines << id + " = Point " + id;
        }
        lines << ""
              << "//End of file";
        dir.mkdir(name + "/Raw");
        test::writeCrlfLines(dir.file(name + "/checkpt.lst"), lines);
    }

    void upload(const QString& file, const QStringList& lines) {
        test::writeCrlfLines(dir.file(file), QStringList{"Id : 00012345"} + lines);
    }

    CliRun cli(const QStringList& args) {
        QProcess process;
        process.setWorkingDirectory(dir.path());
        process.start(QStringLiteral(DORODURE_CLI), args);
        EXPECT_TRUE(process.waitForFinished(60000)) << args.join(' ').toStdString();
        CliRun run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        run.err = QString::fromLocal8Bit(process.readAllStandardError());
        return run;
    }

    // The download reports of a site (named by the processing time).
    QStringList reports(const QString& site) const {
        return QDir(dir.file(site)).entryList({"*.txt", "*.csv", "*.pdf"}, QDir::Files);
    }
    QStringList dayFiles(const QString& site) const {
        return QDir(dir.file(site + "/Raw")).entryList(QDir::Files);
    }
    QString lastLine(const QString& file) const {
        const QStringList lines = test::readCrlfLines(dir.file(file));
        return lines.isEmpty() ? QString() : lines.last();
    }
};

TEST_F(CliProcessTest, ImportSortsReportsAndMarksTheUploadDone) {
    upload("Raw.txt", {rec("111111", "0905121000"), rec("111111", "0905121030")});
    const CliRun run = cli({"import"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(test::readCrlfLines(dir.file("Alpha/Raw/090512.txt")),
              QStringList({"0000001111110905121000", "0000001111110905121030"}));
    EXPECT_EQ(lastLine("Raw.txt"), "Done");
    EXPECT_EQ(reports("Alpha").size(), 3) << reports("Alpha").join(' ').toStdString();
    const QStringList logs = QDir(dir.path()).entryList({"LG*.txt"}, QDir::Files);
    ASSERT_EQ(logs.size(), 1);
    const QByteArray log = test::readBytes(dir.file(logs[0]));
    EXPECT_EQ(log.count("Raw.txt imported"), 1);
    EXPECT_TRUE(log.contains("\"Alpha\",\"Dorodure Uploaded and cleared Id : 00012345\""));
}

TEST_F(CliProcessTest, ImportRefusesAnUploadThatWasAlreadySorted) {
    upload("Raw.txt", {rec("111111", "0905121000"), "Done"});
    const CliRun run = cli({"import"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("already been sorted")) << run.err.toStdString();
    EXPECT_TRUE(dayFiles("Alpha").isEmpty());
}

TEST_F(CliProcessTest, ProcessReportsAFileWithoutStoringIt) {
    upload("upload.txt", {rec("111111", "0905121000"), rec("111111", "0905121030")});
    const CliRun run = cli({"process", "upload.txt"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(dayFiles("Alpha").isEmpty());
    EXPECT_EQ(reports("Alpha").size(), 3);
    EXPECT_EQ(lastLine("upload.txt"), "Done");
    EXPECT_FALSE(QFileInfo::exists(dir.file("Raw.txt")));
}

TEST_F(CliProcessTest, UnknownCheckpointsGoToANewSiteWhenAsked) {
    upload("Raw.txt", {rec("ABCDEF", "0905121000"), rec("ABCDEF", "0905121010")});
    const CliRun run = cli({"import", "--unknown", "new:Depot"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo(dir.file("Depot/Raw")).isDir());
    EXPECT_EQ(reports("Depot").size(), 3);
    // Reported under the new site, and its id entered in the site's list; but
    // not stored in day files: the site did not exist when sorting ran.
    EXPECT_TRUE(test::readBytes(dir.file("Depot/checkpt.lst")).contains("ABCDEF"));
    EXPECT_TRUE(dayFiles("Depot").isEmpty());
}

TEST_F(CliProcessTest, AnUnknownSiteAnswerFallsBackToIgnoring) {
    upload("Raw.txt", {rec("ABCDEF", "0905121000"), rec("ABCDEF", "0905121010")});
    const CliRun run = cli({"import", "--unknown=site:Nowhere"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("ignored")) << run.err.toStdString();
    EXPECT_TRUE(reports("Alpha").isEmpty());
}

TEST_F(CliProcessTest, ErrorsEndWithANonZeroCodeAndAMessage) {
    struct Case {
        QStringList args;
        int exitCode;
        const char* message;
    };
    const Case cases[] = {
        {{"import"}, 1, "No upload file"},
        {{"import", "--unknown", "discard"}, 2, "--unknown"},
        {{"import", "--unknown"}, 2, "needs a value"},
        {{"import", "extra"}, 2, "unexpected argument"},
        {{"process"}, 2, "exactly one FILE"},
        {{"process", "missing.txt"}, 1, "No such file"},
    };
    for (const Case& c : cases) {
        const CliRun run = cli(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(c.message))
            << c.args.join(' ').toStdString() << ": " << run.err.toStdString();
    }
}

TEST_F(CliProcessTest, ADayFileThatCannotBeWrittenFailsTheImport) {
    dir.mkdir("Alpha/Raw/090512.txt");
    upload("Raw.txt", {rec("111111", "0905121000")});
    const CliRun run = cli({"import"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("090512.txt")) << run.err.toStdString();
    EXPECT_NE(lastLine("Raw.txt"), "Done");
    EXPECT_TRUE(reports("Alpha").isEmpty());
}

TEST_F(CliProcessTest, AMissingLanguageFileIsReportedButNotFatal) {
    QFile::remove(dir.file("English.lng"));
    upload("Raw.txt", {rec("111111", "0905121000"), rec("111111", "0905121030")});
    const CliRun run = cli({"import"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("English.lng")) << run.err.toStdString();
    EXPECT_EQ(reports("Alpha").size(), 3);
}

}  // namespace
}  // namespace dorodure
