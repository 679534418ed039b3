#include "preferences.h"

#include "shell/activity_log.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "shell/text_file.h"

#include <QDir>
#include <QFileInfo>

#include <utility>
#include <vector>

namespace dorodure {

namespace {

// One setting to change: its key line and its activity-log entry.
struct Change {
    QString key;
    QString value;
    QString logText;
};

struct CheckOption {
    const char* key;
    const char* logText;
    bool SettingsValues::*field;
};

constexpr std::array<CheckOption, 8> kCheckOptions = {{
    {"UpdateDateTimeAutomatically", "Update Date Time Automatically Changed to ",
     &SettingsValues::updateDateTimeAutomatically},
    {"UploadDorodureData", "Upload Dorodure Data Changed to ", &SettingsValues::uploadDorodureData},
    {"ClearDorodureMemory", "Clear Dorodure Memory Changed to ",
     &SettingsValues::clearDorodureMemory},
    {"GenerateFrequencyReport", "Generate Frequency Report Changed to ",
     &SettingsValues::generateFrequencyReport},
    {"OpenReportAfterProcessing", "Open Report After Processing Changed to ",
     &SettingsValues::openReportAfterProcessing},
    {"DiscardUnknownCheckpoints", "Discard Unknown Checkponts Changed to ",
     &SettingsValues::discardUnknownCheckpoints},
    {"RemoveDuplicatePoints", "Remove Duplicate Points Changed to ",
     &SettingsValues::removeDuplicatePoints},
    {"SecureReports", "Secure Reports Changed to ", &SettingsValues::secureReports},
}};

QString enabledText(bool on) {
    return on ? QStringLiteral("Enabled") : QStringLiteral("Disabled");
}

bool isNight(const SettingsValues& v) {
    return v.dayOrNight == QLatin1String("Night");
}

void addCheckChanges(const SettingsValues& v, const PreferenceChoices& c,
                     std::vector<Change>& out) {
    for (std::size_t i = 0; i < kCheckOptions.size(); ++i) {
        const CheckOption& opt = kCheckOptions[i];
        if (c.checks[i] != v.*opt.field) {
            out.push_back({QString::fromLatin1(opt.key),
                           c.checks[i] ? QStringLiteral("T") : QStringLiteral("F"),
                           QString::fromLatin1(opt.logText) + enabledText(c.checks[i])});
        }
    }
}

void addTextChanges(const SettingsValues& v, const PreferenceChoices& c, std::vector<Change>& out) {
    if (c.reportHeader != v.reportHeader) {
        out.push_back({QStringLiteral("ReportHeader"), c.reportHeader,
                       QStringLiteral("ReportHeader Changed to ") + c.reportHeader});
    }
    if (c.fileType != v.fileType) {
        out.push_back({QStringLiteral("filetype"), c.fileType,
                       QStringLiteral("Filetype Changed to ") + c.fileType});
    }
}

void addReportChanges(const SettingsValues& v, const ReportDefaultChoices& r,
                      std::vector<Change>& out) {
    if (r.siteIndex >= 0 && r.siteIndex != v.defaultSite) {
        const QString n = QString::number(r.siteIndex);
        out.push_back({QStringLiteral("DefaultSite"), n,
                       QStringLiteral("Default report site changed to ") + n});
    }
    if (r.reportKind != v.defaultReport) {
        const QString n = QString::number(r.reportKind);
        out.push_back({QStringLiteral("DefaultReport"), n,
                       QStringLiteral("Default report type changed to ") + n});
    }
    if (r.nightShift != isNight(v)) {
        out.push_back({QStringLiteral("DayorNight"),
                       r.nightShift ? QStringLiteral("Night") : QStringLiteral("Day"),
                       QStringLiteral("Default report Day or Night changed to ") +
                           enabledText(r.nightShift)});
    }
}

// The language file newly chosen, or "" when the choice keeps the current one.
QString chosenLanguageFile(const SettingsValues& v, const PreferenceChoices& c) {
    if (!c.language) {
        return {};
    }
    const QString file = *c.language + QStringLiteral(".lng");
    return file == v.languageFile ? QString() : file;
}

}  // namespace

PreferenceChoices choicesFromSettings(const TSettings& settings) {
    const SettingsValues v = settings.values();
    PreferenceChoices c;
    for (std::size_t i = 0; i < kCheckOptions.size(); ++i) {
        c.checks[i] = v.*kCheckOptions[i].field;
    }
    c.reportHeader = v.reportHeader;
    c.fileType = v.fileType;
    c.language = QFileInfo(v.languageFile).completeBaseName();
    return c;
}

QStringList languageNames(const QString& dataFolder) {
    QStringList names;
    const QStringList files =
        QDir(dataFolder).entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name);
    for (const QString& file : files) {
        if (TLanguageTable::countLines(textfile::join(dataFolder, file)) ==
            TLanguageTable::kFileLines) {
            names << QFileInfo(file).completeBaseName();
        }
    }
    return names;
}

PreferencesOutcome savePreferences(TSettings& settings, TActivityLog& log, TLanguageTable& texts,
                                   const QString& dataFolder, const PreferenceChoices& choices,
                                   const std::optional<ReportDefaultChoices>& report) {
    const SettingsValues v = settings.values();
    std::vector<Change> changes;
    addCheckChanges(v, choices, changes);
    addTextChanges(v, choices, changes);
    if (report) {
        addReportChanges(v, *report, changes);
    }
    const QString language = chosenLanguageFile(v, choices);
    if (!language.isEmpty()) {
        changes.push_back({QStringLiteral("LanguageFile"), language,
                           QStringLiteral("Language file Changed to ") + language});
    }
    PreferencesOutcome outcome;
    if (changes.empty()) {
        // Values changed in memory only (a report's "Create PDF report") end here.
        settings.load();
        return outcome;
    }
    std::vector<std::pair<QString, QString>> lines;
    for (const Change& c : changes) {
        lines.emplace_back(c.key, c.value);
    }
    settings.writeKeys(lines);
    for (const Change& c : changes) {
        log.append(QStringLiteral("All"), c.logText);
    }
    settings.load();
    outcome.changedKeys = int(changes.size());
    if (!language.isEmpty()) {
        outcome.languageLoadMessage = texts.loadLanguageFile(textfile::join(dataFolder, language));
    }
    return outcome;
}

}  // namespace dorodure
