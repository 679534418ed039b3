#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <mutex>
#include <utility>
#include <vector>

namespace dorodure {

// The maker's web address: the default of ReportFooter and AboutWeb.
extern const char* const kDefaultWebAddress;

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
    QString reportFooter = QString::fromLatin1(kDefaultWebAddress);
    QString aboutWeb = QString::fromLatin1(kDefaultWebAddress);
    QString languageFile = QStringLiteral("English.lng");
    int commPort = 0;
    QString dayOrNight = QStringLiteral("Night");
    int defaultReport = 3;
    int defaultSite = 0;
    QString fileType = QStringLiteral("txt");
};

// The settings file "Dorodure.ini" of the data folder and its values in memory.
// Values are read once by load(); the communications thread reads them through
// values() while windows may change them, so access is guarded.
class TSettings {
  public:
    using Trace = std::function<void(const QString&)>;

    explicit TSettings(QString iniPath);

    // Creates the file empty when missing, sets every default, then takes each
    // key present in the file (case-insensitive key, first line wins, booleans
    // true only for "T", integers decimal: a value that is not a number keeps
    // the default). Traces "Start loadsetup", "finished created Dorodure
    // ini", "Set defaults", "finished ini file load". Throws FileError.
    void load(const Trace& trace = {});

    SettingsValues values() const;
    void setValues(const SettingsValues& v);

    // The raw value of any key as the file held it at load(), or def (for keys
    // that have no field in SettingsValues).
    QString rawValue(const QString& key, const QString& def = {}) const;

    // Replaces the first line of the key (any letter case) in place, or appends
    // "key=value"; all other lines keep their order. The values in memory are
    // not changed. Writes to one file are serialised across all TSettings
    // objects of the process, and the file is replaced atomically: on an
    // input/output error the old file stays and FileError is thrown.
    void writeKey(const QString& key, const QString& value);
    // The same for several keys in one rewrite.
    void writeKeys(const std::vector<std::pair<QString, QString>>& keyValues);

    QString path() const { return path_; }

    // Sets key=value in a list of lines as writeKey does. Line breaks in the
    // value are dropped so that a value can never add lines to the file.
    static void setLine(QStringList& lines, const QString& key, const QString& value);

  private:
    QString path_;
    mutable std::mutex mutex_;
    SettingsValues values_;
    QStringList loadedLines_;
};

}  // namespace dorodure
