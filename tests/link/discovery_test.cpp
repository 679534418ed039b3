// The search for the upload station over the port numbers.
#include "link_fixture.h"
#include "shell/text_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace dorodure {
namespace {

using test::LinkFixture;

TEST(EchoTest, PaddingAndPositions) {
    struct Case {
        const char* reply;
        bool passes;
    };
    const Case cases[] = {
        {"Emty", true},   {"XEmty", true},   {"XYEmty", true}, {"XYZEmty", true},
        {"EmtyX", false}, {"Emty   ", true}, {"", false},      {"WXYZEmty", false},
        {"Em", false},    {"XEmtyAB", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(echoTestPasses(QByteArray(c.reply)), c.passes) << c.reply;
    }
}

QString iniCommPort(const LinkFixture& fx) {
    for (const QString& line : textfile::readLines(fx.settings.path())) {
        if (line.startsWith(QStringLiteral("CommPort="), Qt::CaseInsensitive)) {
            return line.mid(9);
        }
    }
    return {};
}

TEST(Discovery, SkipsLoopBackAndSilentPortsAndRemembersTheStation) {
    LinkFixture fx;
    fx.addStation(1, sim::StationOptions{.echo = sim::EchoMode::Always});
    fx.addStation(2, sim::StationOptions{.echo = sim::EchoMode::Never});
    auto station = fx.addStation(3);
    fx.start();
    EXPECT_EQ(fx.session->portNumber(), 3);
    EXPECT_TRUE(fx.session->portReady());
    EXPECT_EQ(fx.probed, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(iniCommPort(fx), QStringLiteral("3"));
    // The in-memory setting stays as it was read.
    EXPECT_EQ(fx.settings.values().commPort, 0);
    // The station check: identity command with DTR off, then DTR on, BREAK off.
    EXPECT_TRUE(station->bytesFromPc().endsWith(QByteArray::fromHex("015E")));
    EXPECT_TRUE(station->dtr());
    EXPECT_FALSE(station->breakOn());
    const auto d = fx.display.snapshot();
    EXPECT_TRUE(d.pictureShown);
    EXPECT_EQ(d.gaugeBar, DisplaySnapshot::Bar::Blue);
    EXPECT_EQ(d.statusText, QStringLiteral("Initializing please wait  (Starting Program)"));
    // The loop-back plug and the silent port were closed again.
    EXPECT_FALSE(fx.ports[1]->isOpen());
    EXPECT_FALSE(fx.ports[2]->isOpen());
}

TEST(Discovery, SearchWrapsFrom255ToComZeroAndOn) {
    LinkFixture fx;
    fx.settings.writeKey(QStringLiteral("CommPort"), QStringLiteral("255"));
    fx.settings.load();
    fx.addStation(1);
    fx.start();
    EXPECT_EQ(fx.probed, (std::vector<int>{255, 0, 1}));
    EXPECT_EQ(fx.session->portNumber(), 1);
    EXPECT_EQ(iniCommPort(fx), QStringLiteral("1"));
}

TEST(Discovery, KnownPortIsNotRewritten) {
    LinkFixture fx;
    fx.settings.writeKey(QStringLiteral("CommPort"), QStringLiteral("2"));
    fx.settings.load();
    fx.addStation(2);
    const QByteArray before = test::readBytes(fx.settings.path());
    fx.start();
    EXPECT_EQ(fx.probed, (std::vector<int>{2}));
    EXPECT_EQ(test::readBytes(fx.settings.path()), before);
}

TEST(Discovery, PortThatCannotOpenCostsFourTries) {
    LinkFixture fx;
    fx.addStation(1, sim::StationOptions{.present = false});
    fx.addStation(2);
    const qint64 start = fx.clock.tickMs();
    fx.start();
    EXPECT_EQ(fx.session->portNumber(), 2);
    // Four 10 ms pauses on COM1, then about 310 ms of echo tests and 250 ms
    // of station check on COM2.
    EXPECT_GE(fx.clock.tickMs() - start, 40 + 300 + 250);
    EXPECT_LT(fx.clock.tickMs() - start, 40 + 300 + 250 + 200);
}

TEST(Discovery, StopEndsASearchThatFindsNothing) {
    LinkFixture fx;
    fx.addStation(1, sim::StationOptions{.echo = sim::EchoMode::Never});
    UploadSession session(fx.services, fx.factory(), fx.stop);
    // With nothing to find the search cycles 1 .. 255, 0, 1 ... in virtual time.
    std::thread search([&] { session.discover(); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    fx.stop = true;
    search.join();
    EXPECT_TRUE(session.portReady());
    EXPECT_GE(std::count(fx.probed.begin(), fx.probed.end(), 2), 1);
}

}  // namespace
}  // namespace dorodure

namespace dorodure {
namespace {

// A port whose device exists but this user may not open.
class ForbiddenLine final : public SerialLine {
  public:
    bool open() override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
    QString errorString() const override {
        return QStringLiteral(
            "COM1 (/dev/ttyS0): permission denied; add the user to the group "
            "that owns the device (usually \"dialout\") and log in again");
    }
    bool permissionDenied() const override { return true; }
    void setDtr(bool) override {}
    void setBreak(bool) override {}
    qint64 bytesWaiting() override { return 0; }
    QByteArray read(qint64) override { return {}; }
    qint64 write(const QByteArray&) override { return -1; }
    bool waitForBytes(qint64) override { return false; }
};

TEST(Discovery, APortWithoutPermissionIsReportedNotSkippedSilently) {
    test::LinkFixture fx;
    textfile::createEmpty(fx.folder.file(QStringLiteral("Rs232.txt")));
    fx.ports[1] = std::make_shared<ForbiddenLine>();
    fx.addStation(4);
    // The status line as the search reaches port 3.
    QString statusAtPort3;
    const LineFactory inner = fx.factory();
    const LineFactory spy = [&](int port) {
        if (port == 3) {
            statusAtPort3 = fx.display.snapshot().statusText;
        }
        return inner(port);
    };
    fx.session = std::make_unique<UploadSession>(fx.services, spy, fx.stop);
    fx.session->discover();
    EXPECT_EQ(fx.session->portNumber(), 4);
    EXPECT_EQ(statusAtPort3,
              QStringLiteral("Initializing please wait  (Checking Port 3 )  COM1 (/dev/ttyS0): "
                             "permission denied; add the user to the group that owns the device "
                             "(usually \"dialout\") and log in again"));
    // Found: the note is gone.
    EXPECT_FALSE(fx.display.snapshot().statusText.contains(QLatin1String("permission")));
    const QStringList trace = test::readCrlfLines(fx.folder.file(QStringLiteral("Rs1.txt")));
    EXPECT_EQ(trace.filter(QStringLiteral("Permission denied: COM1 (/dev/ttyS0)")).size(), 1)
        << trace.join(u'\n').toStdString();
}

}  // namespace
}  // namespace dorodure
