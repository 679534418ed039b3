#pragma once

#include <QString>

#include <array>
#include <vector>

namespace dorodure {

// One line of a checkpoint list: "Id Flag LocationName".
struct TCheckpoint {
    QString id;            // 6 characters
    QChar flag = u'=';     // '=' ordinary, '#' patrol separator
    QString locationName;  // any text without line breaks
    bool operator==(const TCheckpoint&) const = default;
};

// The patrol settings of a site, held as the file holds them.
struct TSiteSettings {
    QString roundTime = QStringLiteral("000");  // minutes, at least 3 digits
    QString restTime = QStringLiteral("000");   // minutes, at least 3 digits
    QString numBatons = QStringLiteral("0");    // 1 digit
    int failedPatrolType = 0;                   // 0 none, 1 Single Baton, 2 Multiple Baton
    std::array<QString, 7> startTimes;          // Monday..Sunday, "hhHnn" e.g. "18h00"
    std::array<QString, 7> finishTimes;

    // The values a list without settings lines reads as ("00h00" for every time).
    TSiteSettings();
    // The values the editor's fields start with: 015, 010, 1, none, "  h  ".
    static TSiteSettings editorDefaults();
    bool operator==(const TSiteSettings&) const = default;
};

struct CheckpointList {
    std::vector<TCheckpoint> checkpoints;
    TSiteSettings settings;
};

}  // namespace dorodure
