#include "shell/language_table.h"
#include "shell/language_defaults.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

using namespace dorodure;
using dorodure::test::TempDataFolder;
using Kind = CaptionTarget::Kind;

namespace {

// A language file whose line n reads "L<n>", so every target shows its line.
QStringList numberedLines(int count = TLanguageTable::kFileLines) {
    QStringList lines;
    for (int i = 1; i <= count; ++i) {
        lines << QStringLiteral("L%1").arg(i);
    }
    return lines;
}

QString corrupt(int count, const QString& path) {
    return QStringLiteral("Error(%1) %2 Languauge file corupt please contact You program vendor")
        .arg(count)
        .arg(path);
}

bool hasTarget(const std::vector<CaptionText>& captions, Kind kind, const QString& control,
               int index, const QString& text) {
    for (const CaptionText& c : captions) {
        if (c.target.kind == kind && c.target.control == control && c.target.index == index &&
            c.text == text) {
            return true;
        }
    }
    return false;
}

}  // namespace

TEST(LanguageTable, BuiltInTextsAreInForceFromTheStart) {
    TLanguageTable table;
    EXPECT_EQ(table.text(1), "Initializing please wait...");
    EXPECT_EQ(table.text(23), "Unknown checkpoint");
    EXPECT_EQ(table.text(39), "Date       Time   Id Number  Location");
    EXPECT_EQ(table.text(58), "Missing Wav File \"done.wav\"");
    EXPECT_EQ(table.text(92), ":           : Mon : Tue : Wed : Thu : Fri : Sat : Sun :");
    EXPECT_EQ(table.text(101), "Missed Point   ");
    EXPECT_EQ(table.text(114), "Download Complete");
    for (int n : {0, 30, 31, 115, 121, 178, 200, 201}) {
        EXPECT_EQ(table.text(n), "") << n;
    }

    table.setText(23, "changed");
    table.setText(150, "set");
    QStringList traces;
    table.loadDefaults([&](const QString& t) { traces << t; });
    EXPECT_EQ(table.text(23), "Unknown checkpoint");
    EXPECT_EQ(table.text(150), "");
    EXPECT_EQ(traces, QStringList{"flinished language file defaults"});
}

TEST(LanguageTable, CountsLinesAsTheLoaderReadsThem) {
    TempDataFolder dir;
    const QByteArray full = test::crlf(numberedLines());
    const struct {
        const char* name;
        QByteArray bytes;
        int count;
    } cases[] = {
        {"351 lines", full, 351},
        {"extra empty line", full + "\r\n", 352},
        {"empty file", "", 1},
        {"single line end", "\r\n", 1},
        {"last line without line end", full + "L352", 352},
        {"LF line ends", test::crlf(numberedLines()).replace("\r\n", "\n"), 351},
    };
    for (const auto& c : cases) {
        test::writeBytes(dir.file("x.lng"), c.bytes);
        EXPECT_EQ(TLanguageTable::countLines(dir.file("x.lng")), c.count) << c.name;
    }
}

TEST(LanguageTable, WrongLineCountReportsCorruptAndAppliesNothing) {
    TempDataFolder dir;
    const QString extra = dir.file("Extra.lng");
    const QString empty = dir.file("Empty.lng");
    test::writeBytes(extra, test::crlf(numberedLines()) + "\r\n");
    test::writeBytes(empty, "");
    TLanguageTable table;
    int sinkCalls = 0;
    table.setPdfTextsSink([&](const QStringList&) { ++sinkCalls; });
    QStringList traces;
    auto trace = [&](const QString& t) { traces << t; };

    EXPECT_EQ(table.loadLanguageFile(extra, trace), corrupt(352, extra));
    EXPECT_EQ(table.loadLanguageFile(empty), corrupt(1, empty));

    EXPECT_EQ(table.text(1), "Initializing please wait...");
    EXPECT_EQ(table.text(23), "Unknown checkpoint");
    EXPECT_EQ(table.text(121), "");
    EXPECT_TRUE(table.loadedLines().isEmpty());
    EXPECT_EQ(sinkCalls, 0);
    EXPECT_EQ(traces, (QStringList{"Load Language file start", "Load language file end"}));
}

TEST(LanguageTable, LoadSetsEntriesByLinePosition) {
    TempDataFolder dir;
    const QString path = dir.file("Test.lng");
    test::writeCrlfLines(path, numberedLines());
    TLanguageTable table;
    table.setText(199, "kept 199");
    table.setText(200, "kept 200");
    QStringList pdfTexts;
    table.setPdfTextsSink([&](const QStringList& texts) { pdfTexts = texts; });

    ASSERT_EQ(table.loadLanguageFile(path), "");

    const struct {
        int entry;
        int line;
    } cases[] = {{1, 1},     {34, 34},   {35, 91},   {40, 97},   {47, 113},  {55, 142},  {56, 74},
                 {57, 143},  {78, 171},  {81, 175},  {113, 207}, {114, 286}, {144, 316}, {145, 61},
                 {146, 317}, {147, 253}, {148, 251}, {159, 328}, {163, 332}, {164, 333}, {165, 340},
                 {172, 120}, {173, 44},  {174, 347}, {178, 351}};
    for (const auto& c : cases) {
        EXPECT_EQ(table.text(c.entry), QStringLiteral("L%1").arg(c.line)) << c.entry;
    }
    EXPECT_EQ(table.text(199), "kept 199");
    EXPECT_EQ(table.loadedLines(), numberedLines());

    ASSERT_EQ(pdfTexts.size(), 199);
    EXPECT_EQ(pdfTexts.first(), "L1");
    EXPECT_EQ(pdfTexts[164], "L340");  // entry 165, the tagline of PDF pages
    EXPECT_EQ(pdfTexts.last(), "kept 199");
    EXPECT_FALSE(pdfTexts.contains("kept 200"));
}

TEST(LanguageLayout, EveryLineHasItsNumberAndEntriesUpTo178AreEachSetOnce) {
    const auto& layout = languageFileLayout();
    ASSERT_EQ(layout.size(), 351u);
    std::multiset<int> entries;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        EXPECT_EQ(layout[i].line, static_cast<int>(i) + 1);
        for (const CaptionTarget& t : layout[i].targets) {
            if (t.kind == Kind::Entry) {
                entries.insert(t.index);
            } else {
                EXPECT_FALSE(t.form.isEmpty()) << layout[i].line;
                EXPECT_FALSE(layout[i].english.isEmpty()) << layout[i].line;
            }
        }
    }
    EXPECT_EQ(entries.size(), 178u);
    EXPECT_EQ(std::set<int>(entries.begin(), entries.end()).size(), 178u);
    EXPECT_EQ(*entries.begin(), 1);
    EXPECT_EQ(*entries.rbegin(), 178);
}

TEST(LanguageLayout, LinesReachTheirWindowCaptions) {
    TempDataFolder dir;
    const QString path = dir.file("Test.lng");
    test::writeCrlfLines(path, numberedLines());
    TLanguageTable table;
    ASSERT_EQ(table.loadLanguageFile(path), "");
    const QStringList lines = table.loadedLines();

    const auto points = captionsForForm(lines, "frmpoints");
    EXPECT_TRUE(hasTarget(points, Kind::Caption, "btnAdd", 0, "L74"));
    EXPECT_TRUE(hasTarget(points, Kind::Menu, "Add1", 0, "L74"));
    EXPECT_TRUE(hasTarget(points, Kind::Menu, "Add2", 0, "L74"));
    EXPECT_EQ(table.text(56), "L74");
    EXPECT_TRUE(hasTarget(points, Kind::Column, "ListView", 3, "L78"));
    EXPECT_TRUE(hasTarget(points, Kind::Title, "", 0, "L214"));

    const auto siteDel = captionsForForm(lines, "frmSiteDel");
    EXPECT_TRUE(hasTarget(siteDel, Kind::Title, "", 0, "L213"));
    QStringList memo;  // the deletion text as the window rebuilds it
    for (const CaptionText& c : siteDel) {
        if (c.target.kind == Kind::MemoClear) {
            memo.clear();
        } else if (c.target.kind == Kind::MemoLine) {
            memo << c.text;
        }
    }
    EXPECT_EQ(memo, (QStringList{"L208", "L209", "L210", "L211", "L212"}));

    const auto main = captionsForForm(lines, "frmMain");
    EXPECT_TRUE(hasTarget(main, Kind::DialogTitle, "OpenDialog1", 0, "L90"));
    EXPECT_TRUE(hasTarget(main, Kind::Menu, "FailedPatrol1", 0, "L100"));
    EXPECT_TRUE(
        hasTarget(captionsForForm(lines, "frmFPSetup"), Kind::Tab, "TabControl1", 2, "L140"));
    EXPECT_TRUE(captionsForForm(numberedLines(350), "frmMain").empty());
}

TEST(LanguageTable, ReadersSeeWholeTextsWhileAnotherFileLoads) {
    TempDataFolder dir;
    QStringList lines = numberedLines();
    lines[15] = QString(400, QLatin1Char('d'));  // entry 16, "Downloading Data"
    test::writeCrlfLines(dir.file("Long.lng"), lines);
    TLanguageTable table;
    std::atomic<bool> done{false};
    std::atomic<int> torn{0};
    std::thread reader([&] {
        while (!done) {
            const QString t = table.text(16);
            if (t != "Downloading Data" && t != lines[15]) {
                ++torn;
            }
        }
    });
    for (int i = 0; i < 200; ++i) {
        table.loadDefaults();
        table.loadLanguageFile(dir.file("Long.lng"));
    }
    done = true;
    reader.join();
    EXPECT_EQ(torn, 0);
}
