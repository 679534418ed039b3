// The Port Setup window, opened from the main window with "#".
#include "startup_fixture.h"

#include "frm_delay.h"
#include "link/comms_thread.h"
#include "link/serial_devices.h"
#include "shell/settings.h"
#include "shell/text_file.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
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

// An FTDI adapter with a stable name, a plain on-board port and a device the
// fixed numbering does not know.
std::vector<SerialDeviceEntry> threeDevices(const PortMap* map) {
    SerialDeviceRecord ftdi{QStringLiteral("/dev/ttyUSB0"),
                            QStringLiteral("FT232R USB UART"),
                            QStringLiteral("FTDI"),
                            QStringLiteral("A10K3"),
                            0x0403,
                            0x6001};
    SerialDeviceRecord onboard{QStringLiteral("/dev/ttyS1"), {}, {}, {}, {}, {}};
    SerialDeviceRecord exar{
        QStringLiteral("/dev/ttyXRUSB0"), QStringLiteral("XR21V1410"), {}, {}, 0x04e2, 0x1410};
    const ByIdLinks byId{{QStringLiteral("/dev/serial/by-id/usb-FTDI_FT232R_A10K3-if00-port0"),
                          QStringLiteral("/dev/ttyUSB0")}};
    return describeSerialDevices({onboard, exar, ftdi}, byId, map);
}

TEST(PortSetup, APickedDeviceIsKeptWithItsPortNumber) {
    struct Case {
        const char* name;
        int row;        // the device picked, in list order
        int typedPort;  // 0: the number the pick gave is kept
        int commPort;
        const char* portLine;  // the "Port<N>" line written, "" for none
    };
    const Case cases[] = {
        {"stable name under its own number", 0, 0, 5,
         "Port5=/dev/serial/by-id/usb-FTDI_FT232R_A10K3-if00-port0"},
        {"fixed-scheme device needs no line", 1, 0, 2, ""},
        {"unnumbered device gets a free number", 2, 0, 193, "Port193=/dev/ttyXRUSB0"},
        {"a typed number drops the pick", 0, 7, 7, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppFixture f;
        f.serialDevices = threeDevices;
        f.install();
        f.addSite(QStringLiteral("Head Office"));
        f.start();
        f.window().show();

        QStringList shown;
        answerPortSetup([&](TfrmDelay& d) {
            for (int i = 0; i < d.deviceList()->count(); ++i) {
                shown << d.deviceList()->item(i)->text();
            }
            d.deviceList()->setCurrentRow(c.row);
            if (c.typedPort != 0) {
                d.spinEdit()->setValue(c.typedPort);
            }
            QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("btnOk")), Qt::LeftButton);
        });
        QTest::keyClicks(&f.window(), QStringLiteral("#"));

        ASSERT_EQ(shown.size(), 3) << shown.join(u'|').toStdString();
        EXPECT_TRUE(
            shown[0].startsWith(QStringLiteral("COM5  usb-FTDI_FT232R_A10K3-if00-port0 "
                                               "(/dev/ttyUSB0)  FT232R USB UART, FTDI, "
                                               "USB 0403:6001")))
            << shown[0].toStdString();
        EXPECT_TRUE(shown[1].startsWith(QStringLiteral("COM2  /dev/ttyS1")));
        EXPECT_TRUE(shown[2].startsWith(QStringLiteral("/dev/ttyXRUSB0")));

        EXPECT_EQ(f.services().settings().values().commPort, c.commPort);
        const QStringList ini = textfile::readLines(f.path(QStringLiteral("Dorodure.ini")));
        EXPECT_TRUE(ini.contains(QStringLiteral("CommPort=") + QString::number(c.commPort)));
        const QStringList portLines =
            ini.filter(QRegularExpression(QStringLiteral("^Port\\d+=/dev")));
        EXPECT_EQ(portLines.join(u'|'), QString::fromLatin1(c.portLine));
        EXPECT_EQ(f.services().commsThread()->portNumber(), c.commPort);
    }
}

TEST(PortSetup, SaysWhenNoSerialDeviceIsFound) {
    AppFixture f;
    f.serialDevices = [](const PortMap*) { return std::vector<SerialDeviceEntry>{}; };
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    f.start();
    f.window().show();

    answerPortSetup([](TfrmDelay& d) {
        ASSERT_EQ(d.deviceList()->count(), 1);
        EXPECT_EQ(d.deviceList()->item(0)->text(), QStringLiteral("No serial devices found"));
        EXPECT_FALSE(d.deviceList()->item(0)->flags() & Qt::ItemIsSelectable);
        d.deviceList()->setCurrentRow(0);
        EXPECT_EQ(d.spinEdit()->value(), 0);
        QTest::mouseClick(d.findChild<QPushButton*>(QStringLiteral("btnCancel")), Qt::LeftButton);
    });
    QTest::keyClicks(&f.window(), QStringLiteral("#"));
    EXPECT_EQ(f.services().settings().values().commPort, 1);
}

}  // namespace
}  // namespace dorodure::test
