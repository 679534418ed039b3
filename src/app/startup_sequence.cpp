#include "startup_sequence.h"

#include "app_services.h"
#include "link/link_host.h"
#include "prefs/baton_names.h"
#include "shell/clock.h"
#include "shell/file_error.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "shell/text_file.h"
#include "shell/user_interaction.h"
#include "sites/site_store.h"

#include <QLocale>

#include <cstdlib>

namespace dorodure {

const std::vector<VitalFile>& vitalFiles() {
    static const std::vector<VitalFile> files{
        {QStringLiteral("dorodure"), {}},
        {QStringLiteral("Advanced.pdf"), {}},
        {QStringLiteral("Basic.pdf"), {}},
        {QStringLiteral("Install.pdf"), {}},
        {QStringLiteral("logo.gif"), QStringLiteral("76772B28D987AE98F28CAE1723C59B8F")},
        {QStringLiteral("logobig.gif"), QStringLiteral("EF43790923EEA4E61A224DDBC0CF6D83")},
        {QStringLiteral("Dorodure.html"), {}},
        {QStringLiteral("serial-setup.sh"), QStringLiteral("149EE6BD2C8B8415FAEB10A270645A69")},
    };
    return files;
}

QString formatDateLine(const QDateTime& when) {
    // Fixed English names, as the program's date line has always shown them.
    return QLocale(QLocale::English).toString(when, QStringLiteral("ddd dd MMMM yyyy  hh:mm.ss"));
}

StartupSequence::StartupSequence(AppServices& services, StartupView& view, LinkHost& host)
    : s_(services), view_(view), host_(host) {}

void StartupSequence::trace(const QString& message) {
    s_.traceMain(message);
}

StartupSequence::Result StartupSequence::run() {
    const QString logo = s_.path(QStringLiteral("logo.gif"));
    if (textfile::exists(logo)) {
        view_.showLogo(logo);
    }
    trace(QStringLiteral("form activated"));
    s_.closeRequested = false;
    s_.requests().reset();
    std::srand(unsigned(s_.clock().tickMs()));
    try {
        if (!loadSettingsAndDefaults() || !versionCheck() || !integrityCheck() || !loadLanguage()) {
            return Result::Closing;
        }
        loadSites();
        preselect();
        s_.sites().rebuildSiteIds();
    } catch (const FileError& e) {
        // Without its files the program cannot run: say why and close.
        s_.ui().showMessage(e.message());
        return Result::Closing;
    }
    startLink();
    return Result::Running;
}

bool StartupSequence::loadSettingsAndDefaults() {
    s_.settings().load([this](const QString& line) { trace(line); });
    s_.texts().loadDefaults([this](const QString& line) { trace(line); });
    return true;
}

bool StartupSequence::versionCheck() {
    if (s_.options().demo) {
        return true;
    }
    VersionCheckInput input;
    input.dataFolder = s_.dataFolder();
    input.checkFileUrl = s_.settings().rawValue(QString::fromLatin1(kCheckFileUrlKey),
                                                QString::fromLatin1(kDefaultCheckFileUrl));
    input.userLanguage = userLanguageName();
    input.systemLanguage = systemLanguageName();
    const VersionCheckOutcome outcome = runVersionCheck(input, s_.clock(), s_.fetcher());
    for (const QString& line : outcome.memoLines) {
        view_.addMemoLine(line);
    }
    if (!outcome.message.isEmpty()) {
        s_.ui().showMessage(outcome.message);
    }
    if (outcome.verdict == VersionCheckOutcome::Verdict::Refused) {
        s_.closeRequested = true;
        return false;
    }
    return true;
}

bool StartupSequence::integrityCheck() {
    view_.setDateLine(formatDateLine(s_.clock().now()));
    view_.setStatusLine(QStringLiteral("Initializing please wait  (Checking MD5 checksums)"));
    view_.repaint();
    const auto& files = s_.options().vitalFiles.empty() ? vitalFiles() : s_.options().vitalFiles;
    const IntegrityOutcome outcome =
        runIntegrityCheck(s_.dataFolder(), files, [this] { view_.repaint(); });
    for (const QString& message : outcome.messages) {
        s_.ui().showMessage(message);
    }
    return outcome.mayContinue;
}

bool StartupSequence::loadLanguage() {
    const QString path = s_.path(s_.settings().values().languageFile);
    if (!textfile::exists(path)) {
        s_.ui().showMessage(QStringLiteral(
            "Fatal Error: Missing Language File\rPlease re-install the application"));
        return false;
    }
    const QString problem =
        s_.texts().loadLanguageFile(path, [this](const QString& line) { trace(line); });
    if (!problem.isEmpty()) {
        // A corrupt file leaves the built-in texts in force; the program goes on.
        s_.ui().showMessage(problem);
    } else {
        view_.applyCaptions();
    }
    trace(QStringLiteral("language file loaded"));
    return true;
}

void StartupSequence::loadSites() {
    s_.display().setStatus(s_.texts().text(1));
    s_.requests().clearPendingId();
    TSiteStore& sites = s_.sites();
    sites.loadSites();
    // The program needs a site to file clockings under: ask until one exists.
    while (sites.siteCount() == 0) {
        const QString created = sites.createSiteInteractive(s_.ui(), s_.texts());
        if (!created.isEmpty()) {
            s_.preselectedSite = sites.indexOf(created);
        }
    }
    trace(QStringLiteral("finished getting new site"));
}

void StartupSequence::preselect() {
    const int site = s_.settings().values().defaultSite;
    if (site >= 0 && site < s_.sites().siteCount()) {
        s_.preselectedSite = site;
    }
    s_.batonNames().load();
}

void StartupSequence::startLink() {
    view_.setTitle(s_.texts().text(4));
    trace(QStringLiteral("make menu invisible"));
    s_.requests().setAutoIncrement(false);
    trace(QStringLiteral("started second thread"));
    s_.startCommsThread(host_);
    view_.enableSetupMenu();
    trace(QStringLiteral("setup compleated"));
    view_.hideWorkingPanel();
}

}  // namespace dorodure
