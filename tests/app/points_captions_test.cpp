// The language file's captions reach the checkpoint windows by control name.
#include "app_services.h"
#include "captions.h"
#include "frm_fpsetup.h"
#include "frm_inputbox.h"
#include "frm_points.h"
#include "frm_sitedel.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "sites/site_store.h"
#include "test_support.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

class PointsCaptionsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        data.mkdir("North");
        AppOptions options;
        options.dataFolder = data.path();
        options.clock = &clock;
        options.ui = &ui;
        options.demo = true;
        services = std::make_unique<AppServices>(options);
        services->sites().loadSites();
        // Every line names itself, so that each caption shows where it came from.
        QStringList lines;
        for (int n = 1; n <= TLanguageTable::kFileLines; ++n) {
            lines << QStringLiteral("L%1").arg(n);
        }
        test::writeCrlfLines(data.file("Test.lng"), lines);
        ASSERT_EQ(services->texts().loadLanguageFile(data.file("Test.lng")), QString());
    }
    template <typename T>
    static QString textOf(QWidget* form, const char* name) {
        T* control = form->findChild<T*>(QString::fromLatin1(name));
        return control ? control->text() : QStringLiteral("<missing %1>").arg(name);
    }

    test::TempDataFolder data;
    ManualClock clock;
    test::ScriptedInteraction ui;
    std::unique_ptr<AppServices> services;
};

TEST_F(PointsCaptionsTest, CheckpointEditor) {
    Tfrmpoints form(*services);
    EXPECT_EQ(form.windowTitle(), "L214");
    EXPECT_EQ(textOf<QPushButton>(&form, "btnAdd"), "L74");
    EXPECT_EQ(textOf<QAction>(&form, "Add1"), "L74");
    EXPECT_EQ(textOf<QAction>(&form, "Add2"), "L74");
    EXPECT_EQ(textOf<QAction>(&form, "Delete2"), "L75");
    EXPECT_EQ(textOf<QPushButton>(&form, "Button1"), "L238");
    EXPECT_EQ(textOf<QAction>(&form, "MoveDown1"), "L241");
    EXPECT_EQ(textOf<QPushButton>(&form, "Button5"), "L242");
    EXPECT_EQ(textOf<QLabel>(&form, "Label13"), "L229");
    EXPECT_EQ(textOf<QLabel>(&form, "Label21"), "L237");
    auto* list = form.findChild<QTreeWidget*>("ListView");
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->headerItem()->text(1), "L77");
    EXPECT_EQ(list->headerItem()->text(2), "L78");
    auto* type = form.findChild<QComboBox*>("ComboBox2");
    ASSERT_NE(type, nullptr);
    ASSERT_EQ(type->count(), 3);
    EXPECT_EQ(type->itemText(2), "L249");
    EXPECT_EQ(form.inputBox().windowTitle(), "L91");
    EXPECT_EQ(textOf<QLabel>(&form.inputBox(), "Label1"), "L92");
    EXPECT_EQ(textOf<QPushButton>(&form.inputBox(), "Button2"), "L106");
}

TEST_F(PointsCaptionsTest, SiteDeletionAndFailedPatrolSetup) {
    TfrmSiteDel del(*services);
    EXPECT_EQ(del.windowTitle(), "L213");
    auto* memo = del.findChild<QPlainTextEdit*>("Memo1");
    ASSERT_NE(memo, nullptr);
    EXPECT_EQ(memo->toPlainText(), "L208\nL209\nL210\nL211\nL212");
    EXPECT_EQ(textOf<QPushButton>(&del, "Button1"), "L121");

    TfrmFPSetup fp(*services);
    EXPECT_EQ(fp.windowTitle(), "L99");
    EXPECT_EQ(fp.tabs()->tabText(1), "L140");
    EXPECT_EQ(textOf<QLabel>(&fp, "Label6"), "L105");
    EXPECT_EQ(textOf<QLabel>(&fp, "Label2"), "L103");  // entry 52
    fp.tabs()->setCurrentIndex(1);
    EXPECT_EQ(textOf<QLabel>(&fp, "Label2"), "L141");  // entry 54
}

TEST_F(PointsCaptionsTest, ChangingLanguageKeepsTheSiteType) {
    TSiteSettings settings;
    settings.failedPatrolType = 2;
    services->sites().writeCheckpointList("North", {{"000001", u'=', "A"}}, settings);
    Tfrmpoints form(*services);
    form.show();
    auto* type = form.findChild<QComboBox*>("ComboBox2");
    ASSERT_NE(type, nullptr);
    ASSERT_EQ(type->currentIndex(), 2);
    applyCaptionsToAllWindows(services->texts().loadedLines());
    EXPECT_EQ(type->currentIndex(), 2);
    EXPECT_EQ(type->currentText(), "L249");
    form.reject();
    EXPECT_EQ(services->sites().readCheckpointList("North").settings.failedPatrolType, 2);
}

}  // namespace
}  // namespace dorodure
