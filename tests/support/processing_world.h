#pragma once

// The data folder, settings, texts, logs, baton names, PDF writer and
// processing context that the processing and report tests share. The locale
// is British English and the time zone UTC; the clock reads the time given.
// The sites are left to each fixture.

#include "prefs/baton_names.h"
#include "processing/pdf/pdfprint.h"
#include "processing/processing_context.h"
#include "processing/unknown_checkpoints.h"
#include "shell/activity_log.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "shell/settings.h"
#include "sites/site_store.h"
#include "test_support.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <memory>

namespace dorodure::test {

// Fixes the locale and the time zone before any date or time is formatted.
void pinLocaleAndZone();

class ProcessingWorld {
  public:
    explicit ProcessingWorld(const QDateTime& now);

    TempDataFolder dir;
    ManualClock clock;
    TLanguageTable texts;
    ScriptedInteraction ui;
    std::unique_ptr<TSettings> settings;
    std::unique_ptr<TActivityLog> log;
    std::unique_ptr<TSiteStore> store;
    std::unique_ptr<BatonNames> batons;
    std::unique_ptr<PdfPrint> pdf;
    FixedUnknownAsker ignoreAsker;
    ProcessingContext ctx;
    std::atomic<bool> writePending{false};

    void setSettings(const std::function<void(SettingsValues&)>& change);
    // A site folder with its "Raw" folder and a checkpoint list of these
    // checkpoint lines, closed by endLine.
    void writeSiteFolder(const QString& name, const QStringList& checkpointLines,
                         const QString& endLine);
};

}  // namespace dorodure::test
