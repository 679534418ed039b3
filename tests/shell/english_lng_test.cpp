#include "shell/language_defaults.h"
#include "shell/language_table.h"
#include "test_support.h"

#include <gtest/gtest.h>

using namespace dorodure;

namespace {

const QString kEnglish = QStringLiteral(DORODURE_SOURCE_DIR "/data/English.lng");

// The first table entry a line sets, or 0.
int firstEntry(const LanguageLine& line) {
    for (const CaptionTarget& t : line.targets) {
        if (t.kind == CaptionTarget::Kind::Entry) {
            return t.index;
        }
    }
    return 0;
}

}  // namespace

TEST(EnglishLanguageFile, Has351LinesEachEndedByCrLf) {
    const QByteArray bytes = test::readBytes(kEnglish);
    ASSERT_FALSE(bytes.isEmpty());
    EXPECT_TRUE(bytes.endsWith("\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), 351);
    EXPECT_EQ(bytes.count('\n'), 351);
    EXPECT_EQ(bytes.count('\r'), 351);
    EXPECT_EQ(TLanguageTable::countLines(kEnglish), 351);
}

TEST(EnglishLanguageFile, LoadsAndKeepsTheBuiltInTexts) {
    TLanguageTable table;
    QStringList pdf;
    table.setPdfTextsSink([&](const QStringList& texts) { pdf = texts; });
    ASSERT_EQ(table.loadLanguageFile(kEnglish), "");
    for (int n = 1; n <= kBuiltInTexts; ++n) {
        EXPECT_EQ(table.text(n), builtInText(n)) << n;
    }
    EXPECT_EQ(pdf.size(), 199);
}

TEST(EnglishLanguageFile, EveryLineCarriesTheEnglishOfItsTargets) {
    const QStringList lines = test::readCrlfLines(kEnglish);
    ASSERT_EQ(lines.size(), 351);
    for (const LanguageLine& layoutLine : languageFileLayout()) {
        const QString& text = lines[layoutLine.line - 1];
        const int entry = firstEntry(layoutLine);
        SCOPED_TRACE(layoutLine.line);
        if (layoutLine.targets.empty()) {
            EXPECT_EQ(text, "");  // not used
        } else if (entry >= 1 && entry <= kBuiltInTexts) {
            EXPECT_EQ(text, builtInText(entry));
        } else if (!layoutLine.english.isEmpty()) {
            EXPECT_EQ(text, layoutLine.english);
        } else {
            EXPECT_FALSE(text.trimmed().isEmpty()) << "entry " << entry;
        }
    }
    EXPECT_EQ(lines[318], "No clockings were found for the chosen period");  // entry 150
    EXPECT_EQ(lines[347], " Baton event 1");                                 // entry 175
}
