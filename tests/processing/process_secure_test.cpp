// Long-identity runs (secure uploads and clocking lists): one report for all
// sites in the data folder, the record check, the mode letters; and the PDF
// read back as text.

#include "process_fixture.h"
#include "processing/tamper_checks.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <array>

namespace dorodure::test {
namespace {

const QString kWindow = "Id : From 12:00:00 10/08/2011 to 12:00:00 11/08/2011";

// A record of a secure producer: its first byte is the CRC-8 of the next ten.
QString signedClocking(const QString& id, const QString& stamp) {
    const QString data = "0000" + id + stamp;
    std::array<std::uint8_t, 10> bytes{};
    for (int i = 0; i < 10; ++i) {
        bytes[std::size_t(i)] = std::uint8_t(data.mid(2 * i, 2).toInt(nullptr, 16));
    }
    const int crc = tamper::crc8Maxim(bytes.data(), 10);
    return QString::number(crc, 16).rightJustified(2, '0').toUpper() + data + "12";
}

// The text of a PDF, or a null string when pdftotext is missing.
QString pdfText(const QString& path) {
    const QString tool = QStandardPaths::findExecutable("pdftotext");
    if (tool.isEmpty()) {
        return {};
    }
    QProcess p;
    p.start(tool, {"-layout", path, "-"});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

class ProcessSecureTest : public ::testing::Test, public ProcessFixture {
  protected:
    void SetUp() override {
        site("Alpha", {point("100001", "Gate"), point("100002", "Yard"),
                       point("100003", "Patrol end", "#")});
        site("Beta", {point("200001", "Door")});
    }
    QStringList processed() const { return readCrlfLines(dir.file("Processed.txt")); }
    QStringList processedCsv() const { return readCrlfLines(dir.file("Processed.csv")); }
};

// Two sites in one run; records 2 and 4 fail the record check, so the period
// runs from the first to the last record that passes and their CSV rows have
// no quotes. Golden files: see process_golden_test.cpp for regeneration.
TEST_F(ProcessSecureTest, AClockingListGathersAllSitesInTheDataFolder) {
    upload({signedClocking("100001", "1108101210"), clocking("100002", "1108101220"),
            signedClocking("100003", "1108101230"), signedClocking("200001", "1108101240"),
            clocking("100001", "1108101250")},
           kWindow);
    const ProcessResult result = run(ProcessOrigin::ReportRequest);
    EXPECT_EQ(result.reportedSites, QStringList({"Alpha", "Beta"}));
    const QByteArray expectedText =
        readBytes(QStringLiteral(DORODURE_TEST_DATA) + "/processing/secure/Processed.txt");
    const QByteArray expectedCsv =
        readBytes(QStringLiteral(DORODURE_TEST_DATA) + "/processing/secure/Processed.csv");
    if (qEnvironmentVariableIsSet("DORODURE_REGENERATE")) {
        writeBytes(QStringLiteral(DORODURE_TEST_DATA) + "/processing/secure/Processed.txt",
                   readBytes(dir.file("Processed.txt")));
        writeBytes(QStringLiteral(DORODURE_TEST_DATA) + "/processing/secure/Processed.csv",
                   readBytes(dir.file("Processed.csv")));
    } else {
        EXPECT_EQ(QString::fromLatin1(readBytes(dir.file("Processed.txt"))).toStdString(),
                  QString::fromLatin1(expectedText).toStdString());
        EXPECT_EQ(QString::fromLatin1(readBytes(dir.file("Processed.csv"))).toStdString(),
                  QString::fromLatin1(expectedCsv).toStdString());
    }
    EXPECT_FALSE(QFile::exists(reportPath("Alpha", "txt")));
    EXPECT_EQ(ui.opened, QStringList{dir.file("Report.pdf")});
    EXPECT_TRUE(readCrlfLines(dir.file("LG200905.txt")).isEmpty());
    // A clocking list names no baton.
    EXPECT_FALSE(readCrlfLines(batons->path()).join("\n").contains("From"));
}

TEST_F(ProcessSecureTest, ReportPdfHoldsTheSectionsOfAllSites) {
    upload({signedClocking("100001", "1108101210"), signedClocking("100001", "1108101150"),
            signedClocking("200001", "1108101240")},
           kWindow);
    run(ProcessOrigin::ReportRequest);
    const QString pdf = pdfText(dir.file("Report.pdf"));
    if (pdf.isNull()) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    EXPECT_TRUE(pdf.contains("Gate"));
    EXPECT_TRUE(pdf.contains("Site : Beta"));
    EXPECT_TRUE(pdf.contains("Door"));
    EXPECT_TRUE(pdf.contains("12:40"));
    EXPECT_EQ(pdf.count(texts.text(157)), 2);  // one warnings part per site
}

TEST_F(ProcessSecureTest, TheDownloadPdfHasTheRowsAndTheWarnings) {
    upload({clocking("100001", "0905121010"), clocking("100002", "0905120955"),
            clocking("100002", "090512101X"), clocking("100003", "0905121110")});
    run();
    run();  // the same stamp: the PDF is replaced, not extended
    const QString pdf = pdfText(reportPath("Alpha", "pdf"));
    if (pdf.isNull()) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    EXPECT_EQ(pdf.count("Yard"), 2);  // the row and the frequency table
    EXPECT_TRUE(pdf.contains("10:10"));
    EXPECT_TRUE(pdf.contains("Patrol end"));
    EXPECT_TRUE(pdf.contains("Warnings"));
    EXPECT_TRUE(pdf.contains("1 " + texts.text(26)));
    EXPECT_TRUE(pdf.contains(texts.text(157)));
    EXPECT_TRUE(pdf.contains(texts.text(158)));
    EXPECT_TRUE(pdf.contains("Alpha - (Ziru0123)"));
}

TEST_F(ProcessSecureTest, ProcessedTxtStartsAfreshWhileProcessedCsvGrows) {
    upload({signedClocking("100001", "1108101210")}, kWindow);
    run(ProcessOrigin::ReportRequest);
    const QStringList firstText = processed();
    const qsizetype firstCsv = processedCsv().size();
    run(ProcessOrigin::ReportRequest);
    EXPECT_EQ(processed(), firstText);
    EXPECT_EQ(processedCsv().size(), 2 * firstCsv + 3);
}

TEST_F(ProcessSecureTest, WithoutSecureReportsTheTextIsOpened) {
    setSettings([](SettingsValues& v) { v.secureReports = false; });
    upload({signedClocking("100001", "1108101210")}, kWindow);
    run(ProcessOrigin::ReportRequest);
    EXPECT_EQ(ui.opened, QStringList{dir.file("Processed.txt")});
    EXPECT_FALSE(QFile::exists(dir.file("Report.pdf")));
}

TEST_F(ProcessSecureTest, NothingToReportShowsTheMessage) {
    upload({clocking("300001", "1108101210")}, kWindow);
    run(ProcessOrigin::ReportRequest);
    EXPECT_EQ(ui.messages, QStringList{texts.text(150)});
    EXPECT_TRUE(ui.opened.isEmpty());
    EXPECT_FALSE(QFile::exists(dir.file("Report.pdf")));
}

// The dashed line before a special point: left out for sorted uploads, the
// no-separator letter and the Reports window's point filter (which also drops
// the frequency part).
TEST_F(ProcessSecureTest, TheSpecialPointSeparatorFollowsTheModeLetters) {
    struct ModeCase {
        const char* what;
        QString identity;
        bool pointFilter;
        bool dashed;
        bool sortedTitle;
        bool frequency;
    };
    const std::vector<ModeCase> cases{
        {"download", "Id : Ziru0123", false, true, false, true},
        {"no separator letter", "Ido: Ziru0123", false, false, false, true},
        {"clocking list", kWindow, false, true, false, true},
        {"sorted clocking list", "Ids: " + kWindow.mid(5), false, false, true, true},
        {"point filter", kWindow, true, false, false, false},
    };
    for (const ModeCase& c : cases) {
        ctx.pointFilterChecked = c.pointFilter;
        upload({clocking("100001", "1108101210"), clocking("100003", "1108101230")}, c.identity);
        QFile::remove(reportPath("Alpha", "txt"));
        run(ProcessOrigin::ReportRequest);
        const QStringList lines =
            c.identity.size() > 21 ? processed() : readCrlfLines(reportPath("Alpha", "txt"));
        EXPECT_EQ(lines.contains(texts.text(44)), c.dashed) << c.what;
        EXPECT_EQ(lines.contains(texts.text(46)), c.sortedTitle) << c.what;
        EXPECT_EQ(lines.contains(texts.text(24)), c.frequency) << c.what;
    }
}

}  // namespace
}  // namespace dorodure::test
