#include "startup_checks.h"

#include "clock.h"
#include "file_error.h"
#include "text_file.h"

#include <QCryptographicHash>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTimer>

namespace dorodure {

namespace {

constexpr int kCheckIntervalDays = 31;
constexpr int kMaxEntryLines = 100;

bool checkedRecently(const QString& tempPath, const Clock& clock) {
    QFileInfo info(tempPath);
    if (!info.isFile()) {
        return false;
    }
    const qint64 ageSecs = info.lastModified().secsTo(clock.now());
    return ageSecs / 86400 < kCheckIntervalDays;
}

// Reads the check file's entries after line 2 and decides the verdict.
struct EntryVerdict {
    bool refused = false;
    QString reasons = QStringLiteral("At Start");
};

EntryVerdict judgeEntries(const QStringList& lines, const VersionCheckInput& input,
                          QStringList& memo) {
    EntryVerdict v;
    QString last = lines.value(1);
    for (int read = 0, next = 2; last != QLatin1String("end") && read < kMaxEntryLines; ++read) {
        last = lines.value(next++);
        memo << QStringLiteral("linex : ") + last;
        if (last == QLatin1String("All")) {
            v.refused = false;
            v.reasons = QStringLiteral("All");
        }
        if (last == input.userLanguage) {
            v.refused = true;
            v.reasons += QStringLiteral("local: ") + last;
        }
        if (last == input.programVersion) {
            v.refused = true;
            v.reasons += QStringLiteral("Ver: ") + last;
        }
    }
    return v;
}

}  // namespace

bool NetworkCheckFileFetcher::fetch(const QString& url, const QString& destinationPath) {
    QNetworkAccessManager manager;
    QNetworkRequest request{QUrl(url)};
    request.setTransferTimeout(timeoutMs_);
    QNetworkReply* reply = manager.get(request);
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer::singleShot(timeoutMs_ + 1000, &loop, &QEventLoop::quit);
    loop.exec();
    const bool ok = reply->isFinished() && reply->error() == QNetworkReply::NoError;
    const QByteArray body = ok ? reply->readAll() : QByteArray();
    reply->abort();
    reply->deleteLater();
    if (!ok) {
        return false;
    }
    try {
        textfile::writeBytesAtomic(destinationPath, body);
        return true;
    } catch (const FileError&) {
        return false;
    }
}

QString userLanguageName() {
    const QString name = QLocale::languageToString(QLocale::system().language());
    return name.isEmpty() || QLocale::system().language() == QLocale::C ? QStringLiteral("English")
                                                                        : name;
}

QString systemLanguageName() {
    const QLocale locale = QLocale::system();
    return QLocale::languageToString(locale.language()) + QStringLiteral(" (") +
           QLocale::territoryToString(locale.territory()) + QLatin1Char(')');
}

VersionCheckOutcome runVersionCheck(const VersionCheckInput& input, const Clock& clock,
                                    CheckFileFetcher& fetcher) {
    VersionCheckOutcome out;
    const QString tempPath = textfile::join(input.dataFolder, QStringLiteral("temp"));
    if (checkedRecently(tempPath, clock)) {
        return out;
    }
    out.memoLines << input.systemLanguage << QStringLiteral("Local : ") + input.userLanguage;
    if (!fetcher.fetch(input.checkFileUrl, tempPath)) {
        out.verdict = VersionCheckOutcome::Verdict::FetchFailed;
        out.message =
            QStringLiteral("Could not connect to the Internet to check for the latest version ");
        return out;
    }
    out.memoLines << QStringLiteral("we got the check file from the inet");
    const QStringList lines = textfile::readLines(tempPath);
    out.memoLines << QStringLiteral("line1 : ") + lines.value(0)
                  << QStringLiteral("line2 : ") + lines.value(1);
    const EntryVerdict v = judgeEntries(lines, input, out.memoLines);
    if (!v.refused) {
        out.verdict = VersionCheckOutcome::Verdict::Allowed;
        return out;
    }
    QFile::remove(tempPath);
    out.verdict = VersionCheckOutcome::Verdict::Refused;
    out.message = QStringLiteral("Sorry Somthing bad happend error 400, ") + input.userLanguage +
                  QStringLiteral(", ") + input.programVersion + QStringLiteral(", ") + v.reasons;
    return out;
}

QString md5OfFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw FileError(QStringLiteral("Cannot open \"%1\": %2").arg(path, file.errorString()));
    }
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!hash.addData(&file)) {
        throw FileError(QStringLiteral("Cannot read \"%1\"").arg(path));
    }
    return QString::fromLatin1(hash.result().toHex().toUpper());
}

namespace {

IntegrityOutcome listDigests(const QString& dataFolder, const std::vector<VitalFile>& files) {
    QStringList lines{QStringLiteral("Filename,Md5Checksum,WhatIHave")};
    for (const VitalFile& f : files) {
        const QString path = textfile::join(dataFolder, f.name);
        const QString found = textfile::exists(path) ? md5OfFile(path) : QString();
        lines << f.name + QLatin1Char(',') + found + QLatin1Char(',') + f.md5;
    }
    textfile::writeLinesAtomic(textfile::join(dataFolder, QStringLiteral("nomd5.txt")), lines);
    return {};
}

}  // namespace

IntegrityOutcome runIntegrityCheck(const QString& dataFolder, const std::vector<VitalFile>& files,
                                   const std::function<void()>& repaint) {
    IntegrityOutcome out;
    try {
        if (textfile::exists(textfile::join(dataFolder, QStringLiteral("nomd5.txt")))) {
            return listDigests(dataFolder, files);
        }
        for (const VitalFile& f : files) {
            const QString path = textfile::join(dataFolder, f.name);
            if (!textfile::exists(path)) {
                out.messages << f.name +
                                    QStringLiteral(" is missing, Please reinstall the application");
                out.mayContinue = false;
            } else if (!f.md5.isEmpty()) {
                const QString digest = md5OfFile(path);
                if (digest != f.md5) {
                    out.messages
                        << f.name +
                               QStringLiteral(
                                   " appears to be corrupt, Please reinstall the application") +
                               QLatin1Char('\r') + digest;
                    out.mayContinue = false;
                }
            }
            if (repaint) {
                repaint();
            }
        }
        return out;
    } catch (const FileError&) {
        // A file that exists but cannot be read: stop checking at once.
        out.mayContinue = false;
        out.messages << QStringLiteral(
            "Files Vital to Dorodure operation are corrupt or missing\r"
            "Please re-install the application");
        return out;
    }
}

}  // namespace dorodure
