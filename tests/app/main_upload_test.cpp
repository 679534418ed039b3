// A whole upload from the simulated station with the demo baton, as the main
// window shows it, ending with the site's reports on disk.
#include "startup_fixture.h"

#include "led_widget.h"
#include "link/comms_thread.h"
#include "screenshot.h"
#include "shell/text_file.h"

#include <QLabel>
#include <QProgressBar>
#include <QSet>

#include <gtest/gtest.h>

namespace dorodure::test {
namespace {

// What the window showed while the upload ran.
struct Seen {
    QSet<QRgb> ledColours;
    QSet<QString> statusLines;
    QSet<QString> titles;
    QSet<QString> ids;
    int largestGauge = 0;
};

void sample(TfrmMain& w, Seen& seen) {
    seen.ledColours << w.findChild<LedWidget*>(QStringLiteral("Led"))->colour().rgb();
    seen.statusLines << w.findChild<QLabel*>(QStringLiteral("lblStatus"))->text();
    seen.titles << w.windowTitle();
    seen.ids << w.findChild<QLabel*>(QStringLiteral("lblID"))->text();
    seen.largestGauge = std::max(seen.largestGauge,
                                 w.findChild<QProgressBar*>(QStringLiteral("Gauge1"))->maximum());
}

QStringList reportsOf(const AppFixture& f, const QString& pattern) {
    return QDir(f.path(QStringLiteral("Head Office"))).entryList({pattern}, QDir::Files);
}

TEST(MainWindowUpload, ShowsADemoUploadAndWritesItsReports) {
    AppFixture f;
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    QFile::copy(QStringLiteral(DORODURE_SOURCE_DIR "/data/demo/Head Office/checkpt.lst"),
                f.path(QStringLiteral("Head Office/checkpt.lst")));
    f.writeSetting(QStringLiteral("Port1"), QStringLiteral("simulator:demo"));
    f.start();
    ASSERT_TRUE(f.window().startupDone());
    f.window().show();

    Seen seen;
    const bool uploaded = AppFixture::waitFor(
        [&] {
            sample(f.window(), seen);
            const QString raw = f.path(QStringLiteral("Raw.txt"));
            return !reportsOf(f, QStringLiteral("*.pdf")).isEmpty() && textfile::exists(raw) &&
                   textfile::lastLine(raw) == QStringLiteral("Done") &&
                   seen.titles.contains(QStringLiteral("Dorodure  -  Download Complete")) &&
                   seen.statusLines.contains(QStringLiteral("Communicating with Dorodure"));
        },
        60000);
    ASSERT_TRUE(uploaded) << QStringList(seen.statusLines.values()).join(u'|').toStdString();
    saveScreenshot(f.window(), QStringLiteral("frmMain-Upload"));

    EXPECT_EQ(reportsOf(f, QStringLiteral("*.txt")).size(), 1);
    EXPECT_EQ(reportsOf(f, QStringLiteral("*.csv")).size(), 1);
    EXPECT_EQ(reportsOf(f, QStringLiteral("*.pdf")).size(), 1);
    EXPECT_FALSE(QDir(f.path(QStringLiteral("Head Office/Raw"))).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(seen.ids.contains(QStringLiteral("Id : Ziru0123")));
    EXPECT_TRUE(seen.ledColours.contains(QColor(0x00, 0xFF, 0x00).rgb()));  // baton present
    EXPECT_TRUE(seen.statusLines.contains(QStringLiteral("Looking for Dorodure...")));
    EXPECT_GT(seen.largestGauge, 100);
    EXPECT_TRUE(f.ui.messages.isEmpty()) << f.ui.messages.join(u'\n').toStdString();
    // The report was opened for the user and the upload logged.
    EXPECT_FALSE(f.ui.opened.isEmpty());
    EXPECT_FALSE(f.activityLines().isEmpty());

    // The baton is taken off: the idle cycle resumes.
    EXPECT_TRUE(AppFixture::waitFor(
        [&] {
            return f.services().display().snapshot().statusText ==
                   QStringLiteral("Looking for Dorodure...");
        },
        15000));
}

TEST(MainWindowUpload, AFailedProcessingRunIsShownOnceAndTheLinkGoesOn) {
    AppFixture f;
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    QFile::copy(QStringLiteral(DORODURE_SOURCE_DIR "/data/demo/Head Office/checkpt.lst"),
                f.path(QStringLiteral("Head Office/checkpt.lst")));
    // Folders in the place of the day files of the demo's nights: they cannot
    // be written, so filing the upload fails.
    const QDate today = QDate::currentDate();
    for (const QDate& day : {today.addDays(-1), today}) {
        f.folder.mkdir(QStringLiteral("Head Office/Raw/") + day.toString(QStringLiteral("yyMMdd")) +
                       QStringLiteral(".txt"));
    }
    f.writeSetting(QStringLiteral("Port1"), QStringLiteral("simulator:demo"));
    f.start();
    ASSERT_TRUE(f.window().startupDone());

    ASSERT_TRUE(AppFixture::waitFor([&] { return !f.ui.messages.isEmpty(); }, 60000));
    EXPECT_TRUE(f.ui.messages[0].startsWith(QStringLiteral("The upload could not be processed")))
        << f.ui.messages[0].toStdString();
    // The baton is taken off and the link looks for the next one.
    EXPECT_TRUE(AppFixture::waitFor(
        [&] {
            return f.services().display().snapshot().statusText ==
                   QStringLiteral("Looking for Dorodure...");
        },
        20000));
    EXPECT_EQ(f.ui.messages.size(), 1);
    EXPECT_TRUE(f.services().commsThread()->running());
    EXPECT_TRUE(reportsOf(f, QStringLiteral("*.pdf")).isEmpty());
    EXPECT_NE(textfile::lastLine(f.path(QStringLiteral("Raw.txt"))), QStringLiteral("Done"));
}

}  // namespace
}  // namespace dorodure::test
