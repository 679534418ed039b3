#include "system_check.h"

#include "language_table.h"
#include "settings.h"
#include "startup_checks.h"
#include "text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace dorodure {

const char* const kSystemCheckRefusal = "Sorry Somthing bad happend error 400";

namespace {

const QString kIndent = QStringLiteral("  ");
constexpr int kMaxEntryLines = 100;

QString withIndent(const QString& text) {
    return kIndent + text;
}

// Whether the check file's entries after line 2 refuse this release or the
// user's language: read until "end", the end of the file or 100 lines.
bool entriesRefuse(const QStringList& lines, const QString& language) {
    bool refused = false;
    const QString shortVersion = QString::fromLatin1(kShortVersion);
    for (qsizetype n = 2; n < lines.size() && n < 2 + kMaxEntryLines; ++n) {
        const QString& entry = lines[n];
        if (entry == QLatin1String("end")) {
            break;
        }
        if (entry == language || entry == shortVersion) {
            refused = true;
        }
        if (entry == QLatin1String("All")) {
            refused = false;
        }
    }
    return refused;
}

void releaseCheck(const SystemCheckInput& in, const TLanguageTable& t, CheckFileFetcher& fetcher,
                  SystemCheckResult& out) {
    out.lines << t.text(125);
    const QString temp = textfile::join(in.dataFolder, QStringLiteral("temp"));
    if (!fetcher.fetch(in.checkFileUrl, temp)) {
        out.lines << withIndent(t.text(129));
        return;
    }
    const QStringList lines = textfile::readLines(temp);
    out.checkFileFetched = true;
    if (lines.value(0) != QLatin1String(kBuildDate)) {
        out.newReleaseText = t.text(127) + u' ' + lines.value(1) + u' ' + t.text(128);
    } else {
        out.newReleaseText = t.text(126);
    }
    out.lines << withIndent(out.newReleaseText);
    const QString language =
        in.userLanguage.isEmpty() ? QStringLiteral("English") : in.userLanguage;
    out.refused = entriesRefuse(lines, language);
}

void writeTest(const SystemCheckInput& in, const TLanguageTable& t, SystemCheckResult& out) {
    out.lines << t.text(130);
    const QString path = textfile::join(in.dataFolder, QStringLiteral("test.txt"));
    QFile file(path);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
              file.write(textfile::encode(QStringLiteral("Dorodure Test\r\n"))) > 0;
    file.close();
    ok = QFile::remove(path) && ok;
    out.lines << withIndent(t.text(ok ? 131 : 132));
}

void languageFiles(const SystemCheckInput& in, const TLanguageTable& t, SystemCheckResult& out) {
    out.lines << t.text(133);
    const QStringList names =
        QDir(in.dataFolder).entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name);
    for (const QString& name : names) {
        try {
            const QString path = textfile::join(in.dataFolder, name);
            if (TLanguageTable::countLines(path) == TLanguageTable::kFileLines) {
                out.lines << withIndent(t.text(134) + u' ' + QFileInfo(name).completeBaseName());
            }
        } catch (const std::exception&) {
            // A file that cannot be read is no usable language.
        }
    }
}

void presentFiles(const SystemCheckInput& in, const TLanguageTable& t, int heading,
                  const QStringList& names, SystemCheckResult& out) {
    out.lines << t.text(heading);
    for (const QString& name : names) {
        const bool found = textfile::exists(textfile::join(in.dataFolder, name));
        out.lines << withIndent(name + QStringLiteral("...") + t.text(found ? 131 : 132));
    }
}

void portLine(const SystemCheckInput& in, const TLanguageTable& t, SystemCheckResult& out) {
    out.lines << t.text(140);
    if (in.statusLightRed) {
        out.lines << withIndent(t.text(141));
    } else {
        out.lines << withIndent(t.text(142) + u' ' + QString::number(in.portNumber));
    }
}

}  // namespace

SupportAddresses defaultSupportAddresses() {
    const QString site = QString::fromLatin1(kDefaultWebAddress);
    return {site + QStringLiteral("/check.txt"), site + QStringLiteral("/help"),
            site + QStringLiteral("/help/driver"), site + QStringLiteral("/help/pdf"),
            site + QStringLiteral("/download")};
}

SystemCheckResult runSystemCheck(const SystemCheckInput& in, const TLanguageTable& t,
                                 CheckFileFetcher& fetcher) {
    SystemCheckResult out;
    out.lines << QStringLiteral("Local : ") +
                     (in.userLanguageError.isEmpty() ? in.userLanguage : in.userLanguageError);
    releaseCheck(in, t, fetcher, out);
    writeTest(in, t, out);
    languageFiles(in, t, out);
    out.lines << t.text(135) << withIndent(t.text(137)) << withIndent(in.pdfHelpUrl);
    presentFiles(in, t, 138,
                 {QStringLiteral("Install.pdf"), QStringLiteral("Basic.pdf"),
                  QStringLiteral("Advanced.pdf")},
                 out);
    presentFiles(in, t, 139, {QStringLiteral("logo.gif"), QStringLiteral("logobig.gif")}, out);
    portLine(in, t, out);
    out.lines << t.text(143);
    return out;
}

}  // namespace dorodure
