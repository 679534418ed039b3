// The start-up sequence of the main window: its order, its fatal paths and
// the prompt for a first site.
#include "startup_fixture.h"

#include "link/comms_thread.h"
#include "shell/language_table.h"
#include "shell/text_file.h"
#include "sites/site_store.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>

#include <gtest/gtest.h>

namespace dorodure::test {
namespace {

// The position of the first trace line that ends with message, or -1.
int traceIndex(const QStringList& lines, const QString& message) {
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].endsWith(u' ' + message)) {
            return i;
        }
    }
    return -1;
}

TEST(StartupSequence, RunsItsStepsInOrderAndStartsTheLink) {
    AppFixture f;
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    writeBytes(f.path(QStringLiteral("Rs232.txt")), "");
    f.start();

    EXPECT_TRUE(f.window().startupDone());
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.messages.join(u'\n').toStdString();
    const QStringList trace = f.traceLines();
    const QStringList order{QStringLiteral("form activated"),
                            QStringLiteral("finished ini file load"),
                            QStringLiteral("flinished language file defaults"),
                            QStringLiteral("Load Language file start"),
                            QStringLiteral("language file loaded"),
                            QStringLiteral("filtered out root dir"),
                            QStringLiteral("finished getting new site"),
                            QStringLiteral("finished creating lst files if nesisarry"),
                            QStringLiteral("make menu invisible"),
                            QStringLiteral("started second thread"),
                            QStringLiteral("setup compleated")};
    int previous = -1;
    for (const QString& step : order) {
        const int at = traceIndex(trace, step);
        EXPECT_GT(at, previous) << step.toStdString();
        previous = at;
    }
    EXPECT_EQ(f.window().windowTitle(), QStringLiteral("Dorodure uploader"));
    EXPECT_FALSE(f.window().findChild<QLabel*>(QStringLiteral("Panel1"))->isVisibleTo(&f.window()));
    EXPECT_TRUE(f.window().findChild<QMenu*>(QStringLiteral("Setup1"))->isEnabled());
    EXPECT_TRUE(f.window().findChild<QAction*>(QStringLiteral("FailedPatrol1"))->isVisible());
    ASSERT_NE(f.services().commsThread(), nullptr);
    EXPECT_TRUE(f.services().commsThread()->running());
    // The site without its list got one, and the id table exists.
    EXPECT_TRUE(textfile::exists(f.path(QStringLiteral("Head Office/checkpt.lst"))));
    // The trace lines also reach the diagnostic box.
    EXPECT_TRUE(f.window()
                    .findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))
                    ->toPlainText()
                    .contains(QStringLiteral("setup compleated")));
    // The thread finds the simulated station on port 1 and waits for a baton.
    EXPECT_TRUE(AppFixture::waitFor([&] {
        return f.services().display().snapshot().statusText ==
               QStringLiteral("Looking for Dorodure...");
    })) << f.services().display().snapshot().statusText.toStdString();
}

struct FatalCase {
    const char* name;
    std::function<void(AppFixture&)> arrange;
    QString messageStart;
};

class StartupFatal : public ::testing::TestWithParam<FatalCase> {};

TEST_P(StartupFatal, ShowsItsMessageAndClosesWithoutTheLink) {
    AppFixture f;
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    GetParam().arrange(f);
    f.start();

    EXPECT_FALSE(f.window().startupDone());
    EXPECT_TRUE(f.window().startupFailed());
    EXPECT_EQ(f.services().commsThread(), nullptr);
    ASSERT_FALSE(f.ui.messages.isEmpty());
    EXPECT_TRUE(f.ui.messages.last().startsWith(GetParam().messageStart))
        << f.ui.messages.last().toStdString();
    // The window closes at once.
    f.window().show();
    EXPECT_TRUE(AppFixture::waitFor([&] { return !f.window().isVisible(); }, 3000));
}

INSTANTIATE_TEST_SUITE_P(
    Paths, StartupFatal,
    ::testing::Values(
        FatalCase{"MissingLanguageFile",
                  [](AppFixture& f) { QFile::remove(f.path(QStringLiteral("English.lng"))); },
                  QStringLiteral("Fatal Error: Missing Language File\rPlease re-install the "
                                 "application")},
        FatalCase{"CorruptLogo",
                  [](AppFixture& f) {
                      QByteArray logo = readBytes(f.path(QStringLiteral("logo.gif")));
                      logo[20] = char(logo[20] ^ 0x55);
                      writeBytes(f.path(QStringLiteral("logo.gif")), logo);
                  },
                  QStringLiteral("logo.gif appears to be corrupt, Please reinstall the "
                                 "application\r")},
        FatalCase{"MissingHelpFile",
                  [](AppFixture& f) { QFile::remove(f.path(QStringLiteral("Dorodure.html"))); },
                  QStringLiteral("Dorodure.html is missing, Please reinstall the application")},
        FatalCase{"RefusedVersion",
                  [](AppFixture& f) {
                      QFile::remove(f.path(QStringLiteral("temp")));
                      f.fetcher.content =
                          QStringLiteral("01/01/2024\r\n2.0\r\nAll\r\n1.04s\r\nend\r\n");
                  },
                  QStringLiteral("Sorry Somthing bad happend error 400, ")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StartupSequence, UnreachableCheckFileIsReportedAndStartUpGoesOn) {
    AppFixture f;
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    QFile::remove(f.path(QStringLiteral("temp")));
    f.writeSetting(QStringLiteral("CheckFileUrl"), QStringLiteral("http://127.0.0.1:9/check.txt"));
    f.start();

    EXPECT_TRUE(f.window().startupDone());
    ASSERT_EQ(f.fetcher.urls, QStringList{QStringLiteral("http://127.0.0.1:9/check.txt")});
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0],
              QStringLiteral("Could not connect to the Internet to check for the latest version "));
}

TEST(StartupSequence, AsksForAFirstSiteUntilOneIsCreated) {
    AppFixture f;
    f.install();
    f.ui.textAnswers = {std::nullopt, QString(), QStringLiteral("bad/name"),
                        QStringLiteral("Main Gate")};
    f.start();

    EXPECT_TRUE(f.window().startupDone());
    EXPECT_EQ(f.ui.questions.size(), 4);
    EXPECT_EQ(f.services().sites().sites(), QStringList{QStringLiteral("Main Gate")});
    EXPECT_EQ(f.services().preselectedSite, 0);
    EXPECT_TRUE(QDir(f.path(QStringLiteral("Main Gate/Raw"))).exists());
    EXPECT_TRUE(textfile::exists(f.path(QStringLiteral("Main Gate/checkpt.lst"))));
    // The refused name was reported with text 20.
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_TRUE(f.ui.messages[0].startsWith(f.services().texts().text(20)));
}

TEST(StartupSequence, DemoModeSkipsTheVersionCheck) {
    AppFixture f;
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    QFile::remove(f.path(QStringLiteral("temp")));
    f.demo = true;
    f.start();

    EXPECT_TRUE(f.window().startupDone());
    EXPECT_TRUE(f.fetcher.urls.isEmpty());
    EXPECT_TRUE(f.ui.messages.isEmpty());
}

}  // namespace
}  // namespace dorodure::test
