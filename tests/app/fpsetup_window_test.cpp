// "Setup the failed patrol": field rules on leaving, the two unit tabs and
// "&Ok" leaving a block for the next baton.
#include "app_services.h"
#include "frm_fpsetup.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "sites/site_store.h"
#include "test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabBar>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

const QDateTime kNow(QDate(2024, 12, 31), QTime(23, 59));

class FPSetupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        data.mkdir("North");
        data.mkdir("South");
        AppOptions options;
        options.dataFolder = data.path();
        options.clock = &clock;
        options.ui = &ui;
        options.demo = true;
        services = std::make_unique<AppServices>(options);
        services->sites().loadSites();
        services->sites().writeCheckpointList(
            "North", {{"000001", u'=', "A"}, {"000002", u'=', "B"}, {"000003", u'=', "C"}},
            TSiteSettings());
        form = std::make_unique<TfrmFPSetup>(*services);
        form->show();
    }
    void TearDown() override { form.reset(); }

    // Types a value and leaves the field; what the field then shows.
    static QString leave(QLineEdit* edit, const QString& typed) {
        edit->setText(typed);
        emit edit->editingFinished();
        return edit->displayText();
    }
    void chooseSite(int row) {
        QListWidget* sites = form->siteList();
        sites->setCurrentRow(row);
        emit sites->itemClicked(sites->item(row));
    }
    QStringList logLines() const {
        return test::readCrlfLines(data.file(TActivityLog::fileNameFor(kNow.date())));
    }

    test::TempDataFolder data;
    ManualClock clock{kNow};
    test::ScriptedInteraction ui;
    std::unique_ptr<AppServices> services;
    std::unique_ptr<TfrmFPSetup> form;
};

TEST_F(FPSetupTest, FieldsAreNormalisedOnLeaving) {
    EXPECT_EQ(form->objectName(), "frmFPSetup");
    EXPECT_EQ(leave(form->roundEdit(), "020"), "015");
    EXPECT_EQ(leave(form->roundEdit(), "5"), "015");
    EXPECT_EQ(leave(form->roundEdit(), "100"), "090");
    EXPECT_EQ(leave(form->startEdit(), "00"), "24h00");
    EXPECT_EQ(leave(form->finishEdit(), "30"), "24h00");
    EXPECT_EQ(leave(form->finishEdit(), "07"), "07h00");
    EXPECT_EQ(leave(form->restEdit(), "005"), "010");
    EXPECT_EQ(leave(form->restEdit(), "027"), "025");
    EXPECT_EQ(leave(form->batonsEdit(), "0"), "1");
}

TEST_F(FPSetupTest, TabsSwitchTheValueFields) {
    QLabel* first = form->findChild<QLabel*>("Label2");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->text(), "Patrol Start Time");
    EXPECT_FALSE(form->startEdit()->isHidden());
    EXPECT_TRUE(form->restEdit()->isHidden());
    form->tabs()->setCurrentIndex(1);
    EXPECT_EQ(first->text(), "Rest Time in Minutes");
    EXPECT_EQ(form->findChild<QLabel*>("Label4")->text(), "Number of batons");
    EXPECT_TRUE(form->startEdit()->isHidden());
    EXPECT_EQ(form->restEdit()->displayText(), "010");
}

TEST_F(FPSetupTest, OkIsOffUntilASiteIsClickedThenProgramsSingleBaton) {
    EXPECT_FALSE(form->okButton()->isEnabled());
    chooseSite(0);
    ASSERT_TRUE(form->okButton()->isEnabled());
    leave(form->roundEdit(), "060");
    leave(form->startEdit(), "06");
    leave(form->finishEdit(), "18");
    form->okButton()->click();
    EXPECT_FALSE(form->isVisible());
    ASSERT_TRUE(services->requests().writePending());
    EXPECT_EQ(services->requests().storeLen(), 28);
    ASSERT_EQ(logLines().size(), 1);
    EXPECT_TRUE(
        logLines()[0].endsWith("\"North\",\"Programmed a failed patrol with the following "
                               "settings FPType:0 RT:060 ST:06h00 FT:18h00 TT:010 B:1\""));
}

TEST_F(FPSetupTest, MultipleBatonTab) {
    chooseSite(0);
    form->tabs()->setCurrentIndex(1);
    leave(form->roundEdit(), "030");
    leave(form->restEdit(), "000");
    leave(form->batonsEdit(), "3");
    form->okButton()->click();
    EXPECT_EQ(services->requests().storeLen(), 6);  // 2 + 1 + 3
    EXPECT_TRUE(logLines()[0].contains("FPType:1 RT:030"));
}

TEST_F(FPSetupTest, SiteWithoutListIsReported) {
    QFile::remove(data.file("South/checkpt.lst"));
    chooseSite(1);
    form->okButton()->click();
    EXPECT_EQ(ui.messages, QStringList{"There are no checkpoints in the site \"South\""});
    EXPECT_FALSE(services->requests().writePending());
    EXPECT_FALSE(form->isVisible());
}

}  // namespace
}  // namespace dorodure
