// The "Log File" window: months, lines of the chosen months, admin report.
#include "app_services.h"
#include "frm_logfile.h"
#include "shell/clock.h"
#include "test_support.h"

#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

class LogFileWindowTest : public ::testing::Test {
  protected:
    LogFileWindowTest() {
        test::writeCrlfLines(data.file("LG201108.txt"),
                             {"\"2011/08/01 09:00.00\",\"North\",\"Site added\"",
                              "\"2011/08/02 10:00.00\",\"All\",\"ReportHeader Changed to A, B\""});
        test::writeCrlfLines(data.file("LG201109.txt"),
                             {"\"2011/09/03 11:00.00\",\"none\",\"Entered the About screen\""});
        test::writeCrlfLines(data.file("LGm.txt"), {"x"});
        form.setSaveFileChooser([this](QWidget*, const QString& folder) {
            EXPECT_EQ(folder, data.path());
            return saveAs;
        });
        form.show();
        months = form.findChild<QTreeWidget*>("ListView1");
        lines = form.findChild<QTreeWidget*>("ListView2");
    }
    ~LogFileWindowTest() override { form.hide(); }

    void releaseOverMonths() {
        QTest::mouseRelease(months->viewport(), Qt::LeftButton, {}, QPoint(2, 2));
    }
    void showAllMonths() {
        months->selectAll();
        releaseOverMonths();
    }

    test::TempDataFolder data;
    ManualClock clock;
    test::ScriptedInteraction ui;
    AppServices services{AppOptions{data.path(), &clock, &ui, nullptr, {}, false, {}, {}}};
    TfrmLogFile form{services};
    QString saveAs;
    QTreeWidget* months = nullptr;
    QTreeWidget* lines = nullptr;
};

TEST_F(LogFileWindowTest, SelectedMonthsShowTheirLinesInMonthOrder) {
    ASSERT_EQ(months->topLevelItemCount(), 2);
    EXPECT_EQ(months->topLevelItem(0)->text(0), "August 2011");
    EXPECT_EQ(months->topLevelItem(1)->text(0), "September 2011");
    showAllMonths();
    ASSERT_EQ(lines->topLevelItemCount(), 3);
    EXPECT_EQ(lines->topLevelItem(0)->text(1), "North");
    EXPECT_EQ(lines->topLevelItem(1)->text(2), "ReportHeader Changed to A, B");
    EXPECT_EQ(lines->topLevelItem(2)->text(0), "2011/09/03 11:00.00");
    EXPECT_TRUE(months->selectedItems().isEmpty());
    // The action column takes what the first two leave.
    form.resize(900, 400);
    EXPECT_EQ(lines->columnWidth(2), lines->width() - 233);
}

TEST_F(LogFileWindowTest, AdminReportWithoutSelectionExportsEveryLine) {
    showAllMonths();
    saveAs = data.file("admin.csv");
    form.findChild<QPushButton*>("Button1")->click();
    EXPECT_EQ(test::readCrlfLines(saveAs),
              (QStringList{"\"Admin Report Created by Dorodure Ver1.04s\"",
                           "\"Date & Time\",\"Site Affected\",\"Action Taken\"",
                           "\"2011/08/01 09:00.00\",North,\"Site added\"",
                           "\"2011/08/02 10:00.00\",All,\"ReportHeader Changed to A, B\"",
                           "\"2011/09/03 11:00.00\",none,\"Entered the About screen\""}));
    EXPECT_EQ(ui.opened, QStringList{saveAs});
}

TEST_F(LogFileWindowTest, AdminReportOfTwoSelectedLines) {
    showAllMonths();
    lines->topLevelItem(0)->setSelected(true);
    lines->topLevelItem(2)->setSelected(true);
    saveAs = data.file("two.csv");
    form.Button1Click();
    const QStringList report = test::readCrlfLines(saveAs);
    ASSERT_EQ(report.size(), 4);
    EXPECT_TRUE(report[2].startsWith("\"2011/08/01"));
    EXPECT_TRUE(report[3].startsWith("\"2011/09/03"));
    EXPECT_TRUE(lines->selectedItems().isEmpty());
}

TEST_F(LogFileWindowTest, CancelledSaveWritesNothing) {
    showAllMonths();
    form.Button1Click();
    EXPECT_TRUE(ui.opened.isEmpty());
    saveAs = data.file("missing/folder/report.csv");
    form.Button1Click();
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(lines->topLevelItemCount(), 3);
}

}  // namespace
}  // namespace dorodure
