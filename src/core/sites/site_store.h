#pragma once

#include "checkpoint.h"
#include "site_ids.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace dorodure {

class UserInteraction;
class TLanguageTable;

// The sites of the data folder: each site is a subfolder with its checkpoint
// list "checkpt.lst" and its folder "Raw" of day files. The site list is kept
// in memory for the run; a site's index is its position in it.
class TSiteStore {
  public:
    using Trace = std::function<void(const QString&)>;

    explicit TSiteStore(QString dataFolder, Trace trace = {});

    QString dataFolder() const { return dataFolder_; }

    // Lists the data folder's subfolders (no hidden ones), sorted by name
    // without regard to case. Traces "got current directory " + folder,
    // "filtered out root dir", "finished loading all sites liteboxes".
    void loadSites();

    const QStringList& sites() const { return sites_; }
    int siteCount() const { return int(sites_.size()); }
    QString siteName(int index) const { return sites_.value(index); }
    int indexOf(const QString& site) const;
    // The index of the site named "common" (any case), or -1.
    int commonSiteIndex() const;
    static bool isCommonName(const QString& name);

    // Whether a typed name can become a site folder: not empty or blank, no
    // path separators, not "." or "..", no leading dot, no control characters,
    // only characters of the 8-bit set the program's files are written in.
    static bool isValidSiteName(const QString& name);

    // Creates the folder and its "Raw" folder and appends the site to the list.
    // Returns false (and changes nothing) when the name is refused, a site of
    // that name in any case exists, or the folder cannot be created.
    bool createSite(const QString& name);

    // The entry points' dialogue: asks for the name with texts 2 and 3; an
    // empty answer or cancel creates nothing; a failure shows text 20 + " " +
    // name. Returns the new site's name, or "" when none was created.
    QString createSiteInteractive(UserInteraction& ui, const TLanguageTable& texts);

    // Creates the site's "Raw" folder and its empty checkpoint list
    // ("//Checkpoint list for Dorodure", "", "", "//End of file") when missing.
    // A site whose folder is gone (deleted during the run) is left alone.
    // Throws FileError.
    void ensureSiteFiles(int index);
    // ensureSiteFiles for every site, then reloads the id table; traces
    // "finished creating lst files if nesisarry".
    void rebuildSiteIds();
    const SiteIds& siteIds() const { return siteIds_; }

    // Reads a site's list; a missing file is first created as the empty list
    // with the site name in the header and "//End of File". Throws FileError.
    CheckpointList readCheckpointList(const QString& site);
    // Rewrites the whole list atomically (nothing for an empty site name). An
    // empty location name is written as one blank and a short id is padded
    // with blanks, so that the line stays a checkpoint line. Throws FileError.
    void writeCheckpointList(const QString& site, const std::vector<TCheckpoint>& checkpoints,
                             const TSiteSettings& settings);
    // Adds "Id = LocationName" after the last checkpoint line, keeping every
    // other line; the lines go through "checkpt.$$$" in the data folder and
    // then replace the list atomically. A missing list is created first.
    // Throws FileError.
    void insertCheckpoint(const QString& site, const QString& id, const QString& locationName);

    // Moves the site folder to the desktop trash (plain deletion only where no
    // trash exists). The store keeps the name in its list so that site
    // indexes stay valid until the program ends. Returns false on failure.
    bool deleteSite(const QString& site);

    QString sitePath(const QString& site) const;
    // The site's list under its real name when one exists in any case
    // ("Checkpt.lst" too), otherwise ".../checkpt.lst". The same for "Raw".
    QString checkpointListPath(const QString& site) const;
    QString rawFolder(const QString& site) const;
    // site/Raw/<yymmdd>.txt
    QString dayFilePath(const QString& site, const QString& yymmdd) const;

  private:
    QString dataFolder_;
    Trace trace_;
    QStringList sites_;
    SiteIds siteIds_;
};

}  // namespace dorodure
