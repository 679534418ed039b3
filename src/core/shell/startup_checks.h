#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

namespace dorodure {

class Clock;

// The program's release, as the checks and the reports print it.
inline constexpr const char* kProgramVersion = "1.04s";
inline constexpr const char* kShortVersion = "1.04";
inline constexpr const char* kBuildDate = "24/04/2023";

// Downloads one address into one file; reports only success or failure.
class CheckFileFetcher {
  public:
    virtual ~CheckFileFetcher() = default;
    virtual bool fetch(const QString& url, const QString& destinationPath) = 0;
};

// The fetcher of the real program: an HTTP(S) download with a time-out.
class NetworkCheckFileFetcher final : public CheckFileFetcher {
  public:
    explicit NetworkCheckFileFetcher(int timeoutMs = 15000) : timeoutMs_(timeoutMs) {}
    bool fetch(const QString& url, const QString& destinationPath) override;

  private:
    int timeoutMs_;
};

// The user's language name in English ("English" when it cannot be read) and
// the system's default language name, e.g. "English (United States)".
QString userLanguageName();
QString systemLanguageName();

struct VersionCheckInput {
    QString dataFolder;
    QString checkFileUrl;
    QString userLanguage;    // e.g. "English"
    QString systemLanguage;  // e.g. "English (United States)"
    QString programVersion = QString::fromLatin1(kProgramVersion);
};

struct VersionCheckOutcome {
    enum class Verdict { Skipped, FetchFailed, Allowed, Refused };
    Verdict verdict = Verdict::Skipped;
    QString message;        // the message box text, empty when none is shown
    QStringList memoLines;  // lines for the diagnostic text box
};

// At most once every 31 days, fetches the check file into "temp" and decides
// whether this release and the user's language may run. A refused verdict
// deletes "temp" so that the next start checks again.
VersionCheckOutcome runVersionCheck(const VersionCheckInput& input, const Clock& clock,
                                    CheckFileFetcher& fetcher);

// One file delivered with the program; an empty digest means "must exist".
struct VitalFile {
    QString name;
    QString md5;  // 32 upper-case hex digits, or empty
};

struct IntegrityOutcome {
    bool mayContinue = true;
    QStringList messages;  // one message box each, in order
};

// The MD5 digest of a file as 32 upper-case hex digits; throws FileError.
QString md5OfFile(const QString& path);

// Checks the vital files of the data folder. With "nomd5.txt" present it only
// lists the digests into that file ("Filename,Md5Checksum,WhatIHave").
IntegrityOutcome runIntegrityCheck(const QString& dataFolder, const std::vector<VitalFile>& files,
                                   const std::function<void()>& repaint = {});

}  // namespace dorodure
