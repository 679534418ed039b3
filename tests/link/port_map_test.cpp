// Port numbers to devices, overrides from the settings, and the lines made.

#include "link/port_map.h"
#include "link/sim/simulated_station.h"
#include "link/system_serial_line.h"
#include "shell/clock.h"
#include "shell/file_error.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <map>

namespace dorodure {
namespace {

PortMap::SettingsLookup lookupFrom(std::map<QString, QString> values) {
    return [values](const QString& key) {
        const auto it = values.find(key);
        return it == values.end() ? QString() : it->second;
    };
}

TEST(PortMap, FixedSchemeIsTheSameEveryTime) {
    const std::pair<int, const char*> table[] = {{0, ""},
                                                 {1, "/dev/ttyS0"},
                                                 {4, "/dev/ttyS3"},
                                                 {5, "/dev/ttyUSB0"},
                                                 {68, "/dev/ttyUSB63"},
                                                 {69, "/dev/ttyACM0"},
                                                 {132, "/dev/ttyACM63"},
                                                 {133, "/dev/ttyS4"},
                                                 {160, "/dev/ttyS31"},
                                                 {161, "/dev/rfcomm0"},
                                                 {192, "/dev/rfcomm31"},
                                                 {193, ""},
                                                 {255, ""},
                                                 {256, ""},
                                                 {-1, ""}};
    const PortMap map;
    for (const auto& [port, device] : table) {
        EXPECT_EQ(map.deviceFor(port), QLatin1String(device)) << port;
    }
    EXPECT_EQ(PortMap::portName(7), QStringLiteral("COM7"));
}

TEST(PortMap, SettingsOverridesWinAndCanDisable) {
    PortMap map(lookupFrom({{"Port5", " /dev/serial/by-id/usb-FTDI-if00 "},
                            {"Port0", "simulator"},
                            {"Port2", "none"},
                            {"Port200", "rfc2217://station:4001"}}));
    EXPECT_EQ(map.deviceFor(5), QStringLiteral("/dev/serial/by-id/usb-FTDI-if00"));
    EXPECT_EQ(map.deviceFor(0), QStringLiteral("simulator"));
    EXPECT_EQ(map.deviceFor(2), QString());
    EXPECT_EQ(map.deviceFor(200), QStringLiteral("rfc2217://station:4001"));
    EXPECT_EQ(map.deviceFor(6), QStringLiteral("/dev/ttyUSB1"));
    map.setOverride(5, QStringLiteral("simulator:demo"));
    EXPECT_EQ(map.deviceFor(5), QStringLiteral("simulator:demo"));
}

TEST(SerialLineFactory, SimulatorLinesShareOneStation) {
    ManualClock clock;
    SerialLineFactory factory(PortMap(lookupFrom({{"Port3", "simulator"}})), clock);
    auto first = factory.make(3);
    ASSERT_TRUE(first->open());
    first->setDtr(true);
    first->write("Emty");
    first->close();
    auto second = factory(3);
    ASSERT_TRUE(second->open());
    EXPECT_EQ(factory.station(QStringLiteral("simulator"))->bytesFromPc(), QByteArray("Emty"));
}

TEST(SerialLineFactory, SimulatorWithDemoBatonGreets) {
    ManualClock clock;
    SerialLineFactory factory(PortMap(lookupFrom({{"Port1", "simulator:demo"}})), clock);
    auto line = factory.make(1);
    ASSERT_TRUE(line->open());
    ASSERT_TRUE(line->waitForBytes(5000));
    EXPECT_EQ(line->read(2), QByteArray::fromHex("010D"));
}

TEST(SerialLineFactory, UnmappedNumbersAndUnknownSchemesNeverOpen) {
    ManualClock clock;
    SerialLineFactory factory(PortMap(lookupFrom({{"Port9", "rfc2217://host:1"}})), clock);
    for (int port : {0, 9, 250}) {
        auto line = factory.make(port);
        EXPECT_FALSE(line->open()) << port;
        EXPECT_FALSE(line->errorString().isEmpty());
    }
}

TEST(SerialLineFactory, RegisteredTransportMakesTheLine) {
    ManualClock clock;
    SerialLineFactory factory(PortMap(lookupFrom({{"Port9", "rfc2217://host:1"}})), clock);
    QString asked;
    factory.registerTransport(QStringLiteral("rfc2217"), [&](const QString& device) {
        asked = device;
        return std::make_unique<sim::SimulatedStation>(clock);
    });
    auto line = factory.make(9);
    EXPECT_EQ(asked, QStringLiteral("rfc2217://host:1"));
    EXPECT_TRUE(line->open());
}

TEST(SerialLineFactory, BadBatonFileIsReported) {
    ManualClock clock;
    SerialLineFactory factory(PortMap(lookupFrom({{"Port1", "simulator:/nonexistent/b.txt"}})),
                              clock);
    EXPECT_THROW(factory.make(1), FileError);
}

TEST(SystemSerialLine, MissingDeviceSaysSo) {
    SystemSerialLine line(QStringLiteral("/dev/ttyDoesNotExist9"), QStringLiteral("COM9"));
    EXPECT_FALSE(line.open());
    EXPECT_FALSE(line.isOpen());
    EXPECT_TRUE(line.errorString().contains(QLatin1String("COM9")))
        << line.errorString().toStdString();
    EXPECT_TRUE(line.errorString().contains(QLatin1String("no such device")));
    // A closed line neither throws nor blocks long.
    EXPECT_NO_THROW(line.setDtr(true));
    EXPECT_EQ(line.write("x"), -1);
    EXPECT_FALSE(line.waitForBytes(1));
}

// Root opens a file whatever its mode. For its lifetime this object takes from
// the calling thread the two capabilities that allow that, so that a device
// without rights is refused to the test as it is to an ordinary user.
class WithoutPermissionOverride {
  public:
    WithoutPermissionOverride() {
        if (syscall(SYS_capget, &header_, saved_) != 0) {
            return;
        }
        __user_cap_data_struct lowered[2] = {saved_[0], saved_[1]};
        for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
            lowered[CAP_TO_INDEX(cap)].effective &= ~CAP_TO_MASK(cap);
        }
        lowered_ = syscall(SYS_capset, &header_, lowered) == 0;
    }
    ~WithoutPermissionOverride() {
        if (lowered_) {
            syscall(SYS_capset, &header_, saved_);
        }
    }
    WithoutPermissionOverride(const WithoutPermissionOverride&) = delete;
    WithoutPermissionOverride& operator=(const WithoutPermissionOverride&) = delete;

  private:
    __user_cap_header_struct header_{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct saved_[2] = {};
    bool lowered_ = false;
};

TEST(SystemSerialLine, PermissionDeniedIsWordedForTheUser) {
    const WithoutPermissionOverride asOrdinaryUser;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ttyLocked"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    file.setPermissions(QFileDevice::Permissions());
    if (QFile(path).open(QIODevice::ReadWrite)) {
        GTEST_SKIP() << "running with rights that ignore file permissions";
    }
    SystemSerialLine line(path, QStringLiteral("COM5"));
    EXPECT_FALSE(line.open());
    EXPECT_TRUE(line.errorString().contains(QLatin1String("permission denied")))
        << line.errorString().toStdString();
}

}  // namespace
}  // namespace dorodure
