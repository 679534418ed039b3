#pragma once

// A small data folder with sites, an upload file and a processing context for
// the sorting and unknown-checkpoint tests.

#include "processing/processing_context.h"
#include "shell/language_table.h"
#include "shell/text_file.h"
#include "sites/site_store.h"
#include "test_support.h"

#include <QDir>

#include <memory>

namespace dorodure::test {

// A record line of checkpoint id at stamp "YYMMDDHHNN" with a sequence number.
inline QString rec(const QString& id, const QString& stamp, const QString& seq = "7") {
    return QStringLiteral("000000") + id + stamp + seq;
}
// The same record as a day file stores it (first 22 characters).
inline QString stored(const QString& id, const QString& stamp) {
    return QStringLiteral("000000") + id + stamp;
}

class SortFixture {
  public:
    TempDataFolder dir;
    TLanguageTable texts;
    ScriptedInteraction ui;
    std::unique_ptr<TSiteStore> store;
    ProcessingContext ctx;

    // A site folder with its "Raw" folder and a checkpoint list of ids.
    void site(const QString& name, const QStringList& ids) {
        QStringList lines{"//Checkpoint list for " + name, ""};
        for (const QString& id : ids) {
            lines << id + " = Point " + id;
        }
        lines << ""
              << "//End of file";
        dir.mkdir(name + "/Raw");
        writeCrlfLines(dir.file(name + "/checkpt.lst"), lines);
    }

    // Loads the sites and the id table as start-up does and fills ctx.
    void load() {
        store = std::make_unique<TSiteStore>(dir.path());
        store->loadSites();
        store->rebuildSiteIds();
        ctx.dataFolder = dir.path();
        ctx.texts = &texts;
        ctx.sites = store.get();
        ctx.ui = &ui;
    }

    QString rawPath() const { return dir.file("Raw.txt"); }

    // "Raw.txt" with the identity line and the given lines.
    void upload(const QStringList& lines) {
        writeCrlfLines(rawPath(), QStringList{"Id : 00012345"} + lines);
    }

    QString dayPath(const QString& site, const QString& day) const {
        return dir.file(site + "/Raw/" + day + ".txt");
    }
    QStringList day(const QString& site, const QString& yymmdd) const {
        return readCrlfLines(dayPath(site, yymmdd));
    }
    // The day files of a site, by name.
    QStringList dayFiles(const QString& site) const {
        return QDir(dir.file(site + "/Raw")).entryList(QDir::Files, QDir::Name);
    }
};

}  // namespace dorodure::test
