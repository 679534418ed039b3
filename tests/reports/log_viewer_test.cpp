// The activity log viewer: comma text, the month list and the admin report.
#include "reports/log_viewer.h"
#include "reports/comma_text.h"
#include "shell/text_file.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace dorodure {
namespace {

struct JoinCase {
    QStringList fields;
    QString line;
};

TEST(CommaText, JoinQuotesOnlyFieldsThatNeedIt) {
    const JoinCase cases[] = {
        {{"North", "Gate"}, "North,Gate"},
        {{"North gate", "x"}, "\"North gate\",x"},
        {{"a,b"}, "\"a,b\""},
        {{"say \"hi\""}, "\"say \"\"hi\"\"\""},
        {{"tab\there"}, "\"tab\there\""},
        {{"", "b", ""}, ",b,"},
        {{""}, "\"\""},
    };
    for (const JoinCase& c : cases) {
        EXPECT_EQ(commatext::join(c.fields), c.line) << c.line.toStdString();
    }
}

struct SplitCase {
    QString line;
    QStringList fields;
};

TEST(CommaText, SplitReadsQuotedAndPlainFields) {
    const SplitCase cases[] = {
        {"\"2011/08/12 10:00.00\",\"North\",\"Site added\"",
         {"2011/08/12 10:00.00", "North", "Site added"}},
        {"  a,b", {"a", "b"}},
        {"a,", {"a", ""}},
        {"\"x \"\"y\"\"\",z", {"x \"y\"", "z"}},
        // A blank ends an unquoted field and starts the next.
        {"one two,three", {"one", "two", "three"}},
        // A quote inside a quoted field (as the log writes it) splits it.
        {"\"d\",\"s\",\"said \"hi\" there\"", {"d", "s", "said ", "hi\"", "there\""}},
        {"", {}},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(commatext::split(c.line), c.fields) << c.line.toStdString();
    }
}

TEST(CommaText, WrittenFieldsReadBack) {
    const QStringList fields{"2011/08/12 10:00.00", "Main site", "Renamed \"A\", then B", ""};
    EXPECT_EQ(commatext::split(commatext::join(fields)), fields);
}

TEST(LogViewer, MonthRowsNameEachLogFileAndSkipTheOthers) {
    test::TempDataFolder data;
    for (const char* name : {"LG201108.txt", "LG201109.txt", "LG201102.txt", "LGm.txt",
                             "LG201113.txt", "LGabc.txt", "Raw.txt"}) {
        test::writeCrlfLines(data.file(QString::fromLatin1(name)), {"x"});
    }
    const std::vector<LogMonthRow> rows = logMonthRows(data.path());
    const std::vector<LogMonthRow> expected = {
        {"Febuary 2011", "LG201102.txt"},   {"August 2011", "LG201108.txt"},
        {"September 2011", "LG201109.txt"}, {"Err LG201113.txt", "LG201113.txt"},
        {"Err LGabc.txt", "LGabc.txt"},
    };
    EXPECT_EQ(rows, expected);
}

TEST(LogViewer, EntriesTakeThreeFieldsOfEachLine) {
    test::TempDataFolder data;
    test::writeCrlfLines(
        data.file("LG201108.txt"),
        {"\"2011/08/12 10:00.00\",\"North\",\"Site added\"", "\"2011/08/13 11:00.00\",\"All\"",
         "\"2011/08/14 12:00.00\",\"none\",\"a \"b\" c\""});
    const std::vector<LogEntryRow> rows = readLogEntries(data.file("LG201108.txt"));
    const std::vector<LogEntryRow> expected = {{"2011/08/12 10:00.00", "North", "Site added"},
                                               {"2011/08/13 11:00.00", "All", ""},
                                               {"2011/08/14 12:00.00", "none", "a "}};
    EXPECT_EQ(rows, expected);
    test::writeBytes(data.file("LG201109.txt"), {});
    EXPECT_TRUE(readLogEntries(data.file("LG201109.txt")).empty());
}

TEST(LogViewer, AdminReportHasTitlesAndCommaTextLines) {
    test::TempDataFolder data;
    const QString path = data.file("report.csv");
    test::writeCrlfLines(path, {"old", "old", "old", "old", "old"});
    writeAdminReport(path, {{"2011/08/12 10:00.00", "North", "Checkpoint 1, Gate renamed"}});
    EXPECT_EQ(test::readBytes(path),
              test::crlf({"\"Admin Report Created by Dorodure Ver1.04s\"",
                          "\"Date & Time\",\"Site Affected\",\"Action Taken\"",
                          "\"2011/08/12 10:00.00\",North,\"Checkpoint 1, Gate renamed\""}));
}

}  // namespace
}  // namespace dorodure
