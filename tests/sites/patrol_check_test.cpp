// The settings check against the failed-patrol unit, AutoCorrect, and the
// field rules of the failed-patrol setup window.
#include "sites/patrol_check.h"

#include <gtest/gtest.h>

namespace dorodure {
namespace {

// Settings that every unit type accepts as they are.
TSiteSettings valid(int type) {
    TSiteSettings s;
    s.roundTime = "060";
    s.restTime = "000";
    s.numBatons = "1";
    s.failedPatrolType = type;
    s.startTimes.fill("06h00");
    s.finishTimes.fill(type == 2 ? "06h00" : "18h00");
    return s;
}

enum Field { Round, Rest, Batons, MonStart, MonFinish, TueStart };

struct CheckCase {
    const char* name;
    int type;
    Field field;
    const char* value;
    bool red;
    bool warning;
    bool program;
};

// A Monday time is given to every day, so that only Monday's rule speaks.
void setField(TSiteSettings& s, Field f, const QString& v) {
    switch (f) {
        case Round:
            s.roundTime = v;
            break;
        case Rest:
            s.restTime = v;
            break;
        case Batons:
            s.numBatons = v;
            break;
        case MonStart:
            s.startTimes.fill(v);
            break;
        case MonFinish:
            s.finishTimes.fill(v);
            break;
        case TueStart:
            s.startTimes[1] = v;
            break;
    }
}

bool isRed(const PatrolCheck& c, Field f) {
    switch (f) {
        case Round:
            return c.roundTimeRed;
        case Rest:
            return c.restTimeRed;
        case Batons:
            return c.numBatonsRed;
        case MonStart:
            return c.startRed[0];
        case MonFinish:
            return c.finishRed[0];
        case TueStart:
            return c.startRed[1];
    }
    return false;
}

TEST(SettingsCheck, RulesPerUnitType) {
    const std::vector<CheckCase> cases = {
        {"single valid", 1, Round, "060", false, false, true},
        {"single round 020", 1, Round, "020", true, true, false},
        {"single round 000", 1, Round, "000", true, true, false},
        {"single round blank", 1, Round, "   ", true, true, false},
        {"single rest 010", 1, Rest, "010", true, true, false},
        {"single start 06h30", 1, MonStart, "06h30", true, true, false},
        {"single start 00h00", 1, MonStart, "00h00", true, true, false},
        {"single start 24h00", 1, MonStart, "24h00", false, false, true},
        {"single finish 25h00", 1, MonFinish, "25h00", true, true, false},
        {"single start unset", 1, MonStart, "  h  ", true, true, false},
        {"single batons 2 keeps button", 1, Batons, "2", true, true, true},
        {"single batons blank", 1, Batons, " ", true, true, false},
        {"multiple valid", 2, Rest, "010", false, false, true},
        {"multiple rest 005", 2, Rest, "005", true, true, false},
        {"multiple rest 007", 2, Rest, "007", true, true, false},
        {"multiple start differs", 2, MonStart, "07h00", true, true, false},
        {"multiple finish differs", 2, MonFinish, "07h00", true, true, false},
        {"multiple batons 9", 2, Batons, "9", false, false, true},
        {"multiple batons 0 keeps button", 2, Batons, "0", true, true, true},
        {"none accepts anything", 0, Round, "020", false, false, false},
        {"none ignores weekdays", 0, TueStart, "09h00", false, false, false},
        {"weekday differs, single", 1, TueStart, "09h00", true, true, true},
    };
    for (const CheckCase& c : cases) {
        TSiteSettings s = valid(c.type);
        setField(s, c.field, c.value);
        const PatrolCheck check = settingsCheck(s);
        EXPECT_EQ(isRed(check, c.field), c.red) << c.name;
        EXPECT_EQ(check.warningVisible, c.warning) << c.name;
        EXPECT_EQ(check.programEnabled, c.program) << c.name;
        EXPECT_EQ(check.anyRed(), c.red) << c.name << ": only that field";
    }
}

TEST(SettingsCheck, WeekdayDifferenceEnablesTheButtonOverAFailedRule) {
    TSiteSettings s = valid(1);
    s.roundTime = "020";
    s.finishTimes[3] = "17h00";
    const PatrolCheck check = settingsCheck(s);
    EXPECT_TRUE(check.roundTimeRed);
    EXPECT_TRUE(check.finishRed[3]);
    EXPECT_FALSE(check.finishRed[2]);
    EXPECT_TRUE(check.programEnabled);
}

struct CorrectCase {
    const char* name;
    int type;
    Field field;
    const char* value;
    const char* corrected;
};

QString fieldValue(const TSiteSettings& s, Field f) {
    switch (f) {
        case Round:
            return s.roundTime;
        case Rest:
            return s.restTime;
        case Batons:
            return s.numBatons;
        case MonStart:
            return s.startTimes[0];
        case MonFinish:
            return s.finishTimes[0];
        case TueStart:
            return s.startTimes[1];
    }
    return {};
}

TEST(AutoCorrect, CorrectionsPerUnitType) {
    const std::vector<CorrectCase> cases = {
        {"single round 020", 1, Round, "020", "030"},
        {"single round 000", 1, Round, "000", "015"},
        {"single round blank", 1, Round, "   ", "015"},
        {"single round 999", 1, Round, "999", "990"},
        {"single rest", 1, Rest, "010", "000"},
        {"single minutes", 1, MonStart, "06h30", "06h00"},
        {"single hour 25", 1, MonFinish, "25h10", "24h00"},
        {"single hour 0", 1, MonStart, "00h00", "01h00"},
        {"single unset", 1, MonStart, "  h  ", "01h00"},
        {"single batons", 1, Batons, "4", "1"},
        {"multiple rest 005", 2, Rest, "005", "000"},
        {"multiple rest 003", 2, Rest, "003", "000"},
        {"multiple rest 012", 2, Rest, "012", "015"},
        {"multiple rest blank", 2, Rest, "   ", "010"},
        {"multiple times differ", 2, MonStart, "07h00", "01h00"},
        {"multiple batons 0", 2, Batons, "0", "1"},
        {"multiple batons blank", 2, Batons, " ", "1"},
        {"multiple batons 7 kept", 2, Batons, "7", "7"},
        {"none changes nothing", 0, Round, "020", "020"},
        {"weekday copied from monday", 0, TueStart, "09h00", "06h00"},
    };
    for (const CorrectCase& c : cases) {
        TSiteSettings s = valid(c.type);
        setField(s, c.field, c.value);
        const TSiteSettings out = autoCorrect(s);
        EXPECT_EQ(fieldValue(out, c.field), QString::fromLatin1(c.corrected)) << c.name;
        EXPECT_EQ(out.startTimes[6], out.startTimes[0]) << c.name;
        EXPECT_EQ(out.finishTimes[6], out.finishTimes[0]) << c.name;
        if (c.type != 0) {
            EXPECT_FALSE(settingsCheck(out).anyRed()) << c.name << ": corrected settings pass";
        }
    }
    TSiteSettings multi = valid(2);
    multi.finishTimes[0] = "09h00";
    EXPECT_EQ(autoCorrect(multi).finishTimes[0], "01h00");
}

TEST(PatrolButtons, AllDaysTheSameAnd24Hours) {
    TSiteSettings s = valid(1);
    s.startTimes[4] = "11h00";
    s.finishTimes[5] = "12h00";
    allDaysTheSame(s);
    for (std::size_t d = 0; d < 7; ++d) {
        EXPECT_EQ(s.startTimes[d], "06h00");
        EXPECT_EQ(s.finishTimes[d], "18h00");
    }
    twentyFourHourPatrols(s);
    for (std::size_t d = 0; d < 7; ++d) {
        EXPECT_EQ(s.startTimes[d], "01h00");
        EXPECT_EQ(s.finishTimes[d], "01h00");
    }
}

TEST(SetupFields, NormalisedOnLeaving) {
    struct Case {
        QString (*rule)(const QString&);
        const char* in;
        const char* out;
    };
    const std::vector<Case> cases = {
        {setupRoundTime, "020", "015"}, {setupRoundTime, "010", "015"},
        {setupRoundTime, "047", "045"}, {setupRoundTime, "", "015"},
        {setupRoundTime, "60", "060"},  {setupHour, "00h00", "24h00"},
        {setupHour, "30h00", "24h00"},  {setupHour, "07h00", "07h00"},
        {setupRestTime, "005", "010"},  {setupRestTime, "007", "010"},
        {setupRestTime, "013", "010"},  {setupRestTime, "000", "000"},
        {setupRestTime, "027", "025"},  {setupRestTime, "", "010"},
        {setupBatons, "0", "1"},        {setupBatons, "", "1"},
        {setupBatons, "4", "4"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.rule(QString::fromLatin1(c.in)), QString::fromLatin1(c.out)) << c.in;
    }
}

}  // namespace
}  // namespace dorodure
