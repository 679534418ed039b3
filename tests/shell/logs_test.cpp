#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/trace_log.h"
#include "test_support.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace dorodure;
using dorodure::test::TempDataFolder;

namespace {

const QString kStamp = QStringLiteral("143804108");

QStringList traceFiles(const TempDataFolder& dir) {
    return QDir(dir.path()).entryList({"Rs*.txt"}, QDir::Files, QDir::Name);
}

void setMarker(const TempDataFolder& dir, bool on) {
    if (on) {
        test::writeBytes(dir.file("Rs232.txt"), "x");
    } else {
        QFile::remove(dir.file("Rs232.txt"));
    }
}

}  // namespace

TEST(ActivityLog, WritesOneQuotedLinePerEntryInTheMonthlyFile) {
    TempDataFolder dir;
    ManualClock clock(QDateTime(QDate(2009, 5, 12), QTime(14, 3, 22)));
    TActivityLog log(dir.path(), clock);

    log.append("North \"Gate\"", "Set the Port Number to3");
    clock.advance(61'000);
    log.append("unknown", "line one\r\nline two");

    EXPECT_EQ(test::readBytes(dir.file("LG200905.txt")),
              "\"2009/05/12 14:03.22\",\"North \"Gate\"\",\"Set the Port Number to3\"\r\n"
              "\"2009/05/12 14:04.23\",\"unknown\",\"line one  line two\"\r\n");
}

TEST(ActivityLog, EntryAfterMidnightOfMonthEndGoesToTheNextMonthsFile) {
    TempDataFolder dir;
    ManualClock clock(QDateTime(QDate(2009, 5, 31), QTime(23, 59, 59)));
    TActivityLog log(dir.path(), clock);

    log.append("All", "last of May");
    clock.advance(1000);
    log.append("All", "first of June");

    EXPECT_EQ(test::readCrlfLines(dir.file("LG200905.txt")),
              QStringList{"\"2009/05/31 23:59.59\",\"All\",\"last of May\""});
    EXPECT_EQ(test::readCrlfLines(dir.file("LG200906.txt")),
              QStringList{"\"2009/06/01 00:00.00\",\"All\",\"first of June\""});
    EXPECT_EQ(TActivityLog::fileNameFor(QDate(2010, 12, 1)), "LG201012.txt");
}

TEST(TraceLog, MainTraceFollowsTheMarkerAndAlwaysFeedsTheMemo) {
    TempDataFolder dir;
    ManualClock clock;
    TTraceLog trace(dir.path(), kStamp, clock);
    QStringList memo;
    trace.setMemoSink([&](const QString& line) { memo << line; });

    trace.main("form activated");
    EXPECT_TRUE(traceFiles(dir).isEmpty());

    setMarker(dir, true);
    clock.advance(0xABCDEF1);
    trace.main("Start loadsetup");
    setMarker(dir, false);
    trace.main("Set defaults");

    EXPECT_EQ(memo, (QStringList{"000000 form activated", "ABCDEF1 Start loadsetup",
                                 "ABCDEF1 Set defaults"}));
    EXPECT_EQ(traceFiles(dir), QStringList{"RsM" + kStamp + ".txt"});
    EXPECT_EQ(test::readBytes(dir.file("RsM" + kStamp + ".txt")), "ABCDEF1 Start loadsetup\r\n");
}

TEST(TraceLog, ThreadTraceSkipsOnlyARepeatOfTheLastWrittenMessage) {
    struct Case {
        const char* name;
        QStringList messages;
        QStringList expected;
    };
    const Case cases[] = {
        {"alternating", {"2", "3", "2", "3"}, {"1 ,, 2", "2 ,, 3", "3 ,, 2", "4 ,, 3"}},
        {"repeated", {"2", "2"}, {"1 ,, 2"}},
        {"repeat after a change", {"2", "2", "3", "3", "2"}, {"1 ,, 2", "3 ,, 3", "5 ,, 2"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDataFolder dir;
        ManualClock clock;
        TTraceLog trace(dir.path(), kStamp, clock);
        setMarker(dir, true);
        qint64 loop = 0;
        for (const QString& m : c.messages) {
            trace.thread(++loop, m);
        }
        EXPECT_EQ(test::readCrlfLines(dir.file("Rs" + kStamp + ".txt")), c.expected);
    }
}

TEST(TraceLog, ThreadTraceWritesNothingWithoutTheMarker) {
    TempDataFolder dir;
    ManualClock clock;
    TTraceLog trace(dir.path(), kStamp, clock);
    trace.thread(1, "idle");
    EXPECT_TRUE(traceFiles(dir).isEmpty());

    // A message dropped while tracing was off was never written, so it is
    // written once tracing is on.
    setMarker(dir, true);
    trace.thread(2, "idle");
    EXPECT_EQ(test::readCrlfLines(dir.file("Rs" + kStamp + ".txt")), QStringList{"2 ,, idle"});
}

TEST(TraceLog, SessionStampCountsUnitsOf24SecondsSince1899) {
    const struct {
        QDateTime when;
        const char* stamp;
    } cases[] = {
        {QDateTime(QDate(2009, 5, 12), QTime(14, 3, 22)), "143804108"},
        {QDateTime(QDate(1899, 12, 30), QTime(0, 0, 11)), "0"},
        {QDateTime(QDate(1899, 12, 30), QTime(0, 0, 13)), "1"},
        {QDateTime(QDate(1899, 12, 31), QTime(0, 0, 0)), "3600"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TTraceLog::sessionStampFor(c.when), c.stamp) << c.when.toString().toStdString();
    }
}
