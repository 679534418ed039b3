#include "link/sim/baton_file.h"

#include "link/sim/sim_bytes.h"
#include "shell/text_file.h"

#include <QRegularExpression>

#include <cmath>
#include <functional>
#include <map>

namespace dorodure::sim {

BatonFileError::BatonFileError(int lineNumber, const QString& message)
    : FileError(QStringLiteral("line %1: %2").arg(lineNumber).arg(message)), line_(lineNumber) {}

namespace {

// Parsing state: the script built so far and where record lines go.
struct Parser {
    StationScript script;
    int bank = -1;
    int line = 0;
    QStringList words;

    [[noreturn]] void fail(const QString& message) const { throw BatonFileError(line, message); }

    ScriptedBaton& baton() {
        if (script.batons.empty()) {
            fail(QStringLiteral("\"%1\" comes before any baton line").arg(words.front()));
        }
        return script.batons.back();
    }

    void needWords(int least, int most) const {
        if (words.size() < least || words.size() > most) {
            fail(QStringLiteral("wrong number of words for \"%1\"").arg(words.front()));
        }
    }

    qint64 number(int i, qint64 low, qint64 high, int base = 10) const {
        bool ok = false;
        const qint64 v = words.value(i).toLongLong(&ok, base);
        if (!ok || v < low || v > high) {
            fail(
                QStringLiteral("\"%1\" is not a number from %2 to %3")
                    .arg(words.value(i))
                    .arg(base == 16 ? QString::number(low, 16) : QString::number(low))
                    .arg(base == 16 ? QString::number(high, 16).toUpper() : QString::number(high)));
        }
        return v;
    }

    // Seconds, possibly with a fraction, as milliseconds.
    qint64 millis(int i) const {
        bool ok = false;
        const double s = words.value(i).toDouble(&ok);
        if (!ok || s < 0 || s > 1e7) {
            fail(QStringLiteral("\"%1\" is not a number of seconds").arg(words.value(i)));
        }
        return std::llround(s * 1000);
    }

    double rate(int i) const {
        bool ok = false;
        const double r = words.value(i).toDouble(&ok);
        if (!ok || r < 0 || r > 1) {
            fail(QStringLiteral("\"%1\" is not a rate from 0 to 1").arg(words.value(i)));
        }
        return r;
    }

    std::uint8_t code(int i) const {
        QString w = words.value(i);
        if (w.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
            w = w.mid(2);
        }
        bool ok = false;
        const uint v = w.toUInt(&ok, 16);
        if (!ok || v > 0xFF) {
            fail(QStringLiteral("\"%1\" is not a hex byte").arg(words.value(i)));
        }
        return static_cast<std::uint8_t>(v);
    }
};

void parseBaton(Parser& p) {
    if (p.words.size() < 2 || p.words[1].size() != 8 || p.words[1].toLatin1().size() != 8) {
        p.fail(QStringLiteral("a baton needs an id text of 8 characters"));
    }
    ScriptedBaton b;
    b.baton.idText = p.words[1].toLatin1();
    for (int i = 2; i < p.words.size(); i += 2) {
        const QString key = p.words[i];
        if (i + 1 >= p.words.size()) {
            p.fail(QStringLiteral("\"%1\" needs a value").arg(key));
        }
        const QString value = p.words[i + 1];
        if (key == QLatin1String("version")) {
            if (value.size() != 4) {
                p.fail(QStringLiteral("a version has 4 hex digits"));
            }
            b.baton.version = static_cast<std::uint16_t>(p.number(i + 1, 0, 0xFFFF, 16));
        } else if (key == QLatin1String("clock") && value == QLatin1String("bcd")) {
            b.baton.clockModel = ClockModel::Bcd;
        } else if (key == QLatin1String("clock") && value == QLatin1String("seconds")) {
            b.baton.clockModel = ClockModel::Seconds;
        } else if (key == QLatin1String("clock") && value == QLatin1String("unset")) {
            b.baton.clockUnset = true;
        } else if (key == QLatin1String("delay")) {
            b.baton.delay = static_cast<std::uint8_t>(p.number(i + 1, 0, 255));
        } else if (key == QLatin1String("offset")) {
            b.baton.clockOffsetSeconds = p.number(i + 1, -100000000, 100000000);
        } else {
            p.fail(QStringLiteral("unknown baton option \"%1 %2\"").arg(key, value));
        }
    }
    p.script.batons.push_back(b);
    p.bank = -1;
}

void parseRecord(Parser& p) {
    static const QRegularExpression id(QStringLiteral("^[0-9A-Fa-f]{6}$"));
    static const QRegularExpression hexByte(QStringLiteral("^[0-9A-Fa-f]{2}$"));
    if (p.words.size() < 5 || p.words.size() > 6 || !id.match(p.words[0]).hasMatch()) {
        p.fail(QStringLiteral("not a line of this file: \"%1\"").arg(p.words.join(' ')));
    }
    for (int i = 1; i < p.words.size(); ++i) {
        if (!hexByte.match(p.words[i]).hasMatch()) {
            p.fail(QStringLiteral("\"%1\" is not two hex digits").arg(p.words[i]));
        }
    }
    ScriptedBaton& b = p.baton();
    if (p.bank < 0) {
        p.fail(QStringLiteral("a record needs a bank line before it"));
    }
    BatonRecord r;
    r.buttonId = p.words[0].toUInt(nullptr, 16);
    r.month = p.code(1);
    r.day = p.code(2);
    r.hour = p.code(3);
    r.minute = p.code(4);
    r.spare = p.words.size() == 6 ? p.code(5) : 0;
    auto& records = b.baton.banks[p.bank / 2];
    if (static_cast<int>(records.size() + 2) * kPacketSize > kBankCapacity) {
        p.fail(QStringLiteral("bank %1 is full").arg(p.bank));
    }
    records.push_back(r);
}

void parseFault(Parser& p) {
    p.needWords(2, 5);
    FaultPlan& f = p.baton().faults;
    const QString kind = p.words[1];
    if (kind == QLatin1String("silent")) {
        f.silent = true;
    } else if (kind == QLatin1String("remove-after-packet")) {
        f.removeAfterPacket = static_cast<int>(p.number(2, 1, 100000));
    } else if (kind == QLatin1String("remove-after-bytes")) {
        f.removeAfterBytes = static_cast<int>(p.number(2, 1, 10000000));
    } else if (kind == QLatin1String("unplug-after-packet")) {
        f.unplugAfterPacket = static_cast<int>(p.number(2, 1, 100000));
        if (p.words.size() == 5 && p.words[3] == QLatin1String("replug")) {
            f.replugAfterMs = static_cast<int>(p.millis(4));
        } else if (p.words.size() != 3) {
            p.fail(QStringLiteral("expected \"replug <seconds>\""));
        }
    } else if (kind == QLatin1String("crc")) {
        f.corrupt.push_back(
            CorruptReply{p.code(2), static_cast<int>(p.number(3, 1, 100000)),
                         p.words.size() > 4 ? static_cast<int>(p.number(4, 1, 100000)) : 1});
    } else if (kind == QLatin1String("refuse")) {
        f.refuse.push_back(RefuseCommand{p.code(2), static_cast<int>(p.number(3, 1, 100000))});
    } else if (kind == QLatin1String("noise")) {
        f.noiseRate = p.rate(2);
    } else if (kind == QLatin1String("loss")) {
        f.lossRate = p.rate(2);
    } else if (kind == QLatin1String("lose-byte")) {
        f.lostBytes.insert(static_cast<int>(p.number(2, 1, 10000000)));
    } else {
        p.fail(QStringLiteral("unknown fault \"%1\"").arg(kind));
    }
}

void parseRemoval(Parser& p) {
    Removal& r = p.baton().removal;
    const QString what = p.words.value(1);
    if (p.words[0] == QLatin1String("stay") && what == QLatin1String("forever")) {
        r.rule = Removal::Rule::Manual;
    } else if (p.words[0] == QLatin1String("stay")) {
        p.needWords(2, 2);
        r.rule = Removal::Rule::Stay;
        r.stayMs = p.millis(1);
    } else if (what == QLatin1String("after-upload")) {
        p.needWords(2, 3);
        r.rule = Removal::Rule::AfterUpload;
        r.lingerMs = p.words.size() == 3 ? p.millis(2) : 3000;
    } else {
        p.fail(QStringLiteral("expected \"remove after-upload [<seconds>]\""));
    }
}

void parseStation(Parser& p) {
    const QString key = p.words[0];
    if (key == QLatin1String("timing")) {
        p.needWords(2, 2);
        if (p.words[1] != QLatin1String("real") && p.words[1] != QLatin1String("instant")) {
            p.fail(QStringLiteral("expected \"timing real\" or \"timing instant\""));
        }
        p.script.options.realByteTiming = p.words[1] == QLatin1String("real");
    } else if (key == QLatin1String("response")) {
        p.needWords(2, 2);
        p.script.options.responseDelayMs = p.number(1, 0, 10000);
    } else if (key == QLatin1String("echo")) {
        p.needWords(2, 2);
        static const std::map<QString, EchoMode> modes{
            {QStringLiteral("dtr"), EchoMode::DtrControlled},
            {QStringLiteral("always"), EchoMode::Always},
            {QStringLiteral("never"), EchoMode::Never}};
        if (!modes.contains(p.words[1])) {
            p.fail(QStringLiteral("expected \"echo dtr\", \"echo always\" or \"echo never\""));
        }
        p.script.options.echo = modes.at(p.words[1]);
    } else if (key == QLatin1String("button")) {
        static const QRegularExpression id(QStringLiteral("^[0-9A-Fa-f]{6}$"));
        if (!(p.words.size() == 2 || (p.words.size() == 4 && p.words[2] == QLatin1String("at"))) ||
            !id.match(p.words[1]).hasMatch()) {
            p.fail(QStringLiteral("expected \"button <6 hex digits> [at <seconds>]\""));
        }
        p.script.buttons.push_back(ScriptedButton{p.words[1].toUInt(nullptr, 16),
                                                  p.words.size() == 4 ? p.millis(3) : 500});
    }
}

void parseLine(Parser& p, const QDate& today) {
    const QString key = p.words[0];
    if (key == QLatin1String("baton")) {
        parseBaton(p);
    } else if (key == QLatin1String("bank")) {
        p.needWords(2, 2);
        p.baton();
        const qint64 bank = p.number(1, 0, 14);
        if (bank % 2 != 0) {
            p.fail(QStringLiteral("banks are even numbers 0 to 14"));
        }
        p.bank = static_cast<int>(bank);
    } else if (key == QLatin1String("fault")) {
        parseFault(p);
    } else if (key == QLatin1String("seed")) {
        p.needWords(2, 2);
        p.baton().faults.seed = static_cast<std::uint32_t>(p.number(1, 0, 0xFFFFFFFFLL));
    } else if (key == QLatin1String("remove") || key == QLatin1String("stay")) {
        parseRemoval(p);
    } else if (key == QLatin1String("wait")) {
        p.needWords(2, 2);
        p.baton().waitMs = p.millis(1);
    } else if (key == QLatin1String("demo")) {
        p.needWords(1, 1);
        const StationScript demo = demoScript(today);
        p.script.batons.insert(p.script.batons.end(), demo.batons.begin(), demo.batons.end());
        p.bank = -1;
    } else if (key == QLatin1String("timing") || key == QLatin1String("response") ||
               key == QLatin1String("echo") || key == QLatin1String("button")) {
        parseStation(p);
    } else {
        parseRecord(p);
    }
}

StationScript parseText(const QString& text, const QDate& today) {
    Parser p;
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        ++p.line;
        const QString content = raw.section(QLatin1Char('#'), 0, 0).trimmed();
        if (content.isEmpty()) {
            continue;
        }
        p.words = content.split(blanks);
        parseLine(p, today);
    }
    return p.script;
}

BatonRecord clocking(std::uint32_t id, const QDateTime& t) {
    return BatonRecord{id,
                       toBcd(t.date().month()),
                       toBcd(t.date().day()),
                       toBcd(t.time().hour()),
                       toBcd(t.time().minute()),
                       0};
}

}  // namespace

StationScript parseBatonFile(const QString& text, const QDate& today) {
    return parseText(text, today);
}

StationScript readBatonFile(const QString& pathOrDemo, const QDate& today) {
    if (pathOrDemo == QLatin1String("demo")) {
        return demoScript(today);
    }
    return parseText(textfile::readLines(pathOrDemo).join(QLatin1Char('\n')), today);
}

StationScript demoScript(const QDate& today) {
    ScriptedBaton b;
    b.baton.idText = "Ziru0123";
    b.baton.version = 0x1905;
    // Bank 2: the night before, a boot and rounds every two hours from 22:00,
    // each visiting the six checkpoints of the site in order.
    const QDateTime evening(today.addDays(-1), QTime(21, 55));
    auto& night = b.baton.banks[1];
    night.push_back(clocking(0x0FA500, evening));
    const int minutes[] = {0, 4, 9, 13, 18, 24};
    for (int round = 0; round < 4; ++round) {
        const QDateTime start = evening.addSecs(5 * 60 + round * 2 * 3600);
        for (int i = 0; i < 6; ++i) {
            night.push_back(clocking(0x0000A1 + i, start.addSecs(minutes[i] * 60 + round * 60)));
        }
    }
    // Bank 0: the early-morning round.
    const QDateTime morning(today, QTime(6, 0));
    for (int i = 0; i < 6; ++i) {
        b.baton.banks[0].push_back(clocking(0x0000A1 + i, morning.addSecs(minutes[i] * 60)));
    }
    StationScript script;
    script.batons.push_back(b);
    return script;
}

}  // namespace dorodure::sim
