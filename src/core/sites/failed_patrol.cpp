#include "failed_patrol.h"

#include "patrol_check.h"
#include "site_store.h"

#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "shell/text_file.h"

#include <optional>

namespace dorodure {

namespace {

constexpr int kDaysAhead = 30;
constexpr int kTextNoCheckpoints = 42;
constexpr int kTextRoundSteps = 43;

std::uint8_t bcd(int value) {
    return std::uint8_t((value / 10) * 16 + value % 10);
}

// The message a failed number conversion gives, naming the text.
QString conversionMessage(const QString& text) {
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}

struct Repetitions {
    int r = 0;
    int a = 0;
    int b = 0;
};

// A and B of the unit: the Monday hours for Single Baton, the rest time in
// steps of 5 (at least one) and the batons for Multiple Baton. On a value that
// is not a number, `bad` names it.
std::optional<Repetitions> repetitionsFor(const FailedPatrolRequest& req, int round, QString& bad) {
    Repetitions rep;
    rep.r = round / 15;
    const auto take = [&bad](const QString& text, int& out) {
        const std::optional<int> n = fieldNumber(text);
        if (!n) {
            bad = text;
            return false;
        }
        out = *n;
        return true;
    };
    if (req.unit == FailedPatrolUnit::SingleBaton) {
        if (!take(req.mondayStart.left(2), rep.a) || !take(req.mondayFinish.left(2), rep.b)) {
            return std::nullopt;
        }
        return rep;
    }
    int rest = 0;
    if (!take(req.restTime, rest) || !take(req.numBatons, rep.b)) {
        return std::nullopt;
    }
    rep.a = rest / 5 == 0 ? 1 : rest / 5;
    return rep;
}

QString logLine(const FailedPatrolRequest& req, const QString& round) {
    return QStringLiteral("Programmed a failed patrol with the following settings FPType:") +
           req.typeText + QStringLiteral(" RT:") + round + QStringLiteral(" ST:") +
           req.mondayStart + QStringLiteral(" FT:") + req.mondayFinish + QStringLiteral(" TT:") +
           req.restTime + QStringLiteral(" B:") + req.numBatons;
}

// The first id that would go into the block but cannot be written as a
// record. Checkpoints that add nothing (past the limit, or repeated zero
// times) may carry any typed id.
std::optional<QString> unrecordableId(const std::vector<TCheckpoint>& checkpoints,
                                      const Repetitions& rep) {
    const int repeats[3] = {rep.r, rep.a, rep.b};
    long long count = 0;
    for (std::size_t i = 0; i < checkpoints.size() && count < kFailedPatrolBlockLimit; ++i) {
        const int times = i < 3 ? repeats[i] : 1;
        if (times > 0 && !isRecordableId(checkpoints[i].id)) {
            return checkpoints[i].id;
        }
        count += times;
    }
    return std::nullopt;
}

FailedPatrolOutcome failure(FailedPatrolOutcome::Kind kind, const QString& message,
                            const QString& round) {
    FailedPatrolOutcome out;
    out.kind = kind;
    out.message = message;
    out.roundTime = round;
    return out;
}

}  // namespace

QDateTime failedPatrolStamp(const QDateTime& built) {
    return built.addDays(kDaysAhead);
}

bool isRecordableId(const QString& id) {
    if (id.size() != 6) {
        return false;
    }
    for (const QChar c : id) {
        if (!c.isDigit() && !(c >= u'A' && c <= u'F') && !(c >= u'a' && c <= u'f')) {
            return false;
        }
    }
    return true;
}

FailedPatrolRecord failedPatrolRecord(const QString& id, const QDateTime& stamp) {
    FailedPatrolRecord rec{};
    for (int i = 0; i < 3; ++i) {
        rec[std::size_t(i)] = std::uint8_t(id.mid(i * 2, 2).toUInt(nullptr, 16));
    }
    const QDate d = stamp.date();
    const QTime t = stamp.time();
    rec[3] = bcd(d.month());
    rec[4] = std::uint8_t(bcd(d.day()) + 64 * (d.year() % 4));
    rec[5] = bcd(t.hour());
    rec[6] = bcd(t.minute());
    return rec;
}

std::vector<FailedPatrolRecord> buildFailedPatrolBlock(const std::vector<TCheckpoint>& checkpoints,
                                                       int r, int a, int b,
                                                       const QDateTime& stamp) {
    const int repeats[3] = {r, a, b};
    std::vector<FailedPatrolRecord> block;
    for (std::size_t i = 0; i < checkpoints.size(); ++i) {
        if (int(block.size()) >= kFailedPatrolBlockLimit) {
            continue;
        }
        const int times = i < 3 ? repeats[i] : 1;
        if (times <= 0) {
            continue;
        }
        const FailedPatrolRecord rec = failedPatrolRecord(checkpoints[i].id, stamp);
        for (int n = 0; n < times; ++n) {
            block.push_back(rec);
        }
    }
    return block;
}

FailedPatrolOutcome programFailedPatrol(const FailedPatrolRequest& request, TSiteStore& store,
                                        TActivityLog& log, const TLanguageTable& texts,
                                        const Clock& clock) {
    using Kind = FailedPatrolOutcome::Kind;
    const QString round = request.roundTime.size() < 2 ? QStringLiteral("015") : request.roundTime;
    const std::optional<int> roundValue = fieldNumber(round);
    if (!roundValue || *roundValue % 15 != 0) {
        return failure(Kind::RoundNotInSteps, texts.text(kTextRoundSteps), round);
    }
    QString bad;
    const std::optional<Repetitions> rep = repetitionsFor(request, *roundValue, bad);
    if (!rep) {
        return failure(Kind::InvalidValue, conversionMessage(bad), round);
    }
    if (!textfile::exists(store.checkpointListPath(request.site))) {
        return failure(Kind::NoCheckpointList,
                       texts.text(kTextNoCheckpoints) + QStringLiteral(" \"") + request.site + u'"',
                       round);
    }
    const std::vector<TCheckpoint> checkpoints = store.readCheckpointList(request.site).checkpoints;
    if (const std::optional<QString> id = unrecordableId(checkpoints, *rep)) {
        return failure(Kind::InvalidValue, conversionMessage(*id), round);
    }
    log.append(request.site, logLine(request, round));
    FailedPatrolOutcome out;
    out.roundTime = round;
    out.block =
        buildFailedPatrolBlock(checkpoints, rep->r, rep->a, rep->b, failedPatrolStamp(clock.now()));
    return out;
}

}  // namespace dorodure
