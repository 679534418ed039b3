// Tamper checks: corrupt records, steps back in time and the wrap rule, the
// hour flags in the time check, and the record check byte.

#include "process_fixture.h"
#include "processing/tamper_checks.h"

#include <gtest/gtest.h>

#include <QRegularExpression>

#include <array>

namespace dorodure::test {
namespace {

class ProcessTamperTest : public ::testing::Test, public ProcessFixture {
  protected:
    void SetUp() override {
        site("Alpha", {point("100001", "Gate"), point("100002", "Yard")});
        site("Beta", {point("200001", "Door")});
    }

    // count records of checkpoint 100001, one minute apart from 2009/05/12
    // 00:00 on, over as many days as needed.
    static QStringList inOrder(int count) {
        QStringList lines;
        for (int i = 0; i < count; ++i) {
            const QDateTime t = QDateTime(QDate(2009, 5, 1), QTime(0, 0)).addSecs(120 * i);
            lines << clocking("100001", t.toString("yyMMddhhmm"));
        }
        return lines;
    }

    QStringList reversalLines() const { return {texts.text(157), texts.text(158)}; }
    QStringList wrapLines() const { return {texts.text(154), texts.text(155), texts.text(156)}; }
};

struct ReversalCase {
    const char* what;
    int records;    // records in time order
    int backSteps;  // records moved back in time, inserted after record 10 and 20
    bool wrap;
};

TEST_F(ProcessTamperTest, StepsBackInTimeWarnAndASingleOneInAFullMemoryIsAWrap) {
    const std::vector<ReversalCase> cases{
        {"in order", 100, 0, false},
        {"one step back, 100 records", 100, 1, false},
        {"one step back, 4001 filed", 4000, 1, true},
        {"one step back, 4000 filed", 3999, 1, false},
        {"two steps back, 4002 filed", 4000, 2, false},
    };
    for (const ReversalCase& c : cases) {
        QStringList lines = inOrder(c.records);
        for (int i = 0; i < c.backSteps; ++i) {
            lines.insert(10 * (i + 1) + i, clocking("100002", "0904010000"));
        }
        upload(lines);
        QFile::remove(reportPath("Alpha", "txt"));
        QFile::remove(reportPath("Alpha", "csv"));
        run();
        const QStringList expected =
            c.backSteps == 0 ? QStringList() : (c.wrap ? wrapLines() : reversalLines());
        EXPECT_EQ(warningLines("Alpha"), expected) << c.what;
        const QStringList csvRows = csvRecordRows("Alpha");
        EXPECT_EQ(csvRows.mid(csvRows.size() - expected.size()), expected) << c.what;
    }
}

TEST_F(ProcessTamperTest, EverySiteOfTheUploadCarriesTheUploadsReversalWarning) {
    upload({clocking("100001", "0905121010"), clocking("100001", "0905120910"),
            clocking("200001", "0905121100")});
    run();
    EXPECT_EQ(warningLines("Alpha"), reversalLines());
    EXPECT_EQ(warningLines("Beta"), reversalLines());
}

TEST_F(ProcessTamperTest, ADroppedDuplicateStillCountsForTheTimeCheck) {
    // 10:31 is a duplicate of 10:30 and dropped; 10:29 was kept and is earlier
    // than 10:30, the last kept record.
    upload({clocking("100001", "0905121030"), clocking("100002", "0905121029"),
            clocking("100002", "0905121030")});
    run();
    EXPECT_EQ(warningLines("Alpha"), reversalLines());
}

TEST_F(ProcessTamperTest, CorruptRecordsAreCountedPerSiteInAllOutputs) {
    upload({clocking("100001", "0905121010"), clocking("100001", "090512101A"),
            clocking("100001", "0905121X20"), clocking("100002", "0905X21030"),
            clocking("200001", "0905121100")});
    run();
    const QString line = "3 " + texts.text(26);
    EXPECT_EQ(warningLines("Alpha"), QStringList{line});
    EXPECT_TRUE(csv("Alpha").contains(line));
    EXPECT_TRUE(warningLines("Beta").isEmpty());
    EXPECT_FALSE(text("Beta").contains(" " + texts.text(72)));
}

// The hour flags live in the hour byte: a bracket flag on hours 20-23 puts a
// letter at position 19. The time check reads the hour without the flags, so
// flags neither fake nor hide a step back in time, and such an upload is
// always processed.
TEST_F(ProcessTamperTest, HourFlagsNeitherFakeNorHideAStepBack) {
    struct FlagCase {
        const char* what;
        QStringList stamps;
        bool reversal;
    };
    const std::vector<FlagCase> cases{
        {"bracket on hours 20-23", {"090512A015", "090512A130", "090512A245", "090512A350"}, false},
        {"both flags on hour 23", {"0905122210", "090512E320"}, false},
        {"separator 21:45 then 21:50", {"0905126145", "0905122150"}, false},
        {"bracket 09:30 after 21:00", {"0905122100", "0905128930"}, true},
        {"22:10 after separator 23:00", {"0905126300", "0905122210"}, true},
    };
    for (const FlagCase& c : cases) {
        QStringList lines;
        for (const QString& stamp : c.stamps) {
            lines << clocking("100001", stamp);
        }
        upload(lines);
        QFile::remove(reportPath("Alpha", "txt"));
        ASSERT_NO_THROW(run()) << c.what;
        EXPECT_EQ(warningLines("Alpha"), c.reversal ? reversalLines() : QStringList()) << c.what;
        EXPECT_EQ(recordLines("Alpha").filter(QRegularExpression("^2009/")).size(), c.stamps.size())
            << c.what;
    }
}

TEST_F(ProcessTamperTest, TheRecordCheckIsTheOneWireCrc) {
    // The classic 1-Wire ROM example: family 02, serial 1C B8 01 00 00 00, CRC A2.
    const std::array<std::uint8_t, 7> rom{0x02, 0x1C, 0xB8, 0x01, 0x00, 0x00, 0x00};
    EXPECT_EQ(tamper::crc8Maxim(rom.data(), 7), 0xA2);

    const QString data = "0000" + QString("100001") + "0905121010";
    std::array<std::uint8_t, 10> bytes{};
    for (int i = 0; i < 10; ++i) {
        bytes[std::size_t(i)] = std::uint8_t(data.mid(2 * i, 2).toInt(nullptr, 16));
    }
    const QString check =
        QString::number(tamper::crc8Maxim(bytes.data(), 10), 16).rightJustified(2, '0').toUpper();
    EXPECT_TRUE(tamper::recordCheckPasses(check + data + "7"));
    EXPECT_FALSE(tamper::recordCheckPasses("00" + data + "7"));
    EXPECT_FALSE(tamper::recordCheckPasses("G0" + data));
    EXPECT_FALSE(tamper::recordCheckPasses(check + data.left(19)));
}

}  // namespace
}  // namespace dorodure::test
