#include "settings.h"

#include "text_file.h"

#include <QFileInfo>

#include <map>
#include <memory>
#include <optional>

namespace dorodure {

const char* const kDefaultWebAddress = "https://www.dorodure.example";

namespace {

struct BoolKey {
    const char* name;
    bool SettingsValues::*field;
};
struct TextKey {
    const char* name;
    QString SettingsValues::*field;
};
struct IntKey {
    const char* name;
    int SettingsValues::*field;
};

constexpr BoolKey kBoolKeys[] = {
    {"UpdateDateTimeAutomatically", &SettingsValues::updateDateTimeAutomatically},
    {"UploadDorodureData", &SettingsValues::uploadDorodureData},
    {"ClearDorodureMemory", &SettingsValues::clearDorodureMemory},
    {"GenerateFrequencyReport", &SettingsValues::generateFrequencyReport},
    {"OpenReportAfterProcessing", &SettingsValues::openReportAfterProcessing},
    {"DiscardUnknownCheckpoints", &SettingsValues::discardUnknownCheckpoints},
    {"RemoveDuplicatePoints", &SettingsValues::removeDuplicatePoints},
    {"SecureReports", &SettingsValues::secureReports},
};

constexpr TextKey kTextKeys[] = {
    {"ReportHeader", &SettingsValues::reportHeader},
    {"ReportFooter", &SettingsValues::reportFooter},
    {"AboutWeb", &SettingsValues::aboutWeb},
    {"LanguageFile", &SettingsValues::languageFile},
    {"DayorNight", &SettingsValues::dayOrNight},
    {"filetype", &SettingsValues::fileType},
};

constexpr IntKey kIntKeys[] = {
    {"CommPort", &SettingsValues::commPort},
    {"DefaultReport", &SettingsValues::defaultReport},
    {"DefaultSite", &SettingsValues::defaultSite},
};

void traceIf(const TSettings::Trace& trace, const char* message) {
    if (trace) {
        trace(QString::fromLatin1(message));
    }
}

// The key of a line is the text before its first "="; a line without "=" has
// no key.
bool lineHasKey(const QString& line, const QString& key) {
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq >= 0 && QStringView(line).left(eq).compare(key, Qt::CaseInsensitive) == 0;
}

qsizetype findKey(const QStringList& lines, const QString& key) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lineHasKey(lines[i], key)) {
            return i;
        }
    }
    return -1;
}

std::optional<QString> lookup(const QStringList& lines, const QString& key) {
    const qsizetype i = findKey(lines, key);
    if (i < 0) {
        return std::nullopt;
    }
    return lines[i].mid(lines[i].indexOf(QLatin1Char('=')) + 1);
}

SettingsValues parse(const QStringList& lines) {
    SettingsValues v;
    for (const BoolKey& k : kBoolKeys) {
        if (const auto value = lookup(lines, QString::fromLatin1(k.name))) {
            v.*k.field = *value == QLatin1String("T");
        }
    }
    for (const TextKey& k : kTextKeys) {
        if (const auto value = lookup(lines, QString::fromLatin1(k.name))) {
            v.*k.field = *value;
        }
    }
    for (const IntKey& k : kIntKeys) {
        bool ok = false;
        const int number =
            lookup(lines, QString::fromLatin1(k.name)).value_or(QString()).toInt(&ok, 10);
        if (ok) {
            v.*k.field = number;
        }
    }
    return v;
}

// One lock per settings file for the whole process, so that the window thread
// and the communications thread never interleave their rewrites of a file.
std::mutex& fileMutexFor(const QString& path) {
    static std::mutex registryMutex;
    static std::map<QString, std::unique_ptr<std::mutex>> mutexes;
    std::lock_guard lock(registryMutex);
    auto& slot = mutexes[QFileInfo(path).absoluteFilePath()];
    if (!slot) {
        slot = std::make_unique<std::mutex>();
    }
    return *slot;
}

}  // namespace

TSettings::TSettings(QString iniPath) : path_(std::move(iniPath)) {}

void TSettings::load(const Trace& trace) {
    traceIf(trace, "Start loadsetup");
    if (!textfile::exists(path_)) {
        std::lock_guard fileLock(fileMutexFor(path_));
        if (!textfile::exists(path_)) {
            textfile::createEmpty(path_);
        }
    }
    traceIf(trace, "finished created Dorodure ini");
    setValues(SettingsValues{});
    traceIf(trace, "Set defaults");
    const QStringList lines = textfile::readLines(path_);
    const SettingsValues parsed = parse(lines);
    {
        std::lock_guard lock(mutex_);
        values_ = parsed;
        loadedLines_ = lines;
    }
    traceIf(trace, "finished ini file load");
}

SettingsValues TSettings::values() const {
    std::lock_guard lock(mutex_);
    return values_;
}

void TSettings::setValues(const SettingsValues& v) {
    std::lock_guard lock(mutex_);
    values_ = v;
}

QString TSettings::rawValue(const QString& key, const QString& def) const {
    std::lock_guard lock(mutex_);
    return lookup(loadedLines_, key).value_or(def);
}

void TSettings::writeKey(const QString& key, const QString& value) {
    writeKeys({{key, value}});
}

void TSettings::writeKeys(const std::vector<std::pair<QString, QString>>& keyValues) {
    std::lock_guard fileLock(fileMutexFor(path_));
    QStringList lines = textfile::readLinesIfExists(path_);
    for (const auto& [key, value] : keyValues) {
        setLine(lines, key, value);
    }
    textfile::writeLinesAtomic(path_, lines);
}

void TSettings::setLine(QStringList& lines, const QString& key, const QString& value) {
    QString clean = value;
    clean.remove(QLatin1Char('\r'));
    clean.remove(QLatin1Char('\n'));
    const QString line = key + QLatin1Char('=') + clean;
    const qsizetype i = findKey(lines, key);
    if (i >= 0) {
        lines[i] = line;
    } else {
        lines.append(line);
    }
}

}  // namespace dorodure
