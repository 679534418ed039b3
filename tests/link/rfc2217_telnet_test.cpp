// The Telnet / COM-PORT-OPTION codec and the network line without a server.
#include "link/rfc2217_telnet.h"
#include "link/port_map.h"
#include "link/rfc2217_line.h"
#include "shell/clock.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace dorodure {
namespace {

using namespace rfc2217;

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

TEST(Rfc2217Codec, DataEscapingDoublesEveryFF) {
    const std::vector<std::pair<QByteArray, QByteArray>> cases = {
        {{}, {}},
        {hex("0102"), hex("0102")},
        {hex("ff"), hex("ffff")},
        {hex("ffff00fffa"), hex("ffffffff00fffffa")},
    };
    for (const auto& [data, wire] : cases) {
        EXPECT_EQ(escapeData(data).toHex(), wire.toHex());
        QByteArray back;
        QByteArray replies;
        TelnetDecoder decoder;
        decoder.feed(wire, back, replies);
        EXPECT_EQ(back.toHex(), data.toHex());
        EXPECT_TRUE(replies.isEmpty());
    }
}

TEST(Rfc2217Codec, StationSettingsAndSignalsOnTheWire) {
    // 9600 = 00 00 25 80; parity 1 = none; stop size 2; control 1 = no flow
    // control, 12 = RTS off.
    EXPECT_EQ(stationLineSettings().toHex(' '),
              QByteArray("ff fa 2c 01 00 00 25 80 ff f0 ff fa 2c 02 08 ff f0 "
                         "ff fa 2c 03 01 ff f0 ff fa 2c 04 02 ff f0 "
                         "ff fa 2c 05 01 ff f0 ff fa 2c 05 0c ff f0"));
    EXPECT_EQ(setControl(comport::kDtrOn), hex("fffa2c0508fff0"));
    EXPECT_EQ(setControl(comport::kDtrOff), hex("fffa2c0509fff0"));
    EXPECT_EQ(setControl(comport::kBreakOn), hex("fffa2c0505fff0"));
    EXPECT_EQ(setControl(comport::kBreakOff), hex("fffa2c0506fff0"));
    // A value byte FF inside a subnegotiation is doubled too.
    EXPECT_EQ(comPortCommand(comport::kSetBaudRate, hex("0000ffff")),
              hex("fffa2c010000fffffffffff0"));
    EXPECT_EQ(openingRequests(), hex("fffb00fffd00fffb03fffd03fffb2c"));
}

TEST(Rfc2217Codec, CommandsSplitAcrossReadsAreReassembled) {
    // Data, an escaped FF, a baud rate acknowledgement, a NOP and more data,
    // fed one byte at a time.
    const QByteArray stream = hex("41ffff42fffa2c6500002580fff0fff143");
    TelnetDecoder decoder;
    QByteArray data;
    QByteArray replies;
    for (const char c : stream) {
        decoder.feed(QByteArray(1, c), data, replies);
    }
    EXPECT_EQ(data.toHex(), QByteArray("41ff4243"));
    EXPECT_TRUE(replies.isEmpty());
    const std::vector<ServerMessage> messages = decoder.takeMessages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].command, comport::kServerOffset + comport::kSetBaudRate);
    EXPECT_EQ(messages[0].value.toHex(), QByteArray("00002580"));
    EXPECT_TRUE(decoder.takeMessages().empty());
}

TEST(Rfc2217Codec, NegotiationAcceptsOurOptionsAndRefusesTheRest) {
    struct Case {
        const char* in;
        const char* reply;
        bool agreed;
    };
    // One decoder through the whole table: answers depend on what went before.
    const Case cases[] = {
        {"fffb01", "fffe01", false},  // WILL ECHO: refused, the station echoes
        {"fffb00", "", false},        // WILL BINARY: we asked for it
        {"fffd03", "", false},        // DO SGA: we offered it
        {"fffd18", "fffc18", false},  // DO TERMINAL-TYPE: refused
        {"fffb2c", "fffd2c", true},   // WILL COM-PORT-OPTION: accepted
        {"fffd2c", "", true},         // DO COM-PORT-OPTION: we offered it
        {"fffb00", "", true},         // repeated WILL BINARY: no answer loop
        {"fffc00", "fffe00", true},   // WONT BINARY after agreeing: confirmed once
        {"fffc00", "", true},
    };
    TelnetDecoder decoder;
    for (const Case& c : cases) {
        QByteArray data;
        QByteArray replies;
        decoder.feed(hex(c.in), data, replies);
        EXPECT_EQ(replies.toHex(), QByteArray(c.reply)) << c.in;
        EXPECT_TRUE(data.isEmpty()) << c.in;
        EXPECT_EQ(decoder.comPortAgreed(), c.agreed) << c.in;
    }
}

TEST(Rfc2217Address, Parsing) {
    struct Case {
        const char* text;
        const char* host;  // nullptr: rejected
        int port;
    };
    const Case cases[] = {
        {"rfc2217://127.0.0.1:2217", "127.0.0.1", 2217},
        {"rfc2217://guardhouse.example:4001/", "guardhouse.example", 4001},
        {"RFC2217://[::1]:7000", "::1", 7000},
        {" rfc2217://pi:3001 ", "pi", 3001},
        {"rfc2217://host", nullptr, 0},
        {"rfc2217://:2217", nullptr, 0},
        {"rfc2217://host:0", nullptr, 0},
        {"rfc2217://host:70000", nullptr, 0},
        {"rfc2217://host:2217/ttyUSB0", nullptr, 0},
        {"rfc2217://user@host:2217", nullptr, 0},
        {"tcp://host:2217", nullptr, 0},
        {"/dev/ttyUSB0", nullptr, 0},
    };
    for (const Case& c : cases) {
        const auto address = parseRfc2217Address(QString::fromLatin1(c.text));
        if (c.host == nullptr) {
            EXPECT_FALSE(address.has_value()) << c.text;
            continue;
        }
        ASSERT_TRUE(address.has_value()) << c.text;
        EXPECT_EQ(address->host, QString::fromLatin1(c.host)) << c.text;
        EXPECT_EQ(address->port, c.port) << c.text;
    }
}

TEST(Rfc2217Line, FactoryMakesNetworkLinesOnceRegistered) {
    SystemClock clock;
    PortMap map([](const QString& key) {
        return key == QLatin1String("Port3") ? QStringLiteral("rfc2217://127.0.0.1:1") : QString();
    });
    SerialLineFactory factory(map, clock);
    std::unique_ptr<SerialLine> before = factory.make(3);
    EXPECT_EQ(dynamic_cast<Rfc2217Line*>(before.get()), nullptr);
    EXPECT_FALSE(before->open());

    registerRfc2217Transport(factory);
    std::unique_ptr<SerialLine> line = factory.make(3);
    auto* network = dynamic_cast<Rfc2217Line*>(line.get());
    ASSERT_NE(network, nullptr);
    EXPECT_EQ(network->device(), QStringLiteral("rfc2217://127.0.0.1:1"));
}

TEST(Rfc2217Line, ClosedOrUnreachableLineBehavesAsAMissingPort) {
    // Nothing listens on port 1 of the loop-back interface.
    Rfc2217Line refused(QStringLiteral("rfc2217://127.0.0.1:1"), QStringLiteral("COM7"));
    EXPECT_FALSE(refused.open());
    EXPECT_TRUE(refused.errorString().contains(QLatin1String("COM7")))
        << refused.errorString().toStdString();
    EXPECT_TRUE(refused.errorString().contains(QLatin1String("refused")))
        << refused.errorString().toStdString();
    EXPECT_FALSE(refused.isOpen());
    // Calls on the closed line do what a closed local port does.
    EXPECT_EQ(refused.bytesWaiting(), 0);
    EXPECT_EQ(refused.write("Emty"), -1);
    EXPECT_FALSE(refused.waitForBytes(5));
    EXPECT_NO_THROW(refused.setDtr(true));
    refused.close();

    Rfc2217Line malformed(QStringLiteral("rfc2217://nowhere"));
    EXPECT_FALSE(malformed.open());
    EXPECT_TRUE(malformed.errorString().contains(QLatin1String("rfc2217://HOST:PORT")));
}

// A server that takes the connection and never says a word: a device server
// that ignores the negotiation still gets the station's line settings.
TEST(Rfc2217Line, SilentServerStillGetsTheLineSettings) {
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof a;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&a), size), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &size), 0);

    Rfc2217Line line(QStringLiteral("rfc2217://127.0.0.1:%1").arg(ntohs(a.sin_port)));
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(line.open()) << line.errorString().toStdString();
    EXPECT_GE(timer.elapsed(), Rfc2217Line::kNegotiationWaitMs - 20);
    line.setDtr(true);
    EXPECT_EQ(line.write(QByteArray::fromHex("0bff")), 2);

    const int server = ::accept(listener, nullptr, nullptr);
    ASSERT_GE(server, 0);
    const QByteArray want = openingRequests() + stationLineSettings() +
                            setControl(comport::kDtrOff) + setControl(comport::kDtrOn) +
                            QByteArray::fromHex("0bffff");
    QByteArray got;
    pollfd p{server, POLLIN, 0};
    while (got.size() < want.size() && ::poll(&p, 1, 2000) > 0) {
        char buffer[512];
        const ssize_t n = ::recv(server, buffer, sizeof buffer, 0);
        if (n <= 0) {
            break;
        }
        got.append(buffer, qsizetype(n));
    }
    EXPECT_EQ(got.toHex(' '), want.toHex(' '));
    EXPECT_FALSE(line.waitForBytes(20));

    // The server hangs up: the next call reports the lost line.
    ::close(server);
    ::close(listener);
    EXPECT_THROW(line.waitForBytes(1000), PortError);
}

}  // namespace
}  // namespace dorodure
