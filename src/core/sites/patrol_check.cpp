// The check of a site's patrol settings against its failed-patrol unit, and
// the corrections "AutoCorrect" makes.
#include "patrol_check.h"

namespace dorodure {

namespace {

constexpr int kSingleBaton = 1;
constexpr int kMultipleBaton = 2;

// One rule's verdict: passed, failed (the button keeps its state) or failed
// so that nothing can be programmed.
enum class Verdict { Pass, Warn, Block };

void apply(PatrolCheck& check, Verdict v, bool& red) {
    red = v != Verdict::Pass;
    if (v != Verdict::Pass) {
        check.warningVisible = true;
    }
    if (v == Verdict::Block) {
        check.programEnabled = false;
    }
}

Verdict roundRule(const QString& text) {
    const std::optional<int> n = fieldNumber(text);
    return n && *n != 0 && *n % 15 == 0 ? Verdict::Pass : Verdict::Block;
}

Verdict singleRestRule(const QString& text) {
    const std::optional<int> n = fieldNumber(text);
    return n && *n == 0 ? Verdict::Pass : Verdict::Block;
}

Verdict multipleRestRule(const QString& text) {
    const std::optional<int> n = fieldNumber(text);
    return n && *n % 5 == 0 && *n != 5 ? Verdict::Pass : Verdict::Block;
}

Verdict fullHourRule(const QString& text) {
    const std::optional<PatrolTime> t = patrolTime(text);
    return t && t->minute == 0 && t->hour >= 1 && t->hour <= 24 ? Verdict::Pass : Verdict::Block;
}

Verdict batonsRule(const QString& text, int low, int high) {
    const std::optional<int> n = fieldNumber(text);
    if (!n) {
        return Verdict::Block;
    }
    return *n >= low && *n <= high ? Verdict::Pass : Verdict::Warn;
}

void checkSingle(const TSiteSettings& s, PatrolCheck& c) {
    apply(c, roundRule(s.roundTime), c.roundTimeRed);
    apply(c, singleRestRule(s.restTime), c.restTimeRed);
    apply(c, fullHourRule(s.startTimes[0]), c.startRed[0]);
    apply(c, fullHourRule(s.finishTimes[0]), c.finishRed[0]);
    apply(c, batonsRule(s.numBatons, 1, 1), c.numBatonsRed);
}

void checkMultiple(const TSiteSettings& s, PatrolCheck& c) {
    apply(c, roundRule(s.roundTime), c.roundTimeRed);
    apply(c, multipleRestRule(s.restTime), c.restTimeRed);
    const bool numbers = patrolTime(s.startTimes[0]) && patrolTime(s.finishTimes[0]);
    const Verdict window =
        numbers && s.startTimes[0] == s.finishTimes[0] ? Verdict::Pass : Verdict::Block;
    apply(c, window, c.startRed[0]);
    apply(c, window, c.finishRed[0]);
    apply(c, batonsRule(s.numBatons, 1, 9), c.numBatonsRed);
}

// Days whose time differs from Monday's are red; they do not stop
// programming, because only Monday's times enter a block.
void checkWeekdays(const std::array<QString, 7>& times, std::array<bool, 7>& red, PatrolCheck& c) {
    for (int day = 1; day < 7; ++day) {
        red[std::size_t(day)] = times[std::size_t(day)] != times[0];
        if (red[std::size_t(day)]) {
            c.warningVisible = true;
            c.programEnabled = true;
        }
    }
}

QString raisedTo(const QString& text, int step, int ceiling) {
    const int n = *fieldNumber(text);
    if (n % step == 0) {
        return paddedNumber(n, 3);
    }
    const int raised = n - n % step + step;
    return paddedNumber(raised <= ceiling ? raised : ceiling - ceiling % step, 3);
}

QString correctedRound(const QString& text) {
    const std::optional<int> n = fieldNumber(text);
    if (!n || *n == 0) {
        return QStringLiteral("015");
    }
    return raisedTo(text, 15, 999);
}

QString correctedFullHour(const QString& text) {
    const std::optional<PatrolTime> t = patrolTime(text);
    if (!t) {
        return QStringLiteral("01h00");
    }
    int hour = t->hour > 24 ? 24 : t->hour;
    hour = hour <= 0 ? 1 : hour;
    return paddedNumber(hour, 2) + QStringLiteral("h00");
}

QString correctedMultipleRest(const QString& text) {
    if (!fieldNumber(text)) {
        return QStringLiteral("010");
    }
    const QString raised = raisedTo(text, 5, 999);
    return *fieldNumber(raised) == 5 ? QStringLiteral("000") : raised;
}

QString correctedBatons(const QString& text) {
    const std::optional<int> n = fieldNumber(text);
    if (!n || *n <= 0) {
        return QStringLiteral("1");
    }
    return *n > 9 ? QStringLiteral("9") : text;
}

void correctSingle(TSiteSettings& s) {
    s.roundTime = correctedRound(s.roundTime);
    s.restTime = QStringLiteral("000");
    s.startTimes[0] = correctedFullHour(s.startTimes[0]);
    s.finishTimes[0] = correctedFullHour(s.finishTimes[0]);
    s.numBatons = QStringLiteral("1");
}

void correctMultiple(TSiteSettings& s) {
    s.roundTime = correctedRound(s.roundTime);
    s.restTime = correctedMultipleRest(s.restTime);
    const bool numbers = patrolTime(s.startTimes[0]) && patrolTime(s.finishTimes[0]);
    if (!numbers || s.startTimes[0] != s.finishTimes[0]) {
        s.startTimes[0] = QStringLiteral("01h00");
        s.finishTimes[0] = QStringLiteral("01h00");
    }
    s.numBatons = correctedBatons(s.numBatons);
}

}  // namespace

std::optional<int> fieldNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 9) {
        return std::nullopt;
    }
    for (const QChar c : t) {
        if (c < u'0' || c > u'9') {
            return std::nullopt;
        }
    }
    return t.toInt();
}

std::optional<PatrolTime> patrolTime(const QString& text) {
    if (text.size() != 5) {
        return std::nullopt;
    }
    const std::optional<int> hour = fieldNumber(text.left(2));
    const std::optional<int> minute = fieldNumber(text.mid(3, 2));
    if (!hour || !minute) {
        return std::nullopt;
    }
    return PatrolTime{*hour, *minute};
}

QString paddedNumber(int value, int width) {
    return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0'));
}

bool PatrolCheck::anyRed() const {
    bool red = roundTimeRed || restTimeRed || numBatonsRed;
    for (std::size_t day = 0; day < 7; ++day) {
        red = red || startRed[day] || finishRed[day];
    }
    return red;
}

PatrolCheck settingsCheck(const TSiteSettings& settings) {
    PatrolCheck check;
    if (settings.failedPatrolType != kSingleBaton && settings.failedPatrolType != kMultipleBaton) {
        return check;
    }
    check.programEnabled = true;
    if (settings.failedPatrolType == kSingleBaton) {
        checkSingle(settings, check);
    } else {
        checkMultiple(settings, check);
    }
    checkWeekdays(settings.startTimes, check.startRed, check);
    checkWeekdays(settings.finishTimes, check.finishRed, check);
    return check;
}

TSiteSettings autoCorrect(const TSiteSettings& settings) {
    TSiteSettings s = settings;
    if (s.failedPatrolType == kSingleBaton) {
        correctSingle(s);
    } else if (s.failedPatrolType == kMultipleBaton) {
        correctMultiple(s);
    }
    allDaysTheSame(s);
    return s;
}

void allDaysTheSame(TSiteSettings& settings) {
    settings.startTimes.fill(settings.startTimes[0]);
    settings.finishTimes.fill(settings.finishTimes[0]);
}

void twentyFourHourPatrols(TSiteSettings& settings) {
    settings.startTimes.fill(QStringLiteral("01h00"));
    settings.finishTimes.fill(QStringLiteral("01h00"));
}

QString setupRoundTime(const QString& text) {
    const int n = fieldNumber(text).value_or(0);
    const int lowered = n - n % 15;
    return paddedNumber(lowered < 15 ? 15 : lowered, 3);
}

QString setupHour(const QString& text) {
    const int hour = fieldNumber(text.left(2)).value_or(0);
    const int kept = hour == 0 || hour > 24 ? 24 : hour;
    return paddedNumber(kept, 2) + QStringLiteral("h00");
}

QString setupRestTime(const QString& text) {
    const std::optional<int> n = fieldNumber(text);
    if (!n) {
        return QStringLiteral("010");
    }
    const int lowered = *n - *n % 5;
    return lowered == 5 ? QStringLiteral("010") : paddedNumber(lowered, 3);
}

QString setupBatons(const QString& text) {
    const std::optional<int> n = fieldNumber(text);
    return !n || *n == 0 ? QStringLiteral("1") : text.trimmed();
}

}  // namespace dorodure
