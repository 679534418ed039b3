// Golden-file tests of the download report: whole text and CSV reports of a
// small upload compared with the files under tests/data/processing/.
//
// To regenerate after an intended change of the layout, run the tests with
// DORODURE_REGENERATE=1 in the environment; then read every changed file by
// eye before keeping it.

#include "process_fixture.h"

#include <gtest/gtest.h>

namespace dorodure::test {
namespace {

QString goldenPath(const QString& name) {
    return QStringLiteral(DORODURE_TEST_DATA) + "/processing/" + name;
}

void expectGolden(const QString& actualPath, const QString& name) {
    const QByteArray actual = readBytes(actualPath);
    ASSERT_FALSE(actual.isEmpty()) << actualPath.toStdString();
    if (qEnvironmentVariableIsSet("DORODURE_REGENERATE")) {
        writeBytes(goldenPath(name), actual);
        return;
    }
    const QByteArray expected = readBytes(goldenPath(name));
    ASSERT_FALSE(expected.isEmpty()) << "missing golden file " << name.toStdString();
    EXPECT_EQ(QString::fromLatin1(actual).toStdString(),
              QString::fromLatin1(expected).toStdString())
        << "differs from " << name.toStdString();
}

class ProcessGoldenTest : public ::testing::Test, public ProcessFixture {};

// Common records before, between and after ordinary ones; a unit marker; a
// duplicate at +1 dropped and one at +2 kept; both hour flags; a special
// point; a corrupt record; intervals over a day change and of 03:05; a name
// with double quotes.
TEST_F(ProcessGoldenTest, DownloadReportOfTwoSitesWithTheCommonSite) {
    site("Alpha",
         {point("100001", "Gate"), point("100002", "Yard"), point("100003", "Patrol end", "#"),
          point("100004", "Store \"B\", rear"), point("100005", "Never touched")});
    site("Beta", {point("200001", "Door")});
    site("Common", {point("900001", "Canteen")});
    upload({
        clocking("900001", "0905121958"),  // before the first ordinary record
        clocking("100001", "0905122000"),
        "0000000000420905122085" + QString("3"),  // unit 0042 at 20:05
        clocking("100002", "0905122005"),
        clocking("100002", "0905122006"),  // duplicate (+1): dropped
        clocking("100002", "0905122007"),  // +2 from the last kept: kept
        clocking("100003", "0905122030"),  // special point
        clocking("900001", "0905122035"),  // common between Alpha records
        clocking("100001", "090512A040"),  // bracket flag, hour 20
        clocking("100002", "0905126145"),  // separator flag, hour 21
        clocking("200001", "0905122150"),
        clocking("900001", "0905122155"),  // common after Beta
        clocking("100001", "09051222X0"),  // corrupt
        clocking("100004", "0905130110"),
        clocking("100004", "0905130415"),
        clocking("100001", "0905132350"),
        clocking("100001", "0905140010"),
        clocking("100001", "0905140059"),
        clocking("100001", "0905140100"),  // across the hour: kept
    });
    const ProcessResult result = run();
    EXPECT_EQ(result.reportedSites, QStringList({"Alpha", "Beta"}));
    expectGolden(reportPath("Alpha", "txt"), "download/Alpha.txt");
    expectGolden(reportPath("Alpha", "csv"), "download/Alpha.csv");
    expectGolden(reportPath("Beta", "txt"), "download/Beta.txt");
    expectGolden(reportPath("Beta", "csv"), "download/Beta.csv");
    EXPECT_FALSE(QFile::exists(reportPath("Common", "txt")));
}

}  // namespace
}  // namespace dorodure::test
