#include "app_services.h"

#include "dialog_interaction.h"
#include "link/comms_thread.h"
#include "link/port_map.h"
#include "link/rfc2217_line.h"
#include "prefs/baton_names.h"
#include "processing/pdf/pdfprint.h"
#include "processing/unknown_checkpoints.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/file_error.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "shell/text_file.h"
#include "shell/trace_log.h"
#include "sites/site_store.h"

#include <QDir>

namespace dorodure {

AppServices::AppServices(AppOptions options) : options_(std::move(options)) {
    dataFolder_ =
        QDir::cleanPath(options_.dataFolder.isEmpty() ? QDir::currentPath() : options_.dataFolder);
    if (options_.clock != nullptr) {
        clock_ = options_.clock;
    } else {
        ownClock_ = std::make_unique<SystemClock>();
        clock_ = ownClock_.get();
    }
    sessionStamp_ = TTraceLog::sessionStampFor(clock_->now());
    settings_ = std::make_unique<TSettings>(path(QStringLiteral("Dorodure.ini")));
    texts_ = std::make_unique<TLanguageTable>();
    activityLog_ = std::make_unique<TActivityLog>(dataFolder_, *clock_);
    trace_ = std::make_unique<TTraceLog>(dataFolder_, sessionStamp_, *clock_);
    sites_ =
        std::make_unique<TSiteStore>(dataFolder_, [this](const QString& line) { traceMain(line); });
    batonNames_ = std::make_unique<BatonNames>(dataFolder_);
    pdf_ = std::make_unique<PdfPrint>(*clock_);
    texts_->setPdfTextsSink([this](const QStringList& entries) { pdf_->SetPdfTexts(entries); });
    if (options_.ui != nullptr) {
        ui_ = options_.ui;
    } else {
        ownUi_ = std::make_unique<DialogInteraction>();
        ui_ = ownUi_.get();
    }
    if (options_.fetcher != nullptr) {
        fetcher_ = options_.fetcher;
    } else {
        ownFetcher_ = std::make_unique<NetworkCheckFileFetcher>();
        fetcher_ = ownFetcher_.get();
    }
    defaultAsker_ = std::make_unique<FixedUnknownAsker>();

    processing_.dataFolder = dataFolder_;
    processing_.settings = settings_.get();
    processing_.texts = texts_.get();
    processing_.activityLog = activityLog_.get();
    processing_.trace = trace_.get();
    processing_.sites = sites_.get();
    processing_.batonNames = batonNames_.get();
    processing_.pdf = pdf_.get();
    processing_.clock = clock_;
    processing_.ui = ui_;
    processing_.unknownAsker = defaultAsker_.get();
    processing_.writePending = &requests_.writePendingFlag();
}

AppServices::~AppServices() {
    stopCommsThread();
}

QString AppServices::path(const QString& name) const {
    return textfile::join(dataFolder_, name);
}

void AppServices::traceMain(const QString& message) {
    try {
        trace_->main(message);
    } catch (const FileError&) {
        // A diagnostic line that cannot be written never ends an operation.
    }
}

void AppServices::setUnknownAsker(UnknownCheckpointsAsker* asker) {
    processing_.unknownAsker = asker != nullptr ? asker : defaultAsker_.get();
}

LineFactory AppServices::makeLineFactory() {
    if (options_.lineFactory) {
        return options_.lineFactory;
    }
    lineFactory_ = std::make_unique<SerialLineFactory>(settingsPortMap(*settings_), *clock_);
    registerRfc2217Transport(*lineFactory_);
    SerialLineFactory* factory = lineFactory_.get();
    return [factory](int port) { return factory->make(port); };
}

void AppServices::startCommsThread(LinkHost& host) {
    if (comms_) {
        return;
    }
    LinkServices services{*clock_,   *texts_, *settings_,  display_,
                          requests_, host,    dataFolder_, trace_.get()};
    comms_ = std::make_unique<TCommsThread>(services, makeLineFactory());
    comms_->start();
}

void AppServices::stopCommsThread() {
    if (!comms_) {
        return;
    }
    comms_->stop();
    comms_.reset();
}

}  // namespace dorodure
