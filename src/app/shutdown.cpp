#include "shutdown.h"

#include "app_services.h"
#include "processing/process_raw.h"
#include "processing/raw/raw_file.h"
#include "shell/file_error.h"
#include "shell/language_table.h"
#include "shell/text_file.h"
#include "shell/user_interaction.h"

#include <QDir>
#include <QFile>

#include <exception>

namespace dorodure {

bool runUploadProcessing(AppServices& services, const std::function<void()>& run) {
    try {
        run();
        return true;
    } catch (const FileError& e) {
        services.ui().showMessage(QStringLiteral("The upload could not be processed:\r") +
                                  e.message());
    } catch (const std::exception& e) {
        services.ui().showMessage(QStringLiteral("The upload could not be processed:\r") +
                                  QString::fromLocal8Bit(e.what()));
    }
    return false;
}

bool processUploadFile(AppServices& services, const QString& path, ProcessOrigin origin) {
    return runUploadProcessing(services, [&] { ProcessRaw(services.processing(), path, origin); });
}

void Shutdown::run() {
    // Each step on its own: a failure of one never keeps the window open nor
    // stops the thread from being stopped.
    try {
        deleteScratchFiles();
    } catch (const std::exception&) {
    }
    try {
        offerUnprocessedUpload();
    } catch (const std::exception&) {
    }
    stopLink();
}

void Shutdown::deleteScratchFiles() {
    QFile::remove(s_.path(QStringLiteral("Processed.txt")));
    const QDir folder(s_.dataFolder());
    const QStringList scratch =
        folder.entryList({QStringLiteral("*.$$$")}, QDir::Files | QDir::Hidden);
    for (const QString& name : scratch) {
        QFile::remove(folder.filePath(name));  // one that cannot be deleted is left
    }
}

void Shutdown::offerUnprocessedUpload() {
    const QString raw = s_.path(QStringLiteral("Raw.txt"));
    if (!rawfile::isUnprocessed(raw)) {
        return;
    }
    const QString question = s_.texts().text(18) + u'\r' + s_.texts().text(19);
    if (s_.ui().confirm(question)) {
        processUploadFile(s_, raw, ProcessOrigin::Shutdown);
    }
}

void Shutdown::stopLink() {
    const QString raw = s_.path(QStringLiteral("Raw.txt"));
    bool traced = false;
    try {
        traced = textfile::exists(raw) && !rawfile::isUnprocessed(raw);
    } catch (const std::exception&) {
    }
    if (traced && s_.commsThread() != nullptr) {
        s_.traceMain(QStringLiteral("DtrEnable"));
    }
    if (beforeStop) {
        beforeStop();
    }
    try {
        s_.stopCommsThread();
    } catch (const std::exception&) {
        if (traced) {
            s_.traceMain(QStringLiteral("Error on close comm"));
        }
    }
}

}  // namespace dorodure
