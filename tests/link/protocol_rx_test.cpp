// The receive handler, fed byte by byte from a scripted line.
#include "link/baton_protocol.h"
#include "link/frames.h"
#include "link/raw_journal.h"
#include "link_fixture.h"
#include "shell/text_file.h"

#include <gtest/gtest.h>

namespace dorodure {
namespace {

using test::LinkFixture;

QByteArray hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// A line whose incoming bytes the test hands in; it records what is written.
class ScriptedLine : public SerialLine {
  public:
    bool open() override { return open_ = true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    QString errorString() const override { return {}; }
    void setDtr(bool) override {}
    void setBreak(bool) override {}
    qint64 bytesWaiting() override { return incoming.size(); }
    QByteArray read(qint64 maxBytes) override {
        QByteArray out = incoming.left(maxBytes);
        incoming.remove(0, out.size());
        return out;
    }
    qint64 write(const QByteArray& bytes) override {
        written += bytes;
        return bytes.size();
    }
    bool waitForBytes(qint64) override { return !incoming.isEmpty(); }

    QByteArray incoming;
    QByteArray written;

  private:
    bool open_ = true;
};

struct ProtocolTest : ::testing::Test {
    LinkFixture fx;
    SessionFields f;
    RawJournal journal{fx.rawPath()};
    std::atomic<bool> stop{false};
    TBatonProtocol protocol{f, fx.services, journal, stop};
    ScriptedLine line;

    ProtocolTest() { protocol.setLine(&line); }

    // Feeds bytes and services until the handler has nothing more to do.
    void feed(const QByteArray& bytes) {
        line.incoming += bytes;
        while (protocol.service()) {
        }
    }
    QByteArray identity(const QByteArray& id) { return frames::withCrc(hex("02 19 05") + id); }
};

TEST_F(ProtocolTest, EchoIsDroppedThenTheReplyDecoded) {
    line.incoming = frames::readBankSize(2) + frames::withCrc(hex("0A 00 20"));
    EXPECT_TRUE(protocol.service());  // the echo goes
    EXPECT_FALSE(f.replyOk);
    EXPECT_EQ(protocol.rx().count(), 4);
    protocol.service();
    EXPECT_TRUE(f.replyOk);
    EXPECT_EQ(protocol.rx().count(), 0);
    EXPECT_EQ(protocol.rx().at(2) * 256 + protocol.rx().at(3), 32);
}

TEST_F(ProtocolTest, SplitIdentityIsDecodedOnItsTwelfthByte) {
    const QByteArray frame = identity("Ziru0123");
    feed(frame.left(7));
    EXPECT_FALSE(f.replyOk);
    feed(frame.mid(7));
    EXPECT_TRUE(f.replyOk);
    EXPECT_EQ(protocol.rx().at(1), 0x02);
}

TEST_F(ProtocolTest, LeadingF0BytesAreDropped) {
    feed(hex("F0 F0") + identity("Ziru0123"));
    EXPECT_TRUE(f.replyOk);
    EXPECT_EQ(protocol.rx().count(), 12);
    EXPECT_EQ(protocol.rx().at(1), 0x02);
}

TEST_F(ProtocolTest, GreetingAnsweredOnlyWhenItLeadsTheBuffer) {
    // Behind the start of an unfinished packet: seen, not answered.
    feed(hex("0E 01 0D"));
    EXPECT_TRUE(f.helloSeen);
    EXPECT_TRUE(line.written.isEmpty());
    // At the front: answered with twenty 55 bytes and the buffer emptied.
    f.helloSeen = false;
    protocol.rx().clear();
    feed(hex("01 0D"));
    EXPECT_TRUE(f.helloSeen);
    EXPECT_EQ(line.written, QByteArray(20, '\x55'));
    EXPECT_EQ(protocol.rx().count(), 0);
}

TEST_F(ProtocolTest, DataPacketWritesOneRecordAndAsksForTheNext) {
    journal.start(QStringLiteral("Id : Ziru0123"));
    f.headerWritten = true;
    f.packetCount = 1;
    f.bankSize = 64;
    const QByteArray packet = frames::withCrc(hex("0E 12 34 56 05 11 14 03 00"));
    QByteArray bad = packet;
    bad[9] = char(bad.at(9) ^ 0x01);
    feed(bad);
    EXPECT_FALSE(f.replyOk);
    EXPECT_TRUE(line.written.isEmpty());
    EXPECT_EQ(test::readCrlfLines(fx.rawPath()).size(), 1);

    protocol.rx().clear();
    feed(packet);
    EXPECT_EQ(line.written, frames::kNextPacket);
    EXPECT_EQ(f.packetCount, 2);
    const QStringList lines = test::readCrlfLines(fx.rawPath());
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1], QStringLiteral("00000012345609051114032"));
}

TEST_F(ProtocolTest, LastPacketOfABankEndsIt) {
    journal.start(QStringLiteral("Id : Ziru0123"));
    f.headerWritten = true;
    f.packetCount = 3;
    f.bankSize = 32;  // header and three records
    f.bank = 0;
    feed(frames::withCrc(hex("0E 12 34 56 05 11 14 03 00")));
    EXPECT_EQ(f.state, 180);
    EXPECT_EQ(f.stateDelay, 100);
    EXPECT_TRUE(line.written.isEmpty());
}

TEST_F(ProtocolTest, AcknowledgementRows) {
    struct Case {
        const char* name;
        QByteArray reply;
        int startState;
        int wantState;
        bool wantReplyOk;
        QByteArray wantWritten;
    };
    const QByteArray lastFrame = frames::startReading(2, 0);
    const Case cases[] = {
        {"clock ack ok", frames::withCrc(hex("06 01")), 140, 140, true, {}},
        {"clock refused", frames::withCrc(hex("06 00")), 155, 140, false, {}},
        {"clock bad checksum", hex("06 01 00"), 155, 140, false, {}},
        {"seconds clock refused", frames::withCrc(hex("36 00")), 155, 140, false, {}},
        {"id refused", frames::withCrc(hex("08 00")), 0, 220, false, {}},
        {"id accepted", frames::withCrc(hex("08 01")), 0, 130, false, frames::kReadIdentity},
        {"start refused", frames::withCrc(hex("0C 00")), 200, 200, false, lastFrame},
        {"start accepted", frames::withCrc(hex("0C 01")), 200, 200, false, frames::kNextPacket},
        {"pointer refused", frames::withCrc(hex("12 00")), 180, 160, true, {}},
        {"high voltage", frames::withCrc(hex("28 80")), 10, 20, false, {}},
        {"unknown byte", hex("99"), 200, 200, false, lastFrame},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        f = SessionFields{};
        f.state = c.startState;
        f.bank = 12;
        protocol.rx().clear();
        protocol.sendFrame(lastFrame);
        line.written.clear();
        fx.requests.requestId(QStringLiteral("0042"), false);
        feed(c.reply);
        EXPECT_EQ(f.state, c.wantState);
        EXPECT_EQ(f.replyOk, c.wantReplyOk);
        EXPECT_EQ(line.written.toHex(), c.wantWritten.toHex());
    }
}

TEST_F(ProtocolTest, AcceptedIdClearsTheRequest) {
    fx.requests.requestId(QStringLiteral("A123"), false);
    feed(frames::withCrc(hex("08 01")));
    EXPECT_TRUE(fx.requests.pendingId().isEmpty());
    EXPECT_EQ(f.stateDelay, 100);
}

TEST_F(ProtocolTest, OverflowEmptiesTheBufferAndRestartsTheSession) {
    f.state = 200;
    feed(QByteArray(101, '\x0E'));
    EXPECT_EQ(f.state, 0);
    EXPECT_EQ(protocol.rx().count(), 0);
}

TEST_F(ProtocolTest, IdButtonsGoToTheHost) {
    feed(frames::withCrc(hex("24 0F A5 01")));
    f.replyOk = false;
    feed(frames::withCrc(hex("24 00 00 00")));
    EXPECT_EQ(fx.host.buttons, QStringList{QStringLiteral("0FA501")});
    EXPECT_EQ(fx.display.snapshot().beeps, 2u);
}

TEST_F(ProtocolTest, ClockNeverSetShowsQuestionMarks) {
    feed(frames::withCrc(hex("04 20 09 1F 3F FF FF FF 00")));
    EXPECT_TRUE(f.replyOk);
    const auto d = fx.display.snapshot();
    EXPECT_EQ(d.lblDate, QStringLiteral("Date : ?"));
    EXPECT_EQ(d.lblTime, QStringLiteral("Time : ?"));
}

TEST_F(ProtocolTest, ClockComparedWithThePcWithinOneMinute) {
    // The fixture's PC clock stands at 12/05/2009 14:03:22.
    struct Case {
        const char* reply;
        bool extra;
    };
    const Case cases[] = {
        {"04 20 09 05 12 14 03 00 00", false},
        {"04 20 09 05 12 14 02 59 00", true},  // seconds ignored: 14:02 is 82 s before
        {"04 20 09 05 12 14 04 00 00", false},
        {"04 20 09 05 12 14 05 00 00", true},
        {"04 20 09 05 12 14 01 00 00", true},
        {"04 20 09 13 40 14 03 00 00", true},  // not a date
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.reply);
        f.replyOk = false;
        protocol.rx().clear();
        feed(frames::withCrc(hex(c.reply)));
        const auto d = fx.display.snapshot();
        EXPECT_EQ(d.lblExtraVisible, c.extra);
        EXPECT_EQ(d.lblDateColour == DisplaySnapshot::Colour::Red, c.extra);
    }
    EXPECT_EQ(fx.display.snapshot().lblTime, QStringLiteral("Time : 14:03.00"));
    EXPECT_EQ(fx.display.snapshot().lblDate, QStringLiteral("Date : 40/13/2009"));
}

TEST_F(ProtocolTest, CheckpointDelayShownForNewZiruBatons) {
    f.idChars = "Ziru0123";
    f.baton.idCaption = QStringLiteral("Id : Ziru0123");
    f.baton.versionText = QStringLiteral("2716");
    feed(frames::withCrc(hex("04 20 09 05 12 14 03 00 07")));
    EXPECT_EQ(fx.display.snapshot().lblID, QStringLiteral("Id : Ziru0123   Dly : 7"));
    f.baton.versionText = QStringLiteral("2715");
    f.replyOk = false;
    feed(frames::withCrc(hex("04 20 09 05 12 14 03 00 07")));
    EXPECT_EQ(fx.display.snapshot().lblID, QStringLiteral("Id : Ziru0123"));
}

TEST_F(ProtocolTest, SecondsClockShownAsDateAndTime) {
    // 12/05/2009 14:03:22 as the baton counts it.
    feed(frames::withCrc(hex("34 AB 81 09 4A")));
    const auto d = fx.display.snapshot();
    EXPECT_EQ(d.lblDate, QStringLiteral("Date : 12/05/2009"));
    EXPECT_EQ(d.lblTime, QStringLiteral("Time : 14:03.22"));
}

}  // namespace
}  // namespace dorodure
