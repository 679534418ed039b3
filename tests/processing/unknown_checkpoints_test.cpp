#include "processing/unknown_checkpoints.h"

#include "processing/buckets.h"
#include "sort_fixture.h"

#include <QFileInfo>

#include <gtest/gtest.h>

#include <deque>

namespace dorodure {
namespace {

using Choice = UnknownDecision::Choice;
using test::rec;

// Answers from a script, like a user clicking through the window; records the
// site lists it was shown. An exhausted script closes the window (ignore).
class ScriptedAsker final : public UnknownCheckpointsAsker {
  public:
    std::deque<UnknownDecision> answers;
    std::vector<QStringList> shown;

    UnknownDecision ask(const QStringList& sites) override {
        shown.push_back(sites);
        if (answers.empty()) {
            return {};
        }
        UnknownDecision next = answers.front();
        answers.pop_front();
        return next;
    }
};

// Alpha (0) and Common (1); the unknown bucket is number 2.
class UnknownCheckpointsTest : public ::testing::Test, public test::SortFixture {
  protected:
    const QStringList alphaLines{rec("111111", "0905121000")};
    const QStringList unknownLines{rec("ABCDEF", "0905121005"), rec("ABCDEE", "0905121006")};
    ScriptedAsker asker;

    void SetUp() override {
        site("Alpha", {"111111"});
        site("Common", {"0C0C0C"});
        load();
        ctx.unknownAsker = &asker;
        buckets::createAll(dir.path(), 2);
        buckets::append(dir.path(), 0, alphaLines);
        buckets::append(dir.path(), 2, unknownLines);
    }
    void handle(std::initializer_list<UnknownDecision> answers) {
        asker.answers.assign(answers);
        HandleUnknownCheckpoints(ctx, dir.path(), 2);
    }
    QStringList bucket(int n) const { return buckets::read(dir.path(), n); }
    QString chooseSiteMessage() const {
        return texts.text(32) + "\r" + texts.text(33) + "\r" + texts.text(34);
    }
};

TEST_F(UnknownCheckpointsTest, AnExistingSiteGetsTheClockingsAfterItsOwn) {
    handle({{Choice::ExistingSite, "Alpha"}});
    EXPECT_EQ(bucket(0), alphaLines + unknownLines);
    EXPECT_EQ(bucket(2), unknownLines);  // the unknown bucket is not emptied
    ASSERT_EQ(asker.shown.size(), 1u);
    EXPECT_EQ(asker.shown[0], QStringList({"Alpha", "Common"}));
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(UnknownCheckpointsTest, TheCommonSiteCanTakeThem) {
    handle({{Choice::ExistingSite, "Common"}});
    EXPECT_EQ(bucket(1), unknownLines);
    EXPECT_EQ(bucket(0), alphaLines);
}

TEST_F(UnknownCheckpointsTest, NoSiteChosenShowsTheHintAndAsksAgain) {
    handle({{Choice::ExistingSite, ""},
            {Choice::ExistingSite, "Nowhere"},
            {Choice::ExistingSite, "Alpha"}});
    EXPECT_EQ(ui.messages, QStringList({chooseSiteMessage(), chooseSiteMessage()}));
    EXPECT_EQ(asker.shown.size(), 3u);
    EXPECT_EQ(bucket(0), alphaLines + unknownLines);
}

TEST_F(UnknownCheckpointsTest, ANewSiteTakesOverTheUnknownBucket) {
    handle({{Choice::NewSite, "Depot"}});
    ASSERT_EQ(store->sites(), QStringList({"Alpha", "Common", "Depot"}));
    EXPECT_TRUE(QFileInfo(dir.file("Depot/Raw")).isDir());
    EXPECT_TRUE(QFileInfo(dir.file("Depot/checkpt.lst")).isFile());
    // The id table was rebuilt: the new site has its (empty) slots.
    EXPECT_EQ(store->siteIds().siteCount(), 3);
    EXPECT_EQ(store->siteIds().slot(2, 0), QString("zzzzzz"));
    EXPECT_EQ(bucket(2), unknownLines);
    EXPECT_EQ(bucket(0), alphaLines);
}

TEST_F(UnknownCheckpointsTest, ANewSiteWithoutANameIsAskedFor) {
    ui.textAnswers = {std::nullopt, QString("Depot")};
    handle({{Choice::NewSite, ""}, {Choice::NewSite, ""}});
    EXPECT_EQ(store->sites(), QStringList({"Alpha", "Common", "Depot"}));
    EXPECT_EQ(asker.shown.size(), 2u);  // the cancelled name kept the window open
}

TEST_F(UnknownCheckpointsTest, ANameThatExistsIsRefusedAndAskedAgain) {
    handle({{Choice::NewSite, "Alpha"}, {Choice::Ignore, ""}});
    EXPECT_EQ(ui.messages, QStringList{texts.text(20) + " Alpha"});
    EXPECT_EQ(asker.shown.size(), 2u);
    EXPECT_EQ(store->siteCount(), 2);
    EXPECT_EQ(bucket(0), alphaLines);
}

TEST_F(UnknownCheckpointsTest, IgnoreChangesNothing) {
    handle({{Choice::Ignore, ""}});
    EXPECT_EQ(bucket(0), alphaLines);
    EXPECT_TRUE(bucket(1).isEmpty());
    EXPECT_EQ(bucket(2), unknownLines);
    EXPECT_EQ(store->siteCount(), 2);
}

TEST(FixedUnknownAskerTest, ParsesTheThreeAnswers) {
    struct Case {
        QString text;
        std::optional<Choice> choice;
        QString name;
    };
    const Case cases[] = {
        {"ignore", Choice::Ignore, ""},
        {"IGNORE", Choice::Ignore, ""},
        {"site:Head Office", Choice::ExistingSite, "Head Office"},
        {"new:Depot", Choice::NewSite, "Depot"},
        {"new:", Choice::NewSite, ""},
        {"site:", std::nullopt, ""},
        {"", std::nullopt, ""},
        {"discard", std::nullopt, ""},
    };
    for (const Case& c : cases) {
        const auto parsed = FixedUnknownAsker::parse(c.text);
        ASSERT_EQ(parsed.has_value(), c.choice.has_value()) << c.text.toStdString();
        if (parsed) {
            EXPECT_EQ(parsed->choice, *c.choice) << c.text.toStdString();
            EXPECT_EQ(parsed->siteName, c.name) << c.text.toStdString();
        }
    }
}

TEST_F(UnknownCheckpointsTest, AFixedAnswerThatFailsFallsBackToIgnore) {
    FixedUnknownAsker fixed({Choice::ExistingSite, "Nowhere"}, &ui);
    ctx.unknownAsker = &fixed;
    HandleUnknownCheckpoints(ctx, dir.path(), 2);
    EXPECT_EQ(fixed.timesAsked(), 2);
    EXPECT_FALSE(fixed.fallbackMessage().isEmpty());
    EXPECT_EQ(ui.messages, QStringList({chooseSiteMessage(), fixed.fallbackMessage()}));
    EXPECT_EQ(bucket(0), alphaLines);

    // The next processing run gets the fixed answer first again.
    HandleUnknownCheckpoints(ctx, dir.path(), 2);
    EXPECT_EQ(fixed.timesAsked(), 4);
}

TEST_F(UnknownCheckpointsTest, AFixedNewSiteIsCreated) {
    FixedUnknownAsker fixed({Choice::NewSite, "Depot"}, &ui);
    ctx.unknownAsker = &fixed;
    HandleUnknownCheckpoints(ctx, dir.path(), 2);
    EXPECT_EQ(store->indexOf("Depot"), 2);
    EXPECT_TRUE(fixed.fallbackMessage().isEmpty());
}

}  // namespace
}  // namespace dorodure
