#include "prefs/baton_names.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace dorodure {
namespace {

using test::TempDataFolder;

const QString kHeader = QStringLiteral("//Baton names for their serial number");

class BatonNamesTest : public ::testing::Test {
  protected:
    BatonNamesTest() : names(data.path()) {}
    QString file() const { return data.file("batname.cfg"); }
    void writeFile(const QStringList& entries) {
        test::writeCrlfLines(file(), QStringList{kHeader, ""} + entries);
    }
    QStringList fileLines() const { return test::readCrlfLines(file()); }
    TempDataFolder data;
    BatonNames names;
};

TEST_F(BatonNamesTest, LoadCreatesTheFileWhenMissing) {
    names.load();
    EXPECT_EQ(fileLines(), (QStringList{kHeader, "", "", "//End of file"}));
    EXPECT_TRUE(names.rows().empty());
}

TEST_F(BatonNamesTest, FirstSightingEntersTheBatonOnce) {
    writeFile({"", "//End of file"});
    names.load();

    EXPECT_EQ(names.batonName("Ziru0123"), QString("Ziru0123"));
    EXPECT_EQ(names.batonName("Ziru0123"), QString("Ziru0123"));

    EXPECT_EQ(fileLines(), (QStringList{kHeader, "", "", "//End of file", "Ziru0123=Ziru0123"}));
    ASSERT_EQ(names.rows().size(), 1u);
    EXPECT_EQ(names.rows()[0], (BatonRow{"0123", "Ziru0123"}));
    EXPECT_EQ(test::readCrlfLines(data.file("temp.cfg")), fileLines());
}

TEST_F(BatonNamesTest, MissingFileIsCreatedOnFirstLookup) {
    EXPECT_EQ(names.batonName("Ziru0123"), QString("Ziru0123"));
    EXPECT_EQ(fileLines(), (QStringList{kHeader, "", "", "Ziru0123=Ziru0123"}));
}

TEST_F(BatonNamesTest, UnitTextsOfOtherLengthsAreEnteredOnce) {
    writeFile({""});
    for (int run = 0; run < 2; ++run) {
        EXPECT_EQ(names.batonName("Ziru0123   Dly : 2"), QString("Ziru0123"));
        EXPECT_EQ(names.batonName("123456"), QString("123456"));
        EXPECT_EQ(names.batonName("Ab12 Dly"), QString("Ab12"));
    }
    EXPECT_EQ(fileLines(),
              (QStringList{kHeader, "", "", "Ziru0123=Ziru0123", "123456=123456", "Ab12=Ab12"}));
    EXPECT_EQ(names.batonName(""), QString());
    EXPECT_EQ(fileLines().size(), 6);
}

TEST_F(BatonNamesTest, LookupRules) {
    writeFile({"", "Ziru0123=First", "//End of file", "Ziru0123=North gate", "ziru0456=Lower",
               "Ziru0789=N", "Ziru0999="});
    names.load();
    ASSERT_EQ(names.rows().size(), 3u);
    EXPECT_EQ(names.rows()[2], (BatonRow{"0456", "Lower"}));

    EXPECT_EQ(names.batonName("Ziru0123"), QString("North gate"));  // the later entry
    EXPECT_EQ(names.batonName("Ziru0456"), QString("Ziru0456"));    // case counts
    // Names of fewer than two characters are not read back.
    EXPECT_EQ(names.batonName("Ziru0789"), QString("Ziru0789"));
    EXPECT_EQ(names.batonName("Ziru0999"), QString("Ziru0999"));
    EXPECT_EQ(fileLines().mid(9),
              (QStringList{"Ziru0456=Ziru0456", "Ziru0789=Ziru0789", "Ziru0999=Ziru0999"}));
}

TEST_F(BatonNamesTest, RenameRewritesEveryEntryOfTheNumber) {
    writeFile({"", "Ziru0123=Ziru0123", "Abcd0123=Other tag", "Ziru0456=Keep", "//End of file"});
    names.load();

    names.renameBaton("0123", "North gate");

    EXPECT_EQ(fileLines(), (QStringList{kHeader, "", "", "Ziru0123=North gate",
                                        "Abcd0123=North gate", "Ziru0456=Keep", "//End of file"}));
    EXPECT_EQ(names.rows()[0], (BatonRow{"0123", "North gate"}));
    EXPECT_EQ(names.rows()[2], (BatonRow{"0456", "Keep"}));
    EXPECT_EQ(names.batonName("Ziru0123"), QString("North gate"));

    // A one-letter name is written but no longer read back.
    names.renameBaton("0456", "K");
    EXPECT_EQ(fileLines()[5], QString("Ziru0456=K"));
    EXPECT_EQ(names.batonName("Ziru0456"), QString("Ziru0456"));
}

}  // namespace
}  // namespace dorodure
