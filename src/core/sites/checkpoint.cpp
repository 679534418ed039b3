#include "checkpoint.h"

namespace dorodure {

TSiteSettings::TSiteSettings() {
    startTimes.fill(QStringLiteral("00h00"));
    finishTimes.fill(QStringLiteral("00h00"));
}

TSiteSettings TSiteSettings::editorDefaults() {
    TSiteSettings s;
    s.roundTime = QStringLiteral("015");
    s.restTime = QStringLiteral("010");
    s.numBatons = QStringLiteral("1");
    s.failedPatrolType = 0;
    s.startTimes.fill(QStringLiteral("  h  "));
    s.finishTimes.fill(QStringLiteral("  h  "));
    return s;
}

}  // namespace dorodure
