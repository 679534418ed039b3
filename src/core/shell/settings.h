#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace dorodure {

// The values of "Dorodure.ini" with their defaults.
struct SettingsValues {
    bool updateDateTimeAutomatically = true;
    bool uploadDorodureData = true;
    bool clearDorodureMemory = true;
    bool generateFrequencyReport = true;
    bool openReportAfterProcessing = true;
    bool discardUnknownCheckpoints = false;
    bool removeDuplicatePoints = true;
    bool secureReports = true;
    QString reportHeader = QStringLiteral("Dorodure");
    QString reportFooter;  // default: kDefaultWebAddress
    QString aboutWeb;      // default: kDefaultWebAddress
    QString languageFile = QStringLiteral("English.lng");
    int commPort = 0;
    QString dayOrNight = QStringLiteral("Night");
    int defaultReport = 3;
    int defaultSite = 0;
    QString fileType = QStringLiteral("txt");
    // Not read by the original keys: extra keys of this build live in extraKeys.
};

extern const char* const kDefaultWebAddress;

// The settings file "Dorodure.ini" of the data folder and its values in memory.
// Values are read once by load(); the communications thread reads them through
// values() while windows may change them, so access is guarded.
class TSettings {
  public:
    using Trace = std::function<void(const QString&)>;

    explicit TSettings(QString iniPath);

    // Creates the file empty when missing, sets every default, then takes each
    // key present in the file (case-insensitive key, first line wins, booleans
    // true only for "T"). Traces "Start loadsetup", "finished created Dorodure
    // ini", "Set defaults", "finished ini file load". Throws FileError.
    void load(const Trace& trace = {});

    SettingsValues values() const;
    void setValues(const SettingsValues& v);

    // The raw value of any key as the file held it at load(), or def.
    QString rawValue(const QString& key, const QString& def = {}) const;

    // Replaces the key's line in place, or appends "key=value"; all other
    // lines keep their order. Writes are serialised and atomic. Throws FileError.
    void writeKey(const QString& key, const QString& value);
    // The same for several keys in one rewrite.
    void writeKeys(const std::vector<std::pair<QString, QString>>& keyValues);

    QString path() const { return path_; }

    // Applies key=value assignments to a list of lines (shared by writers).
    static void setLine(QStringList& lines, const QString& key, const QString& value);

  private:
    QString path_;
    mutable std::mutex mutex_;
    SettingsValues values_;
    QStringList loadedLines_;
};

}  // namespace dorodure
