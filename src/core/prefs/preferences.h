#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

namespace dorodure {

class TActivityLog;
class TLanguageTable;
class TSettings;

// The state of the Preferences window's controls when OK is pressed.
struct PreferenceChoices {
    // CheckBox1 to CheckBox8: UpdateDateTimeAutomatically, UploadDorodureData,
    // ClearDorodureMemory, GenerateFrequencyReport, OpenReportAfterProcessing,
    // DiscardUnknownCheckpoints, RemoveDuplicatePoints, SecureReports.
    std::array<bool, 8> checks{};
    QString reportHeader;  // Edit1
    QString fileType;      // ComboBox1's text
    // The selected language's name without ".lng"; nullopt when none is selected.
    std::optional<QString> language;
};

// The Reports window's choices that become the defaults of the next start.
struct ReportDefaultChoices {
    int siteIndex = -1;       // the selected site; -1 when none is selected
    int reportKind = 3;       // 1 by download, 2 clocking list, 3 overview
    bool nightShift = false;  // "Overview report night shift" checked
};

struct PreferencesOutcome {
    int changedKeys = 0;
    // Set when another language file was loaded; empty text means it loaded,
    // any other text is the loader's "corupt" message.
    std::optional<QString> languageLoadMessage;
};

// The choices the window shows for the settings in memory.
PreferenceChoices choicesFromSettings(const TSettings& settings);

// The names (without ".lng") of the data folder's language files of exactly
// 351 lines, in the order of the folder listing.
QStringList languageNames(const QString& dataFolder);

// The OK action of Preferences, also run when the Reports window loses
// activation. Every setting whose value differs from the settings in memory is
// set in one rewrite of "Dorodure.ini" (its line replaced in place, or
// appended); then each change is recorded in the activity log under "All"
// with its text ("Generate Frequency Report Changed to Disabled", ...), the
// settings are read again from the file, and a newly chosen language file is
// loaded into the table at once. Without changes nothing is written or
// logged, and the settings are still read again (values changed in memory
// only go back to the file's). Throws FileError when the settings file cannot be read or written;
// then nothing is logged or reloaded.
PreferencesOutcome savePreferences(TSettings& settings, TActivityLog& log, TLanguageTable& texts,
                                   const QString& dataFolder, const PreferenceChoices& choices,
                                   const std::optional<ReportDefaultChoices>& report);

}  // namespace dorodure
