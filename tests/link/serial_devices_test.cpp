// The serial devices offered in the Port Setup window: order, stable names,
// port numbers and the text of each line.
#include "link/serial_devices.h"
#include "link/port_map.h"
#include "test_support.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>

namespace dorodure {
namespace {

const QString kById = QStringLiteral("/dev/serial/by-id/");
const QString kFtdi = kById + QStringLiteral("usb-FTDI_FT232R_USB_UART_A600-if00-port0");
const QString kArduino = kById + QStringLiteral("usb-Arduino_Uno_8543-if00");

SerialDeviceRecord usb(const QString& location, quint16 vendor, quint16 product,
                       const QString& description = {}, const QString& manufacturer = {}) {
    SerialDeviceRecord r;
    r.systemLocation = location;
    r.vendorId = vendor;
    r.productId = product;
    r.description = description;
    r.manufacturer = manufacturer;
    return r;
}

SerialDeviceRecord plain(const QString& location) {
    SerialDeviceRecord r;
    r.systemLocation = location;
    return r;
}

QStringList devicesOf(const std::vector<SerialDeviceEntry>& entries) {
    QStringList names;
    for (const SerialDeviceEntry& e : entries) {
        names << e.device;
    }
    return names;
}

TEST(SerialDevices, StableNamesFirstThenByPortNumberThenNumberless) {
    const std::vector<SerialDeviceRecord> records{
        plain(QStringLiteral("/dev/ttyS10")), usb(QStringLiteral("/dev/ttyUSB1"), 0x067b, 0x2303),
        plain(QStringLiteral("/dev/pts/3")),  usb(QStringLiteral("/dev/ttyUSB0"), 0x0403, 0x6001),
        plain(QStringLiteral("/dev/ttyS0")),  usb(QStringLiteral("/dev/ttyACM0"), 0x2341, 0x0043),
        plain(QStringLiteral("/dev/ttyS2")),
    };
    const ByIdLinks byId{{kFtdi, QStringLiteral("/dev/ttyUSB0")},
                         {kArduino, QStringLiteral("/dev/ttyACM0")}};
    const auto entries = describeSerialDevices(records, byId);
    EXPECT_EQ(devicesOf(entries),
              (QStringList{kArduino, kFtdi, QStringLiteral("/dev/ttyS0"),
                           QStringLiteral("/dev/ttyS2"), QStringLiteral("/dev/ttyUSB1"),
                           QStringLiteral("/dev/ttyS10"), QStringLiteral("/dev/pts/3")}));
    std::vector<int> numbers;
    for (const SerialDeviceEntry& e : entries) {
        numbers.push_back(e.portNumber);
    }
    // ttyACM0 is COM69, ttyUSB0 COM5, ttyS0 COM1, ttyS2 COM3, ttyUSB1 COM6,
    // ttyS10 COM139; a pseudo terminal has no number.
    EXPECT_EQ(numbers, (std::vector<int>{69, 5, 1, 3, 6, 139, 0}));
}

TEST(SerialDevices, EntryCarriesTheDeviceFieldsAndALabel) {
    SerialDeviceRecord r = usb(QStringLiteral("/dev/ttyUSB0"), 0x0403, 0x6001,
                               QStringLiteral(" FT232R USB UART "), QStringLiteral("FTDI"));
    r.serialNumber = QStringLiteral("A600");
    const auto entries = describeSerialDevices({r}, {{kFtdi, QStringLiteral("/dev/ttyUSB0")}});
    ASSERT_EQ(entries.size(), 1u);
    const SerialDeviceEntry& e = entries.front();
    EXPECT_EQ(e.device, kFtdi);
    EXPECT_TRUE(e.stableName);
    EXPECT_EQ(e.systemLocation, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(e.description, QStringLiteral("FT232R USB UART"));
    EXPECT_EQ(e.manufacturer, QStringLiteral("FTDI"));
    EXPECT_EQ(e.serialNumber, QStringLiteral("A600"));
    EXPECT_EQ(e.usbIds, QStringLiteral("0403:6001"));
    EXPECT_EQ(e.portNumber, 5);
    EXPECT_EQ(e.label(), QStringLiteral("COM5  usb-FTDI_FT232R_USB_UART_A600-if00-port0 "
                                        "(/dev/ttyUSB0)  FT232R USB UART, FTDI, USB 0403:6001"));
}

TEST(SerialDevices, LabelsOfPlainAndForbiddenDevices) {
    SerialDeviceRecord forbidden = plain(QStringLiteral("/dev/ttyS1"));
    forbidden.accessible = false;
    SerialDeviceRecord sameTexts = usb(QStringLiteral("/dev/ttyACM1"), 0x1a86, 0x7523,
                                       QStringLiteral("USB Serial"), QStringLiteral("USB Serial"));
    const auto entries =
        describeSerialDevices({forbidden, sameTexts, plain(QStringLiteral("/dev/pts/0"))}, {});
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].label(),
              QStringLiteral("COM2  /dev/ttyS1  - no permission (see serial-setup.sh)"));
    EXPECT_FALSE(entries[0].accessible);
    EXPECT_EQ(entries[1].label(), QStringLiteral("COM70  /dev/ttyACM1  USB Serial, USB 1a86:7523"));
    EXPECT_EQ(entries[2].label(), QStringLiteral("/dev/pts/0"));
    EXPECT_TRUE(entries[2].usbIds.isEmpty());
}

TEST(SerialDevices, PortSettingsDecideTheNumber) {
    // Port3 names the adapter by its stable name, Port7 a device by location,
    // and Port5 (the adapter's number in the fixed scheme) is switched off.
    const std::map<QString, QString> ini{{QStringLiteral("Port3"), kFtdi},
                                         {QStringLiteral("Port7"), QStringLiteral("/dev/ttyUSB1")},
                                         {QStringLiteral("Port5"), QStringLiteral("none")}};
    const PortMap map([&](const QString& key) {
        const auto it = ini.find(key);
        return it == ini.end() ? QString() : it->second;
    });
    const auto entries = describeSerialDevices(
        {usb(QStringLiteral("/dev/ttyUSB0"), 1, 2), usb(QStringLiteral("/dev/ttyUSB1"), 1, 3),
         usb(QStringLiteral("/dev/ttyUSB2"), 1, 4)},
        {{kFtdi, QStringLiteral("/dev/ttyUSB0")}}, &map);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].device, kFtdi);
    EXPECT_EQ(entries[0].portNumber, 3);
    // ttyUSB1 answers to Port7 as well as to its fixed COM6: the setting wins.
    EXPECT_EQ(entries[1].systemLocation, QStringLiteral("/dev/ttyUSB1"));
    EXPECT_EQ(entries[1].portNumber, 7);
    // ttyUSB2's fixed number 7 now names another device, so it has none.
    EXPECT_EQ(entries[2].systemLocation, QStringLiteral("/dev/ttyUSB2"));
    EXPECT_EQ(entries[2].portNumber, 0);
}

TEST(SerialDevices, ANumberlessChoiceGetsTheFirstFreeNumber) {
    const std::map<QString, QString> ini{{QStringLiteral("Port193"), QStringLiteral("/dev/pts/1")}};
    const PortMap map([&](const QString& key) {
        const auto it = ini.find(key);
        return it == ini.end() ? QString() : it->second;
    });
    const auto entries = describeSerialDevices(
        {plain(QStringLiteral("/dev/pts/1")), plain(QStringLiteral("/dev/pts/2")),
         usb(QStringLiteral("/dev/ttyUSB3"), 1, 2)},
        {}, &map);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(portNumberToKeep(entries[0], &map), 8);    // ttyUSB3 keeps COM8
    EXPECT_EQ(portNumberToKeep(entries[1], &map), 193);  // already kept as Port193
    EXPECT_EQ(portNumberToKeep(entries[2], &map), 194);  // pts/2: the next free number
}

TEST(SerialDevices, DuplicatesAndSeveralLinksToOneDevice) {
    const ByIdLinks byId{
        {kFtdi, QStringLiteral("/dev/ttyUSB0")},
        {kById + QStringLiteral("usb-ZZZ_second_name"), QStringLiteral("/dev/ttyUSB0")}};
    const auto entries =
        describeSerialDevices({usb(QStringLiteral("/dev/ttyUSB0"), 1, 2),
                               usb(QStringLiteral("/dev/ttyUSB0"), 1, 2), plain(QString())},
                              byId);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].device, kFtdi);
}

TEST(SerialDevices, ReadsByIdLinksAndSkipsDanglingOnes) {
    test::TempDataFolder tmp;
    const QString dev = tmp.mkdir(QStringLiteral("dev"));
    const QString byIdFolder = tmp.mkdir(QStringLiteral("dev/serial/by-id"));
    test::writeBytes(dev + QStringLiteral("/ttyUSB0"), "x");
    ASSERT_TRUE(QFile::link(QStringLiteral("../../ttyUSB0"),
                            byIdFolder + QStringLiteral("/usb-FTDI_A600-if00-port0")));
    ASSERT_TRUE(
        QFile::link(QStringLiteral("../../ttyUSB9"), byIdFolder + QStringLiteral("/usb-gone")));
    const ByIdLinks links = readByIdLinks(byIdFolder);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links.begin()->first, byIdFolder + QStringLiteral("/usb-FTDI_A600-if00-port0"));
    EXPECT_EQ(links.begin()->second, QDir(dev).canonicalPath() + QStringLiteral("/ttyUSB0"));
    EXPECT_TRUE(readByIdLinks(tmp.file(QStringLiteral("no-such-folder"))).empty());
}

}  // namespace
}  // namespace dorodure
