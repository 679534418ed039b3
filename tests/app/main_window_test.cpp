// The main window: shutdown, the hidden keys, Timer2 and the Port Setup key.
#include "startup_fixture.h"

#include "frm_delay.h"
#include "link/comms_thread.h"
#include "shell/settings.h"
#include "shell/text_file.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace dorodure::test {
namespace {

QLabel* label(TfrmMain& w, const char* name) {
    return w.findChild<QLabel*>(QString::fromLatin1(name));
}

// An unprocessed upload with clockings of checkpoints of "Head Office" (the
// last line of an unfinished upload is never filed).
QStringList twoClockings() {
    return {QStringLiteral("Id : Ziru0123"), QStringLiteral("0000000000A109051214032"),
            QStringLiteral("0000000000A209051214083")};
}

struct ShutdownCase {
    const char* name;
    std::optional<QByteArray> raw;  // Raw.txt's content; nullopt: no file
    bool asked;
};

class ShutdownOffer : public ::testing::TestWithParam<ShutdownCase> {};

TEST_P(ShutdownOffer, AsksOnlyForAnUnprocessedUploadAndCleansUp) {
    AppFixture f;
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    if (GetParam().raw) {
        writeBytes(f.path(QStringLiteral("Raw.txt")), *GetParam().raw);
    }
    writeBytes(f.path(QStringLiteral("Processed.txt")), "x\r\n");
    writeBytes(f.path(QStringLiteral("checkpt.$$$")), "x\r\n");
    f.start();
    ASSERT_TRUE(f.window().startupDone());
    f.ui.questions.clear();

    f.window().show();
    f.window().close();

    EXPECT_EQ(f.ui.questions.size(), GetParam().asked ? 1 : 0);
    if (GetParam().asked) {
        EXPECT_EQ(f.ui.questions[0], QStringLiteral("The Recently uploaded data file has Not been "
                                                    "processed\rWould you like to process it now"));
    }
    EXPECT_FALSE(textfile::exists(f.path(QStringLiteral("Processed.txt"))));
    EXPECT_FALSE(textfile::exists(f.path(QStringLiteral("checkpt.$$$"))));
    EXPECT_EQ(f.services().commsThread(), nullptr);
    EXPECT_FALSE(f.window().isVisible());
}

INSTANTIATE_TEST_SUITE_P(
    Raw, ShutdownOffer,
    ::testing::Values(ShutdownCase{"NoRawFile", std::nullopt, false},
                      ShutdownCase{"Processed", QByteArray("Id : X\r\nDone\r\n"), false},
                      ShutdownCase{"DoneWithoutLineEnd", QByteArray("Done"), false},
                      ShutdownCase{"Unprocessed",
                                   QByteArray("Id : X\r\n0000000000A109051214032\r\n"), true},
                      ShutdownCase{"Empty", QByteArray(), true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Shutdown, ProcessesTheUploadWhenTheUserAgrees) {
    AppFixture f;
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    writeCrlfLines(
        f.path(QStringLiteral("Head Office/checkpt.lst")),
        {QStringLiteral("//Checkpoint list for Head Office"), QString(),
         QStringLiteral("0000A1 = Main gate"), QString(), QStringLiteral("//End of File")});
    writeCrlfLines(f.path(QStringLiteral("Raw.txt")), twoClockings());
    f.start();
    f.ui.confirmAnswers = {true};

    f.window().close();

    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.messages.join(u'\n').toStdString();
    EXPECT_EQ(textfile::lastLine(f.path(QStringLiteral("Raw.txt"))), QStringLiteral("Done"));
    const QStringList reports =
        QDir(f.path(QStringLiteral("Head Office"))).entryList({QStringLiteral("*.pdf")});
    EXPECT_EQ(reports.size(), 1);
}

TEST(FileMenu, ImportProcessesRawTxtAndLogsIt) {
    AppFixture f;
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    QFile::copy(QStringLiteral(DORODURE_SOURCE_DIR "/data/demo/Head Office/checkpt.lst"),
                f.path(QStringLiteral("Head Office/checkpt.lst")));
    f.start();
    writeCrlfLines(f.path(QStringLiteral("Raw.txt")), twoClockings());

    f.window().findChild<QAction*>(QStringLiteral("Import1"))->trigger();

    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.messages.join(u'\n').toStdString();
    EXPECT_EQ(textfile::lastLine(f.path(QStringLiteral("Raw.txt"))), QStringLiteral("Done"));
    EXPECT_EQ(
        QDir(f.path(QStringLiteral("Head Office"))).entryList({QStringLiteral("*.pdf")}).size(), 1);
    bool logged = false;
    for (const QString& line : f.activityLines()) {
        logged = logged || line.endsWith(QStringLiteral("\"unknown\",\"Raw.txt imported\""));
    }
    EXPECT_TRUE(logged) << f.activityLines().join(u'\n').toStdString();
}

TEST(SetupMenu, AddNewSiteCreatesItOrRefusesAnExistingName) {
    AppFixture f;
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    f.start();
    QAction* add = f.window().findChild<QAction*>(QStringLiteral("SiteSetup1"));

    f.ui.textAnswers = {QStringLiteral("Warehouse")};
    add->trigger();
    EXPECT_TRUE(QDir(f.path(QStringLiteral("Warehouse/Raw"))).exists());
    ASSERT_EQ(f.activityLines().size(), 1);
    EXPECT_TRUE(
        f.activityLines()[0].endsWith(QStringLiteral("\"Warehouse\",\"New Site created\"")));

    f.ui.textAnswers = {QStringLiteral("head office")};
    add->trigger();
    ASSERT_EQ(f.ui.messages.size(), 1);
    EXPECT_EQ(f.ui.messages[0], QStringLiteral("Could Not Create the new site head office"));
    EXPECT_EQ(f.activityLines().size(), 1);
}

TEST(MainWindowKeys, ExclamationShowsTheMenusAndTwiceRestoresTheHeight) {
    AppFixture f;
    f.create();
    TfrmMain& w = f.window();
    w.show();
    const int height = w.height();
    ASSERT_FALSE(w.menuBar()->isVisible());

    QTest::keyClicks(&w, QStringLiteral("!"));
    EXPECT_TRUE(w.menuBar()->isVisible());
    EXPECT_EQ(w.height(), height + TfrmMain::kMenuHeight);

    QTest::keyClicks(&w, QStringLiteral("!"));
    EXPECT_FALSE(w.menuBar()->isVisible());
    EXPECT_EQ(w.height(), height);
}

TEST(MainWindowKeys, AtSignSwitchesToTheWideLayoutAndBack) {
    AppFixture f;
    f.create();
    TfrmMain& w = f.window();
    w.show();
    EXPECT_EQ(w.width(), TfrmMain::kNormalWidth);
    QTest::keyClicks(&w, QStringLiteral("@"));
    EXPECT_EQ(w.width(), TfrmMain::kWideWidth);
    QTest::keyClicks(&w, QStringLiteral("@"));
    EXPECT_EQ(w.width(), TfrmMain::kNormalWidth);
}

TEST(MainWindowKeys, EmtyHidesTheStatusPanelAndTheNextKeyShowsIt) {
    AppFixture f;
    f.create();
    TfrmMain& w = f.window();
    w.show();
    auto* status = w.findChild<QGroupBox*>(QStringLiteral("GroupBox3"));

    QTest::keyClicks(&w, QStringLiteral("Emt"));
    EXPECT_TRUE(status->isVisible());
    QTest::keyClicks(&w, QStringLiteral("y"));
    EXPECT_FALSE(status->isVisible());
    EXPECT_FALSE(label(w, "lblDateTime")->isVisible());
    EXPECT_TRUE(label(w, "Label1")->isVisible());
    EXPECT_EQ(label(w, "Label1")->text(), QStringLiteral("Its bad luck to"));
    EXPECT_TRUE(label(w, "Label3")->isVisible());

    QTest::keyClicks(&w, QStringLiteral("x"));
    EXPECT_TRUE(status->isVisible());
    EXPECT_TRUE(label(w, "lblDateTime")->isVisible());
    EXPECT_FALSE(label(w, "Label1")->isVisible());

    // A broken sequence starts over.
    QTest::keyClicks(&w, QStringLiteral("EmxEmty"));
    EXPECT_FALSE(status->isVisible());
}

TEST(MainWindowTimer, DateLineIsRedWhileRecordsWaitForABaton) {
    AppFixture f;
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    f.start();
    TfrmMain& w = f.window();

    w.onTimer2();
    EXPECT_FALSE(label(w, "lblDateTime")->styleSheet().contains(QStringLiteral("red")));
    EXPECT_TRUE(label(w, "lblDateTime")->styleSheet().contains(QStringLiteral("blue")));

    f.services().requests().queueBlock({BatonRequests::Record{1, 2, 3, 4, 5, 6, 7}});
    w.onTimer2();
    EXPECT_TRUE(label(w, "lblDateTime")->styleSheet().contains(QStringLiteral("red")));
    // The date line carries the current date.
    EXPECT_TRUE(
        label(w, "lblDateTime")->text().contains(QString::number(QDate::currentDate().year())));

    f.services().requests().clearWritePending();
    w.onTimer2();
    EXPECT_TRUE(label(w, "lblDateTime")->styleSheet().contains(QStringLiteral("blue")));
}

TEST(MainWindowTimer, CopiesTheStatusTextAndClosesOnRequest) {
    AppFixture f;
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    f.start();
    TfrmMain& w = f.window();
    w.show();
    f.services().display().setStatus(QStringLiteral("Setting Clock"));
    w.onTimer2();
    EXPECT_EQ(label(w, "lblStatus")->text(), QStringLiteral("Setting Clock"));

    f.services().closeRequested = true;
    w.onTimer2();
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(f.services().commsThread(), nullptr);
}

}  // namespace
}  // namespace dorodure::test
