// The About window's system check.
#include "shell/system_check.h"
#include "shell/language_table.h"
#include "shell/startup_checks.h"
#include "test_support.h"

#include <QFile>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

// Serves one check file, or fails when it has none.
class FakeFetcher final : public CheckFileFetcher {
  public:
    std::optional<QStringList> file;
    QStringList asked;
    bool fetch(const QString& url, const QString& destination) override {
        asked << url;
        if (!file) {
            return false;
        }
        test::writeCrlfLines(destination, *file);
        return true;
    }
};

// Entries 124 to 145 named after their numbers.
void numberTexts(TLanguageTable& t) {
    for (int n = 124; n <= 145; ++n) {
        t.setText(n, QStringLiteral("<%1>").arg(n));
    }
}

class SystemCheckTest : public ::testing::Test {
  protected:
    SystemCheckResult run() { return runSystemCheck(input, texts, fetcher); }
    SystemCheckTest() {
        input.dataFolder = data.path();
        input.checkFileUrl = "http://check";
        input.userLanguage = "English";
        input.pdfHelpUrl = "http://pdf";
        numberTexts(texts);
    }
    test::TempDataFolder data;
    TLanguageTable texts;
    FakeFetcher fetcher;
    SystemCheckInput input;
};

TEST_F(SystemCheckTest, WritesEverySectionInOrder) {
    fetcher.file = QStringList{"24/04/2023", "1.04s", "All", "end"};
    QStringList lng;
    for (int i = 0; i < 351; ++i) {
        lng << "x";
    }
    test::writeCrlfLines(data.file("English.lng"), lng);
    test::writeCrlfLines(data.file("Short.lng"), lng.mid(1));
    test::writeCrlfLines(data.file("Basic.pdf"), {"pdf"});
    test::writeCrlfLines(data.file("logobig.gif"), {"gif"});
    input.statusLightRed = false;
    input.portNumber = 3;
    const SystemCheckResult r = run();
    EXPECT_EQ(r.lines, (QStringList{"Local : English",
                                    "<125>",
                                    "  <126>",
                                    "<130>",
                                    "  <131>",
                                    "<133>",
                                    "  <134> English",
                                    "<135>",
                                    "  <137>",
                                    "  http://pdf",
                                    "<138>",
                                    "  Install.pdf...<132>",
                                    "  Basic.pdf...<131>",
                                    "  Advanced.pdf...<132>",
                                    "<139>",
                                    "  logo.gif...<132>",
                                    "  logobig.gif...<131>",
                                    "<140>",
                                    "  <142> 3",
                                    "<143>"}));
    EXPECT_TRUE(r.checkFileFetched);
    EXPECT_EQ(r.newReleaseText, "<126>");
    EXPECT_FALSE(r.refused);
    EXPECT_TRUE(QFile::exists(data.file("temp")));
    EXPECT_FALSE(QFile::exists(data.file("test.txt")));
}

TEST_F(SystemCheckTest, ReleaseCheckOutcomes) {
    struct Case {
        std::optional<QStringList> file;
        QString line;
        bool refused;
    };
    const Case cases[] = {
        {std::nullopt, "  <129>", false},
        {QStringList{"01/02/2024", "1.05", "end"}, "  <127> 1.05 <128>", false},
        // The short version refuses here; the full version does not.
        {QStringList{"01/02/2024", "1.05", "1.04", "end"}, "  <127> 1.05 <128>", true},
        {QStringList{"24/04/2023", "1.04s", "1.04s", "end"}, "  <126>", false},
        {QStringList{"24/04/2023", "x", "English", "All", "end"}, "  <126>", false},
        {QStringList{"24/04/2023", "x", "All", "English"}, "  <126>", true},
        // Entries after "end" are not read.
        {QStringList{"24/04/2023", "x", "end", "1.04"}, "  <126>", false},
    };
    for (const Case& c : cases) {
        fetcher.file = c.file;
        const SystemCheckResult r = run();
        EXPECT_EQ(r.lines.value(2), c.line);
        EXPECT_EQ(r.refused, c.refused) << c.line.toStdString();
        EXPECT_EQ(r.checkFileFetched, c.file.has_value());
    }
}

TEST_F(SystemCheckTest, EmptyLanguageNameCountsAsEnglishAndRedLightHasNoPort) {
    input.userLanguage.clear();
    fetcher.file = QStringList{"24/04/2023", "x", "English", "end"};
    const SystemCheckResult r = run();
    EXPECT_TRUE(r.refused);
    EXPECT_EQ(r.lines.mid(r.lines.size() - 3), (QStringList{"<140>", "  <141>", "<143>"}));
}

TEST(SerialSetupAdvice, ListsUsbSerialDevices) {
    test::TempDataFolder dev;
    EXPECT_TRUE(serialSetupAdvice(dev.path()).startsWith("No USB serial adapter"));
    test::writeBytes(dev.file("ttyUSB0"), "");
    test::writeBytes(dev.file("ttyS0"), "");
    EXPECT_EQ(serialSetupAdvice(dev.path()), dev.file("ttyUSB0") + ": ready");
}

}  // namespace
}  // namespace dorodure
