// Whole upload sessions against the simulated station, in virtual time.
#include "link/frames.h"
#include "link_fixture.h"
#include "shell/text_file.h"

#include <QFile>
#include <iostream>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

using test::batonWith;
using test::LinkFixture;

// The command frames the baton took, as hex text, from the first 01 on.
QStringList commandTexts(const sim::SimulatedStation& station) {
    QStringList out;
    for (const QByteArray& frame : station.commands()) {
        out << QString::fromLatin1(frame.toHex(' ').toUpper());
    }
    return out;
}

struct SessionTest : ::testing::Test {
    LinkFixture fx;
    void SetUp() override {
        fx.addStation(1);
        fx.start();
    }
};

TEST_F(SessionTest, ZiruBatonTwoBanksInOrder) {
    ASSERT_TRUE(fx.uploadOne(batonWith("Ziru0123", {{2, 3}, {0, 2}})));
    const QStringList cmds = commandTexts(*fx.station);
    const int first = int(cmds.indexOf(QStringLiteral("01 5E")));
    ASSERT_GE(first, 0) << cmds.join(QLatin1Char('\n')).toStdString();
    const QStringList want = {
        QStringLiteral("01 5E"),
        QString::fromLatin1(
            frames::setClockBcd(QDateTime()).left(0)),  // placeholder, checked below
    };
    ASSERT_GT(cmds.size(), first + 1);
    EXPECT_TRUE(cmds[first + 1].startsWith(QStringLiteral("05 20 09 05 12")));
    const QStringList rest = cmds.mid(first + 2);
    const QStringList expected = {
        QStringLiteral("09 02 0E"),
        QString::fromLatin1(frames::startReading(2, 0).toHex(' ').toUpper()),
        QStringLiteral("0D FD"),
        QStringLiteral("0D FD"),
        QStringLiteral("0D FD"),
        QStringLiteral("0D FD"),
        QStringLiteral("11 02 00 08 3A"),
        QString::fromLatin1(frames::readBankSize(0).toHex(' ').toUpper()),
        QStringLiteral("0B 00 00 00 08 B2"),
        QStringLiteral("0B 00 00 00 08 B2"),
        QStringLiteral("0D FD"),
        QStringLiteral("0D FD"),
        QStringLiteral("0D FD"),
        QString::fromLatin1(frames::setEndPointer(0, 8).toHex(' ').toUpper()),
        QStringLiteral("03 E2"),
    };
    EXPECT_EQ(rest.mid(0, expected.size()).join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());

    EXPECT_EQ(fx.host.doRawCalls, 1);
    EXPECT_EQ(fx.processedKeys(), fx.clearedKeys());
    EXPECT_EQ(fx.clearedKeys().size(), 5);
    const QStringList raw = test::readCrlfLines(fx.rawPath());
    ASSERT_EQ(raw.size(), 7);
    EXPECT_EQ(raw.first(), QStringLiteral("Id : Ziru0123"));
    EXPECT_EQ(raw.last(), QStringLiteral("Done"));
    // Sequence numbers restart with each bank: 2, 3, 4 then 2, 3.
    EXPECT_TRUE(raw[1].endsWith(QLatin1Char('2')) && raw[3].endsWith(QLatin1Char('4')));
    EXPECT_TRUE(raw[4].endsWith(QLatin1Char('2')));
}

}  // namespace
}  // namespace dorodure

namespace dorodure {
namespace {

TEST_F(SessionTest, OtherModelsReadAllBanksAndSkipEmptyOnes) {
    // Banks 14 and 4 hold records; the others are empty (size reply 80 ..).
    ASSERT_TRUE(fx.uploadOne(batonWith("ZIRU0042", {{14, 2}, {4, 1}})));
    QStringList sizes;
    QStringList clears;
    for (const auto& [tick, frame] : fx.pcFrames()) {
        if (frame.at(0) == 0x09) {
            sizes << QString::number(frame.at(1));
        } else if (frame.at(0) == 0x11) {
            clears << QString::number(frame.at(1));
        }
    }
    EXPECT_EQ(sizes.join(QLatin1Char(',')), QStringLiteral("14,12,10,8,6,4,2,0"));
    EXPECT_EQ(clears.join(QLatin1Char(',')), QStringLiteral("14,4"));
    EXPECT_EQ(fx.processedKeys(), fx.clearedKeys());
    EXPECT_EQ(fx.processedKeys().size(), 3);
    EXPECT_EQ(fx.host.batons, QStringList{QStringLiteral("Id : ZIRU0042")});
}

TEST_F(SessionTest, EmptyZiruBatonShowsNoDataAndIsNotProcessed) {
    ASSERT_TRUE(fx.uploadOne(batonWith("Ziru0007", {})));
    EXPECT_EQ(fx.host.doRawCalls, 0);
    EXPECT_TRUE(fx.display.snapshot().label4Visible);
    EXPECT_FALSE(QFile::exists(fx.rawPath()));
}

TEST_F(SessionTest, BankLargerThanTheCapIsReadUpTo32800BytesAndKept) {
    // 4200 records: 33608 bytes; 4099 records fit below 32800 with the header.
    ASSERT_TRUE(fx.uploadOne(batonWith("Ziru0123", {{2, 4200}})));
    const QStringList raw = test::readCrlfLines(fx.rawPath());
    EXPECT_EQ(raw.size(), 1 + 4099 + 1);
    EXPECT_EQ(fx.processedKeys().size(), 4099);
    // The records beyond the cap were never read, so the bank is not cleared.
    EXPECT_TRUE(fx.station->clearedRecords().empty());
}

TEST_F(SessionTest, SecondsModelSetsAndReadsItsClockInSeconds) {
    ASSERT_TRUE(fx.uploadOne(batonWith("ZirC0001", {{2, 1}})));
    bool setSeconds = false;
    bool readSeconds = false;
    for (const auto& [tick, frame] : fx.pcFrames()) {
        setSeconds |= frame.at(0) == 0x35;
        readSeconds |= frame == frames::kReadClockSeconds;
        EXPECT_NE(frame.at(0), 0x05);
        EXPECT_NE(frame, frames::kReadClockBcd);
    }
    EXPECT_TRUE(setSeconds && readSeconds);
    EXPECT_TRUE(fx.display.snapshot().lblDate.startsWith(QStringLiteral("Date : 12/05/2009")));
}

TEST_F(SessionTest, ClockPollingBeepsEverySecondAndFlashesTheTitle) {
    const auto before = fx.display.snapshot().beeps;
    fx.station->place(batonWith("Ziru0123", {{2, 1}}));
    ASSERT_TRUE(fx.runUntil([&] { return fx.clockReads() > 0; }));
    const QString first = fx.display.snapshot().windowTitle;
    fx.runFor(5000);
    const auto d = fx.display.snapshot();
    EXPECT_GE(d.beeps - before, 4u);
    EXPECT_LE(d.beeps - before, 7u);
    EXPECT_TRUE(d.windowTitle == QStringLiteral("Dorodure") ||
                d.windowTitle == QStringLiteral("Dorodure  -  Download Complete"));
    Q_UNUSED(first);
    const qint64 removedAt = fx.clock.tickMs();
    fx.station->remove();
    EXPECT_TRUE(fx.runUntil([&] { return fx.session->completedSessions() == 1; }, 20000))
        << fx.session->currentState() << " " << fx.session->fields().state << " "
        << fx.clock.tickMs() - removedAt << " " << fx.station->batonPresent();
    for (auto& [t, f] : fx.pcFrames(removedAt)) {
        std::cerr << t << " " << f.toHex().toStdString() << "\n";
    }
}

TEST_F(SessionTest, UploadOffClearOnClearsEachBankAndLogsIt) {
    SettingsValues v = fx.settings.values();
    v.uploadDorodureData = false;
    fx.settings.setValues(v);
    ASSERT_TRUE(fx.uploadOne(batonWith("Ziru0123", {{2, 3}, {0, 1}})));
    EXPECT_EQ(fx.clearedKeys().size(), 4);
    EXPECT_EQ(fx.host.doRawCalls, 0);
    const QString entry =
        QStringLiteral("unknown|Dorodure cleared without an uploaded Id : Ziru0123");
    EXPECT_EQ(fx.host.activity, (QStringList{entry, entry}));
    for (const auto& [tick, frame] : fx.pcFrames()) {
        EXPECT_NE(frame.at(0), 0x0B) << "nothing is downloaded";
    }
}

TEST_F(SessionTest, ClearOffLeavesTheBatonFull) {
    SettingsValues v = fx.settings.values();
    v.clearDorodureMemory = false;
    fx.settings.setValues(v);
    ASSERT_TRUE(fx.uploadOne(batonWith("Ziru0123", {{2, 3}})));
    EXPECT_TRUE(fx.clearedKeys().isEmpty());
    EXPECT_EQ(fx.processedKeys().size(), 3);
}

TEST_F(SessionTest, IdButtonsReadWhileIdleAreAllReported) {
    fx.runFor(1000);
    fx.station->touchButton(0x0FA501);
    fx.runFor(2000);
    fx.station->touchButton(0x00A1B2);
    fx.runFor(2000);
    EXPECT_EQ(fx.host.buttons, (QStringList{QStringLiteral("0FA501"), QStringLiteral("00A1B2")}));
}

TEST_F(SessionTest, IdleLoopBlinksAndTogglesBreak) {
    fx.runFor(3000);
    int breaksOn = 0;
    for (const sim::LineEvent& e : fx.station->log()) {
        breaksOn += (e.kind == sim::LineEvent::Kind::Break && e.on) ? 1 : 0;
    }
    EXPECT_GE(breaksOn, 4);  // one per 650 ms cycle
    EXPECT_EQ(fx.display.snapshot().statusText, QStringLiteral("Looking for Dorodure..."));
}

}  // namespace
}  // namespace dorodure
