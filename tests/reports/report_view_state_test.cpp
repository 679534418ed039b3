#include "reports/report_view_state.h"

#include <gtest/gtest.h>

namespace dorodure {
namespace {

const QDate k10Aug(2011, 8, 10);
const QDate k11Aug(2011, 8, 11);
const QDate k1Aug(2011, 8, 1);
const QDate k15Aug(2011, 8, 15);

struct DateRuleCase {
    const char* name;
    DateWindow before;
    DateWindow after;
};

class DateRules : public ::testing::TestWithParam<DateRuleCase> {};

TEST_P(DateRules, GiveTheWindow) {
    const DateRuleCase& c = GetParam();
    const DateWindow got = applyDateRules(c.before);
    EXPECT_EQ(got.fromDate, c.after.fromDate) << c.name;
    EXPECT_EQ(got.toDate, c.after.toDate) << c.name;
    EXPECT_EQ(got.fromTime, c.after.fromTime) << c.name;
    EXPECT_EQ(got.toTime, c.after.toTime) << c.name;
}

using K = ReportKind;
INSTANTIATE_TEST_SUITE_P(
    Report, DateRules,
    ::testing::Values(
        // The simple clocking list covers noon of the day before to noon of the date.
        DateRuleCase{"simple list",
                     {K::ClockingList, false, false, k1Aug, k11Aug, "08h00", "17h00"},
                     {K::ClockingList, false, false, k10Aug, k11Aug, "12h00", "12h00"}},
        // The advanced list keeps the user's times and an earlier from date...
        DateRuleCase{"advanced list",
                     {K::ClockingList, false, true, k1Aug, k11Aug, "08h00", "17h00"},
                     {K::ClockingList, false, true, k1Aug, k11Aug, "08h00", "17h00"}},
        // ...but a to date before the from date moves the from date to it.
        DateRuleCase{"advanced list, to before from",
                     {K::ClockingList, false, true, k15Aug, k11Aug, "08h00", "17h00"},
                     {K::ClockingList, false, true, k11Aug, k11Aug, "08h00", "17h00"}},
        // The night check box counts only for the overview.
        DateRuleCase{"advanced list with night checked",
                     {K::ClockingList, true, true, k11Aug, k11Aug, "08h00", "17h00"},
                     {K::ClockingList, true, true, k11Aug, k11Aug, "08h00", "17h00"}},
        DateRuleCase{"simple night overview",
                     {K::Overview, true, false, k1Aug, k11Aug, "08h00", "17h00"},
                     {K::Overview, true, false, k10Aug, k11Aug, "12h00", "12h00"}},
        DateRuleCase{"advanced night overview keeps several nights",
                     {K::Overview, true, true, k1Aug, k11Aug, "00h00", "23h59"},
                     {K::Overview, true, true, k1Aug, k11Aug, "12h00", "12h00"}},
        DateRuleCase{"advanced night overview needs a day before",
                     {K::Overview, true, true, k11Aug, k11Aug, "00h00", "23h59"},
                     {K::Overview, true, true, k10Aug, k11Aug, "12h00", "12h00"}},
        DateRuleCase{"simple day overview",
                     {K::Overview, false, false, k1Aug, k11Aug, "12h00", "12h00"},
                     {K::Overview, false, false, k11Aug, k11Aug, "00h00", "23h59"}},
        DateRuleCase{"advanced day overview",
                     {K::Overview, false, true, k1Aug, k11Aug, "12h00", "12h00"},
                     {K::Overview, false, true, k1Aug, k11Aug, "00h00", "23h59"}},
        DateRuleCase{"advanced day overview, to before from",
                     {K::Overview, false, true, k15Aug, k11Aug, "12h00", "12h00"},
                     {K::Overview, false, true, k11Aug, k11Aug, "00h00", "23h59"}},
        DateRuleCase{"report by download",
                     {K::ByDownload, false, true, k1Aug, k11Aug, "08h00", "17h00"},
                     {K::ByDownload, false, true, k11Aug, k11Aug, "08h00", "17h00"}}));

TEST(KindViewState, ReportByDownloadShowsOnlyTheDownloadList) {
    const KindViewState s = kindViewState(ReportKind::ByDownload, true, false, true);
    EXPECT_EQ(s.createButtonCaption, 173);
    EXPECT_TRUE(s.downloadList.visible);
    EXPECT_FALSE(s.toCalendar.visible);
    EXPECT_FALSE(s.fromTime.visible);
    EXPECT_FALSE(s.advancedGroupOpen);
    EXPECT_EQ(s.advancedButtonCaption, 163);
    EXPECT_FALSE(s.advancedButtonEnabled);
    EXPECT_EQ(s.shiftButtons, (ControlState{true, false}));
    EXPECT_EQ(s.createPdf, (ControlState{true, true}));
    EXPECT_FALSE(s.createPdfChecked);
    EXPECT_TRUE(s.removeDuplicatesChecked);
    EXPECT_FALSE(s.sortByCheckpoints.visible);
}

TEST(KindViewState, ClockingListViews) {
    const KindViewState open = kindViewState(ReportKind::ClockingList, true, true, false);
    EXPECT_EQ(open.createButtonCaption, 172);
    EXPECT_EQ(open.advancedButtonCaption, 164);
    EXPECT_TRUE(open.fromCalendar.visible && open.fromTime.enabled && open.toTrackBar.enabled);
    EXPECT_EQ(open.toLabelCaption, 48);
    EXPECT_FALSE(open.shiftButtons.visible);
    EXPECT_FALSE(open.downloadList.visible);
    EXPECT_FALSE(open.removeDuplicatesChecked);
    EXPECT_TRUE(open.createPdfChecked);

    const KindViewState simple = kindViewState(ReportKind::ClockingList, false, true, false);
    EXPECT_FALSE(simple.fromCalendar.visible);
    EXPECT_FALSE(simple.fromTime.visible);
    EXPECT_TRUE(simple.toCalendar.visible);
    EXPECT_EQ(simple.toLabelCaption, 159);
}

TEST(KindViewState, OverviewFixesTimesAndPdf) {
    const KindViewState s = kindViewState(ReportKind::Overview, true, false, false);
    EXPECT_EQ(s.fromTime, (ControlState{true, false}));
    EXPECT_FALSE(s.fromTrackBar.visible || s.toTrackBar.visible);
    EXPECT_EQ(s.createPdf, (ControlState{true, false}));
    EXPECT_TRUE(s.createPdfChecked);
    EXPECT_TRUE(s.removeDuplicatesChecked);
    EXPECT_EQ(s.patrolSeparator, (ControlState{true, false}));
    EXPECT_TRUE(s.pointFilter.enabled);
    EXPECT_TRUE(s.shiftButtons.enabled);
    EXPECT_TRUE(s.advancedButtonEnabled);
    EXPECT_TRUE(s.runDateRules);
}

TEST(TimeEdits, TrackBarsAndEditsFollowEachOther) {
    EXPECT_EQ(timeEditWithHour("12h45", 7), "07h45");
    EXPECT_EQ(timeEditWithHour("12h00", 23), "23h00");
    EXPECT_EQ(trackBarPosition("08h30"), 8);
    EXPECT_EQ(trackBarPosition(" 9h30"), 9);
    EXPECT_EQ(trackBarPosition("__h00"), 0);
}

}  // namespace
}  // namespace dorodure
