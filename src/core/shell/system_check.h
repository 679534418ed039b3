#pragma once

#include <QString>
#include <QStringList>

namespace dorodure {

class CheckFileFetcher;
class TLanguageTable;

// The maker's web pages the About window links to.
struct SupportAddresses {
    QString checkFile;     // the release check file
    QString onlineHelp;    // the online help site
    QString driverHelp;    // help on installing the serial driver
    QString pdfHelp;       // help on PDF viewers
    QString downloadPage;  // where new releases are offered
};

// The addresses under the maker's web site.
SupportAddresses defaultSupportAddresses();

struct SystemCheckInput {
    QString dataFolder;
    QString checkFileUrl;
    // The user's language name; empty counts as "English" for the check file.
    QString userLanguage;
    // The error's kind and message when the name could not be read; when set,
    // the first line reports it instead of the name.
    QString userLanguageError;
    QString pdfHelpUrl;
    // The main window's status light still shows red: no upload station has
    // been found yet.
    bool statusLightRed = true;
    int portNumber = 0;
};

struct SystemCheckResult {
    QStringList lines;  // the text box, in order
    bool checkFileFetched = false;
    QString newReleaseText;  // the caption of the "new release" link
    bool refused = false;    // the check file refuses this release or language
};

// The message shown when the check file refuses this release or language.
extern const char* const kSystemCheckRefusal;

// The system check of the About window: the release check against a freshly
// fetched check file (kept as "temp"), a write test of the data folder, the
// valid language files, the help and picture files and the upload station's
// port. Texts are language table entries 125 to 143.
SystemCheckResult runSystemCheck(const SystemCheckInput& input, const TLanguageTable& texts,
                                 CheckFileFetcher& fetcher);

// The help given in place of a serial driver installer: the kernel drives the
// upload station's adapters, so the help lists the USB serial devices of
// devFolder ("ttyUSB*", "ttyACM*") and whether this user may open them, and
// says how to get the permission.
QString serialSetupAdvice(const QString& devFolder = QStringLiteral("/dev"));

}  // namespace dorodure
