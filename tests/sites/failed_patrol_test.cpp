// The failed-patrol block: record bytes, repetitions, the 160-record limit and
// the checks of "Program Next Baton".
#include "sites/failed_patrol.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "sites/site_store.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace dorodure {
namespace {

using test::TempDataFolder;

const QDateTime kBuilt(QDate(2024, 12, 31), QTime(23, 59));

std::vector<TCheckpoint> listOf(const QStringList& ids) {
    std::vector<TCheckpoint> out;
    for (const QString& id : ids) {
        out.push_back(TCheckpoint{id, u'=', QStringLiteral("Point ") + id});
    }
    return out;
}

// How many times each id stands in the block, in order of first appearance.
std::vector<std::pair<QString, int>> runs(const std::vector<FailedPatrolRecord>& block) {
    std::vector<std::pair<QString, int>> out;
    for (const FailedPatrolRecord& r : block) {
        const QString id = QString::fromLatin1(
            QByteArray(reinterpret_cast<const char*>(r.data()), 3).toHex().toUpper());
        if (out.empty() || out.back().first != id) {
            out.emplace_back(id, 0);
        }
        ++out.back().second;
    }
    return out;
}

TEST(FailedPatrolRecord, IdBytesAndStampThirtyDaysOn) {
    const QDateTime stamp = failedPatrolStamp(kBuilt);
    EXPECT_EQ(stamp, QDateTime(QDate(2025, 1, 30), QTime(23, 59)));
    const FailedPatrolRecord rec = failedPatrolRecord(QStringLiteral("0FA500"), stamp);
    EXPECT_EQ(rec, (FailedPatrolRecord{0x0F, 0xA5, 0x00, 0x01, 0x70, 0x23, 0x59}));
    // A leap year puts nothing in the day's top bits.
    const FailedPatrolRecord leap =
        failedPatrolRecord(QStringLiteral("ABCDEF"), QDateTime(QDate(2028, 12, 9), QTime(7, 5)));
    EXPECT_EQ(leap, (FailedPatrolRecord{0xAB, 0xCD, 0xEF, 0x12, 0x09, 0x07, 0x05}));
}

TEST(FailedPatrolBlock, RepetitionsAndLimit) {
    struct Case {
        const char* name;
        int checkpoints;
        int r, a, b;
        std::vector<int> expected;  // records per leading checkpoint
        std::size_t total;
    };
    const std::vector<Case> cases = {
        {"single baton example", 3, 4, 6, 18, {4, 6, 18}, 28},
        {"multiple baton example", 3, 2, 1, 3, {2, 1, 3}, 6},
        {"later checkpoints once", 5, 2, 1, 3, {2, 1, 3, 1, 1}, 8},
        {"fewer than three", 2, 4, 6, 18, {4, 6}, 10},
        {"none", 0, 4, 6, 18, {}, 0},
        {"200 checkpoints stop at 160", 200, 1, 1, 1, {1, 1, 1}, 160},
        {"repetitions pass the limit", 4, 1, 199, 1, {1, 199}, 200},
        {"zero repetitions", 3, 0, 2, 1, {2, 1}, 3},
    };
    for (const Case& c : cases) {
        QStringList ids;
        for (int i = 0; i < c.checkpoints; ++i) {
            ids << QStringLiteral("%1").arg(i + 1, 6, 16, QLatin1Char('0')).toUpper();
        }
        const auto block = buildFailedPatrolBlock(listOf(ids), c.r, c.a, c.b, kBuilt);
        EXPECT_EQ(block.size(), c.total) << c.name;
        const auto got = runs(block);
        for (std::size_t i = 0; i < c.expected.size() && i < got.size(); ++i) {
            EXPECT_EQ(got[i].second, c.expected[i]) << c.name << " checkpoint " << i;
        }
    }
}

class FailedPatrolProgramTest : public ::testing::Test {
  protected:
    FailedPatrolProgramTest() : clock(kBuilt), store(data.path()), log(data.path(), clock) {
        data.mkdir(QStringLiteral("North"));
        store.loadSites();
    }
    void writeList(const QStringList& ids) {
        store.writeCheckpointList(QStringLiteral("North"), listOf(ids), TSiteSettings());
    }
    FailedPatrolOutcome program(const FailedPatrolRequest& req) {
        return programFailedPatrol(req, store, log, texts, clock);
    }
    QStringList logLines() const {
        return test::readCrlfLines(data.file(TActivityLog::fileNameFor(kBuilt.date())));
    }
    static FailedPatrolRequest single() {
        return {QStringLiteral("North"),        FailedPatrolUnit::SingleBaton,
                QStringLiteral("Single Baton"), QStringLiteral("060"),
                QStringLiteral("000"),          QStringLiteral("1"),
                QStringLiteral("06h00"),        QStringLiteral("18h00")};
    }
    TempDataFolder data;
    ManualClock clock;
    TSiteStore store;
    TActivityLog log;
    TLanguageTable texts;
};

TEST_F(FailedPatrolProgramTest, SingleBatonBuildsFromMondayHoursAndLogs) {
    writeList({"0FA500", "000002", "000003", "000004"});
    const FailedPatrolOutcome out = program(single());
    ASSERT_EQ(out.kind, FailedPatrolOutcome::Kind::Programmed);
    const auto got = runs(out.block);
    ASSERT_EQ(got.size(), 4u);
    EXPECT_EQ(got[0], (std::pair<QString, int>{"0FA500", 4}));
    EXPECT_EQ(got[1].second, 6);
    EXPECT_EQ(got[2].second, 18);
    EXPECT_EQ(out.block.size(), 29u);
    EXPECT_EQ(out.block.front(), (FailedPatrolRecord{0x0F, 0xA5, 0x00, 0x01, 0x70, 0x23, 0x59}));
    ASSERT_EQ(logLines().size(), 1);
    EXPECT_TRUE(logLines().front().endsWith(
        "\"North\",\"Programmed a failed patrol with the following settings FPType:Single "
        "Baton RT:060 ST:06h00 FT:18h00 TT:000 B:1\""));
}

TEST_F(FailedPatrolProgramTest, MultipleBatonRestStepsAndBatons) {
    writeList({"000001", "000002", "000003"});
    FailedPatrolRequest req = single();
    req.unit = FailedPatrolUnit::MultipleBaton;
    req.roundTime = "030";
    req.numBatons = "3";
    const FailedPatrolOutcome out = program(req);
    ASSERT_EQ(out.kind, FailedPatrolOutcome::Kind::Programmed);
    const auto got = runs(out.block);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].second, 2);
    EXPECT_EQ(got[1].second, 1);  // rest 0 / 5 is 0: taken as 1
    EXPECT_EQ(got[2].second, 3);
    req.restTime = "995";
    EXPECT_EQ(runs(program(req).block)[1].second, 199);
}

TEST_F(FailedPatrolProgramTest, RefusalsBuildNothingAndLogNothing) {
    writeList({"000001", "000002", "000003"});
    FailedPatrolRequest round = single();
    round.roundTime = "020";
    FailedPatrolOutcome out = program(round);
    EXPECT_EQ(out.kind, FailedPatrolOutcome::Kind::RoundNotInSteps);
    EXPECT_EQ(out.message, "Round trip time must be in intervals of 15 minutes");

    FailedPatrolRequest blank = single();
    blank.mondayStart = "  h  ";
    EXPECT_EQ(program(blank).kind, FailedPatrolOutcome::Kind::InvalidValue);

    FailedPatrolRequest missing = single();
    missing.site = "South";
    data.mkdir("South");
    out = program(missing);
    EXPECT_EQ(out.kind, FailedPatrolOutcome::Kind::NoCheckpointList);
    EXPECT_EQ(out.message, "There are no checkpoints in the site \"South\"");
    EXPECT_TRUE(out.block.empty());
    EXPECT_TRUE(logLines().isEmpty());
}

TEST_F(FailedPatrolProgramTest, ShortRoundTimeIsTakenAsFifteen) {
    writeList({"000001"});
    FailedPatrolRequest req = single();
    req.roundTime = "5";
    const FailedPatrolOutcome out = program(req);
    ASSERT_EQ(out.kind, FailedPatrolOutcome::Kind::Programmed);
    EXPECT_EQ(out.roundTime, "015");
    EXPECT_EQ(out.block.size(), 1u);
    EXPECT_TRUE(logLines().front().contains(" RT:015 "));
}

TEST_F(FailedPatrolProgramTest, TypedIdThatIsNotHexIsRefusedOnlyWhenItWouldBeWritten) {
    writeList({"GATE01", "000002"});
    EXPECT_EQ(program(single()).kind, FailedPatrolOutcome::Kind::InvalidValue);
    QStringList many{"000001", "000002", "000003"};
    for (int i = 0; i < 160; ++i) {
        many << QStringLiteral("1%1").arg(i, 5, 10, QLatin1Char('0'));
    }
    many << "GATE01";  // past the limit: adds nothing
    writeList(many);
    const FailedPatrolOutcome out = program(single());
    ASSERT_EQ(out.kind, FailedPatrolOutcome::Kind::Programmed);
    EXPECT_EQ(out.block.size(), 160u);
}

}  // namespace
}  // namespace dorodure
