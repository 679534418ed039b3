#pragma once

#include "checkpoint.h"

#include <QString>

#include <array>
#include <optional>

namespace dorodure {

// The value of a numeric field: digits only (blanks around them allowed);
// nullopt for anything else, an empty or blank field among them.
std::optional<int> fieldNumber(const QString& text);

// A patrol time "hhHnn" as hour and minute; nullopt unless both are numbers.
struct PatrolTime {
    int hour = 0;
    int minute = 0;
};
std::optional<PatrolTime> patrolTime(const QString& text);

// A number written with at least `width` digits ("15" with 3 gives "015").
QString paddedNumber(int value, int width);

// The patrol settings as the checkpoint window shows them after a check:
// which labels and fields are red, whether the warning and "AutoCorrect" are
// visible, whether "Program Next Baton" can be pressed.
struct PatrolCheck {
    bool roundTimeRed = false;
    bool restTimeRed = false;
    bool numBatonsRed = false;
    std::array<bool, 7> startRed{};   // Monday..Sunday
    std::array<bool, 7> finishRed{};  // Monday..Sunday
    bool warningVisible = false;      // the warning label and "AutoCorrect"
    bool programEnabled = false;      // "Program Next Baton"

    bool anyRed() const;
};

// Checks the settings against the unit of their failed-patrol type: what the
// unit cannot be programmed with is red. Only Monday's times enter a block,
// so another day that differs from Monday is red but leaves the button on.
PatrolCheck settingsCheck(const TSiteSettings& settings);

// Corrects the settings for their type (type "none" changes nothing), then
// gives every day Monday's times.
TSiteSettings autoCorrect(const TSiteSettings& settings);

// "All Days the Same": Monday's start and finish times for Tuesday to Sunday.
void allDaysTheSame(TSiteSettings& settings);
// "24 Hour Patrols": all fourteen times "01h00" (start equal to finish).
void twentyFourHourPatrols(TSiteSettings& settings);

// The failed-patrol setup window's fields as they read after focus leaves
// them.
// Round time: lowered to a multiple of 15, at least "015".
QString setupRoundTime(const QString& text);
// A start or finish time "hhh00": an hour of 0 (or none) or above 24 is 24.
QString setupHour(const QString& text);
// Rest time: lowered to a multiple of 5; "005" becomes "010".
QString setupRestTime(const QString& text);
// Number of batons: "0" (or none) becomes "1".
QString setupBatons(const QString& text);

}  // namespace dorodure
