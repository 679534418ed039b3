// Baton files: what they place on the station, and errors by line number.

#include "link/sim/baton_file.h"
#include "link/sim/sim_bytes.h"
#include "shell/clock.h"

#include <gtest/gtest.h>

namespace dorodure::sim {
namespace {

const QDate kToday(2009, 5, 12);

TEST(SimBatonFile, ReadsBatonsBanksRecordsAndOptions) {
    const StationScript s =
        readBatonFile(QStringLiteral(DORODURE_TEST_DATA "/link/two_batons.txt"), kToday);
    ASSERT_EQ(s.batons.size(), 2u);
    const ScriptedBaton& a = s.batons[0];
    EXPECT_EQ(a.baton.idText, QByteArray("Ziru0123"));
    EXPECT_EQ(a.baton.version, 0x1905);
    EXPECT_EQ(a.baton.effectiveClockModel(), ClockModel::Bcd);
    EXPECT_EQ(a.baton.banks[1], (std::vector<BatonRecord>{{0x123456, 0x05, 0x12, 0x14, 0x03, 0},
                                                          {0x0000A1, 0x05, 0x12, 0x14, 0x09, 0}}));
    EXPECT_EQ(a.baton.banks[0].size(), 1u);
    EXPECT_EQ(a.removal.rule, Removal::Rule::AfterUpload);
    EXPECT_EQ(a.waitMs, 1000);
    const ScriptedBaton& b = s.batons[1];
    EXPECT_EQ(b.baton.effectiveClockModel(), ClockModel::Seconds);
    EXPECT_EQ(b.baton.delay, 5);
    EXPECT_EQ(b.waitMs, 2500);
    EXPECT_EQ(b.removal.lingerMs, 1000);
    ASSERT_EQ(b.faults.refuse.size(), 1u);
    EXPECT_EQ(b.faults.refuse[0].command, 0x11);
    ASSERT_EQ(s.buttons.size(), 1u);
    EXPECT_EQ(s.buttons[0].id, 0x0FA501u);
    EXPECT_EQ(s.buttons[0].atMs, 200);
}

TEST(SimBatonFile, EmptyFileIsAStationWithoutBaton) {
    const StationScript s = parseBatonFile(QStringLiteral("# nothing\n\n"), kToday);
    EXPECT_TRUE(s.batons.empty());
    EXPECT_TRUE(s.buttons.empty());
}

TEST(SimBatonFile, OptionsAndFaults) {
    const StationScript s = parseBatonFile(
        QStringLiteral("timing real\nresponse 4\necho always\n"
                       "baton ZirU0001 clock unset offset -60\nstay 12.5\nseed 99\n"
                       "fault remove-after-packet 5\nfault unplug-after-packet 9 replug 3\n"
                       "fault crc 0E 2 3\nfault noise 0.25\nfault loss 0.01\nfault lose-byte 17\n"
                       "fault remove-after-bytes 40\nfault silent\n"
                       "baton Ziru0002\nstay forever\n"),
        kToday);
    EXPECT_TRUE(s.options.realByteTiming);
    EXPECT_EQ(s.options.responseDelayMs, 4);
    EXPECT_EQ(s.options.echo, EchoMode::Always);
    const ScriptedBaton& b = s.batons.at(0);
    EXPECT_TRUE(b.baton.clockUnset);
    EXPECT_EQ(b.baton.clockOffsetSeconds, -60);
    EXPECT_EQ(b.removal.rule, Removal::Rule::Stay);
    EXPECT_EQ(b.removal.stayMs, 12500);
    const FaultPlan& f = b.faults;
    EXPECT_EQ(f.seed, 99u);
    EXPECT_EQ(f.removeAfterPacket, 5);
    EXPECT_EQ(f.unplugAfterPacket, 9);
    EXPECT_EQ(f.replugAfterMs, 3000);
    ASSERT_EQ(f.corrupt.size(), 1u);
    EXPECT_EQ(f.corrupt[0].nth, 2);
    EXPECT_EQ(f.corrupt[0].count, 3);
    EXPECT_DOUBLE_EQ(f.noiseRate, 0.25);
    EXPECT_DOUBLE_EQ(f.lossRate, 0.01);
    EXPECT_TRUE(f.lostBytes.contains(17));
    EXPECT_EQ(f.removeAfterBytes, 40);
    EXPECT_TRUE(f.silent);
    EXPECT_EQ(s.batons.at(1).removal.rule, Removal::Rule::Manual);
}

TEST(SimBatonFile, ErrorsNameTheLine) {
    struct Case {
        const char* text;
        int line;
        const char* fragment;
    };
    const Case cases[] = {
        {"bank 2\n", 1, "before any baton"},
        {"baton Ziru01\n", 1, "8 characters"},
        {"baton Ziru0123 version 19\n", 1, "4 hex digits"},
        {"baton Ziru0123 clock fast\n", 1, "unknown baton option"},
        {"baton Ziru0123\n123456 05 12 14 03\n", 2, "needs a bank line"},
        {"baton Ziru0123\nbank 3\n", 2, "even"},
        {"baton Ziru0123\nbank 16\n", 2, "from 0 to 14"},
        {"baton Ziru0123\nbank 2\n\n# c\n12345G 05 12 14 03\n", 5, "not a line"},
        {"baton Ziru0123\nbank 2\n123456 5 12 14 03\n", 3, "two hex digits"},
        {"baton Ziru0123\nfault wobble\n", 2, "unknown fault"},
        {"baton Ziru0123\nfault noise 2\n", 2, "rate"},
        {"baton Ziru0123\nremove later\n", 2, "after-upload"},
        {"echo sometimes\n", 1, "echo dtr"},
        {"button 12345\n", 1, "button <6 hex digits>"},
    };
    for (const Case& c : cases) {
        try {
            parseBatonFile(QString::fromLatin1(c.text), kToday);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const BatonFileError& e) {
            EXPECT_EQ(e.lineNumber(), c.line) << c.text;
            EXPECT_TRUE(e.message().contains(QLatin1String(c.fragment))) << e.what();
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("line %1: ").arg(c.line)));
        }
    }
}

TEST(SimBatonFile, MissingFileIsAFileError) {
    EXPECT_THROW(readBatonFile(QStringLiteral("/nonexistent/batons.txt"), kToday), FileError);
}

TEST(SimBatonFile, DemoIsANightOfRoundsOverSixCheckpoints) {
    const StationScript s = readBatonFile(QStringLiteral("demo"), kToday);
    ASSERT_EQ(s.batons.size(), 1u);
    const BatonSetup& b = s.batons[0].baton;
    EXPECT_EQ(b.idText.left(4), QByteArray("Ziru"));
    const auto& night = b.banks[1];
    ASSERT_EQ(night.size(), 25u);
    EXPECT_EQ(night[0], (BatonRecord{0x0FA500, 0x05, 0x11, 0x21, 0x55, 0}));
    EXPECT_EQ(night[1], (BatonRecord{0x0000A1, 0x05, 0x11, 0x22, 0x00, 0}));
    EXPECT_EQ(night[24].buttonId, 0x0000A6u);
    EXPECT_EQ(night[24].month, 0x05);
    EXPECT_EQ(night[24].day, 0x12);  // the last round runs past midnight
    ASSERT_EQ(b.banks[0].size(), 6u);
    for (int bank = 2; bank < kBankCount; ++bank) {
        EXPECT_TRUE(b.banks[bank].empty());
    }
    EXPECT_EQ(parseBatonFile(QStringLiteral("demo\n"), kToday).batons.size(), 1u);
}

// Reads n bytes with the echo off.
QByteArray take(SerialLine& line, int n, qint64 timeoutMs) {
    QByteArray got;
    while (got.size() < n && line.waitForBytes(timeoutMs)) {
        got += line.read(n - got.size());
    }
    return got;
}

TEST(SimBatonFile, ScriptPlacesBatonsOneAfterTheOther) {
    ManualClock clock;
    SimulatedStation station(clock);
    station.loadScript(
        readBatonFile(QStringLiteral(DORODURE_TEST_DATA "/link/two_batons.txt"), kToday));
    ASSERT_TRUE(station.open());
    // The button at 0.2 s, the first baton's greeting at 1.0 + 0.1 s.
    EXPECT_EQ(take(station, 5, 5000), withCrc(QByteArray::fromHex("240FA501")));
    EXPECT_EQ(take(station, 2, 5000), QByteArray::fromHex("010D"));
    EXPECT_EQ(clock.tickMs(), 1100);
    station.write(QByteArray(20, '\x55'));
    station.write(QByteArray::fromHex("03E2"));  // the first clock read starts the 3 s linger
    EXPECT_EQ(take(station, 10, 100).size(), 10);
    EXPECT_TRUE(station.batonPresent());
    clock.advance(3000);
    EXPECT_FALSE(station.batonPresent());
    // The second baton comes 2.5 s later and greets 0.1 s after that.
    EXPECT_EQ(take(station, 2, 10000), QByteArray::fromHex("010D"));
    EXPECT_EQ(clock.tickMs(), 1100 + 3000 + 2600);
    EXPECT_EQ(station.baton()->idText(), QByteArray("ZIRC0007"));
    EXPECT_FALSE(station.scriptFinished());
    station.remove();
    EXPECT_TRUE(station.scriptFinished());
    EXPECT_EQ(station.batonsPlaced(), 2);
}

}  // namespace
}  // namespace dorodure::sim
