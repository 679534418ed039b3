// Reading, writing and extending a site's checkpoint list "checkpt.lst".
#include "site_store.h"

#include "shell/file_error.h"
#include "shell/text_file.h"

#include <array>

namespace dorodure {

namespace {

constexpr int kSettingsLines = 18;
constexpr int kLabelWidth = 14;
// A checkpoint line: id, blank, flag, blank and at least one name character.
constexpr int kMinCheckpointLine = 10;
const std::array<const char*, 7> kDays = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};

// The lines of a list as the readers walk them: past the end every line is
// empty, which is what a missing line reads as.
class LineCursor {
  public:
    explicit LineCursor(QStringList lines) : lines_(std::move(lines)) {}
    QString at(qsizetype n) const { return n < lines_.size() ? lines_[n] : QString(); }
    qsizetype size() const { return lines_.size(); }

  private:
    QStringList lines_;
};

QString label(const QString& text) {
    return text.leftJustified(kLabelWidth - 2) + QStringLiteral("= ");
}

QStringList settingsLabels() {
    QStringList labels{label(QStringLiteral("Round Time")), label(QStringLiteral("Rest Time")),
                       label(QStringLiteral("Num Batons")), label(QStringLiteral("FP Type"))};
    for (const char* day : kDays) {
        labels << label(QStringLiteral("ST ") + QLatin1String(day))
               << label(QStringLiteral("FT ") + QLatin1String(day));
    }
    return labels;
}

// The value of a settings line: from column 15 up to the first blank; a short
// line or an empty value reads as "0".
QString settingValue(const QString& line) {
    if (line.size() <= kLabelWidth) {
        return QStringLiteral("0");
    }
    QString value = line.mid(kLabelWidth);
    const qsizetype blank = value.indexOf(u' ');
    if (blank >= 0) {
        value.truncate(blank);
    }
    return value.isEmpty() ? QStringLiteral("0") : value;
}

QString padded(QString value, int width) {
    while (value.size() < width) {
        value.prepend(u'0');
    }
    return value;
}

QString normalisedTime(const QString& value) {
    QString time = padded(value, 5);
    time[2] = u'h';
    return time;
}

TSiteSettings parseSettings(const LineCursor& lines, qsizetype first) {
    TSiteSettings s;
    auto value = [&](int n) { return settingValue(lines.at(first + n)); };
    s.roundTime = padded(value(0), 3);
    s.restTime = padded(value(1), 3);
    s.numBatons = value(2).left(1);
    const int type = value(3).at(0).digitValue();
    s.failedPatrolType = type < 0 ? 0 : type;
    for (int day = 0; day < 7; ++day) {
        s.startTimes[std::size_t(day)] = normalisedTime(value(4 + 2 * day));
        s.finishTimes[std::size_t(day)] = normalisedTime(value(5 + 2 * day));
    }
    return s;
}

QStringList settingsLines(const TSiteSettings& s) {
    QStringList values{s.roundTime, s.restTime, s.numBatons, QString::number(s.failedPatrolType)};
    for (std::size_t day = 0; day < 7; ++day) {
        values << s.startTimes[day] << s.finishTimes[day];
    }
    const QStringList labels = settingsLabels();
    QStringList lines;
    for (int i = 0; i < kSettingsLines; ++i) {
        lines << labels[i] + values[i];
    }
    return lines;
}

// Text that goes on one line of the list: line breaks would split it.
QString oneLine(QString text) {
    return text.replace(u'\r', u' ').replace(u'\n', u' ');
}

// "Id Flag LocationName". A short id is padded so the columns stay in place,
// and an empty name becomes a blank: a 9-character line would end the
// checkpoint lines and push every later line into the settings.
QString checkpointLine(const QString& id, QChar flag, const QString& name) {
    const QString location = name.isEmpty() ? QStringLiteral(" ") : oneLine(name);
    return oneLine(id).leftJustified(6, u' ', true) + u' ' + flag + u' ' + location;
}

}  // namespace

CheckpointList TSiteStore::readCheckpointList(const QString& site) {
    const QString path = checkpointListPath(site);
    if (!textfile::exists(path)) {
        textfile::writeLinesAtomic(path, {QStringLiteral("//Checkpoint list for ") + site,
                                          QString(), QString(), QStringLiteral("//End of File")});
    }
    const LineCursor lines(textfile::readLines(path));
    CheckpointList result;
    qsizetype n = 2;
    for (; lines.at(n).size() >= kMinCheckpointLine; ++n) {
        const QString line = lines.at(n);
        result.checkpoints.push_back(TCheckpoint{line.left(6), line.at(7), line.mid(9)});
    }
    result.settings = parseSettings(lines, n + 1);
    return result;
}

void TSiteStore::writeCheckpointList(const QString& site,
                                     const std::vector<TCheckpoint>& checkpoints,
                                     const TSiteSettings& settings) {
    if (site.isEmpty()) {
        return;
    }
    QStringList lines{QStringLiteral("//Checkpoint list for ") + site, QString()};
    for (const TCheckpoint& c : checkpoints) {
        lines << checkpointLine(c.id, c.flag, c.locationName);
    }
    lines << QString() << settingsLines(settings) << QString() << QStringLiteral("//End of File");
    textfile::writeLinesAtomic(checkpointListPath(site), lines);
}

void TSiteStore::insertCheckpoint(const QString& site, const QString& id,
                                  const QString& locationName) {
    const QString path = checkpointListPath(site);
    if (!textfile::exists(path)) {
        ensureSiteFiles(indexOf(site));
    }
    const LineCursor in(textfile::readLines(path));
    QStringList out{in.at(0), in.at(1)};
    qsizetype n = 2;
    QString last = in.at(n);
    if (!last.isEmpty()) {
        out << last;
        // Copies the checkpoint lines and consumes the empty line after them.
        while (last.size() >= kMinCheckpointLine) {
            last = in.at(++n);
            if (!last.isEmpty()) {
                out << last;
            }
        }
    }
    out << checkpointLine(id, u'=', locationName) << QString();
    for (++n; n < in.size(); ++n) {
        out << in.at(n);
    }
    // The scratch copy is for the eye only; the list itself is replaced atomically.
    const QString scratch = textfile::join(dataFolder_, QStringLiteral("checkpt.$$$"));
    textfile::createEmpty(scratch);
    textfile::appendLines(scratch, out);
    textfile::writeLinesAtomic(path, out);
}

}  // namespace dorodure
