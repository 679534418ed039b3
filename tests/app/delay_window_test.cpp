// The Port Setup window, opened from the main window with "#".
#include "startup_fixture.h"

#include "frm_delay.h"
#include "link/comms_thread.h"
#include "shell/settings.h"
#include "shell/text_file.h"

#include <QApplication>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace dorodure::test {
namespace {

// Runs once the modal Port Setup window is shown by the key.
void answerPortSetup(const std::function<void(TfrmDelay&)>& act) {
    QTimer::singleShot(50, [act] {
        auto* dialog = qobject_cast<TfrmDelay*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
    });
}

TEST(PortSetup, OkStoresThePortAndLogsIt) {
    AppFixture f;
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    f.start();
    f.window().show();

    answerPortSetup([](TfrmDelay& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Port Setup"));
        EXPECT_EQ(d.spinEdit()->maximum(), 250);
        d.spinEdit()->setValue(3);
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("btnOk")), Qt::LeftButton);
    });
    QTest::keyClicks(&f.window(), QStringLiteral("#"));

    EXPECT_EQ(f.services().settings().values().commPort, 3);
    const QStringList ini = textfile::readLines(f.path(QStringLiteral("Dorodure.ini")));
    EXPECT_TRUE(ini.contains(QStringLiteral("CommPort=3"))) << ini.join(u'|').toStdString();
    EXPECT_FALSE(ini.contains(QStringLiteral("CommPort=1")));
    ASSERT_NE(f.services().commsThread(), nullptr);
    EXPECT_EQ(f.services().commsThread()->portNumber(), 3);
    const QStringList log = f.activityLines();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].endsWith(QStringLiteral("\"unknown\",\"Set the Port Number to3\"")))
        << log[0].toStdString();
}

TEST(PortSetup, CancelChangesNothing) {
    AppFixture f;
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    f.start();
    f.window().show();

    answerPortSetup([](TfrmDelay& d) {
        d.spinEdit()->setValue(9);
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("btnCancel")), Qt::LeftButton);
    });
    QTest::keyClicks(&f.window(), QStringLiteral("#"));

    EXPECT_EQ(f.services().settings().values().commPort, 1);
    EXPECT_TRUE(textfile::readLines(f.path(QStringLiteral("Dorodure.ini")))
                    .contains(QStringLiteral("CommPort=1")));
    EXPECT_TRUE(f.activityLines().isEmpty());
}

}  // namespace
}  // namespace dorodure::test
