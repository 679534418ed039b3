#pragma once

#include "checkpoint.h"

#include <QDateTime>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace dorodure {

class TActivityLog;
class TLanguageTable;
class TSiteStore;
class UserInteraction;

// One row of the checkpoint list: its number as shown in "#" (kept until the
// list is loaded again) and the checkpoint.
struct EditorRow {
    int number = 0;
    TCheckpoint checkpoint;
};

// The checkpoint editor without its window: the editor's own site list, the
// selected site's rows and patrol settings, and every operation on them.
// Each change is written back to the site's checkpoint list at once.
class CheckpointEditor {
  public:
    struct Services {
        TSiteStore& store;
        TActivityLog& log;
        const TLanguageTable& texts;
        UserInteraction& ui;
        std::function<void(const QString&)> trace;  // main-window trace; may be empty
    };

    explicit CheckpointEditor(Services services);

    // --- Sites ---
    const QStringList& sites() const { return sites_; }
    // Appends the store's sites that are not listed yet (created elsewhere),
    // except sites deleted here.
    void syncSites();
    int selectedSite() const { return selected_; }
    QString selectedSiteName() const { return sites_.value(selected_); }
    // Selects a site without loading it (the selection made at start-up).
    void preselect(int index);
    // Selects a site and loads its list and settings ("Clicking a site").
    void selectSite(int index);
    bool selectSiteByName(const QString& name);
    // Opening the window: the preferred site (from the report request) when
    // valid, else the one selected, else the first; then loads it.
    void open(int preferredSite = -1);
    // Closing: saves the list and refreshes the store's id table.
    void close();

    // Creates a site through the name dialogue; logs "New Site created" and
    // refreshes the id table. The new site is listed but not selected.
    QString createSite();

    enum class SiteDeletion {
        Nothing,            // no site selected
        NeedsConfirmation,  // the site has checkpoints: its name must be typed
        Deleted,            // gone: the program must end
        Refused,            // mistyped name or a folder that could not be moved
    };
    // Deletes the selected site at once when its list is empty.
    SiteDeletion requestSiteDeletion();
    // Deletes the selected site when the typed name matches it (any case).
    SiteDeletion confirmSiteDeletion(const QString& typedName);

    // --- Rows ---
    const std::vector<EditorRow>& rows() const { return rows_; }
    std::vector<TCheckpoint> checkpoints() const;
    int currentRow() const { return current_; }
    void setCurrentRow(int row);
    // Copies a location name into a row at once (saved when focus leaves).
    void setLocationName(int row, const QString& name);

    // "none" (text 84) and "(Id) LocationName" per row; the index of the
    // entry of the separator row (0 when none).
    QStringList separatorEntries() const;
    int separatorIndex() const;

    // Adds a typed id (already normalised by the id dialog). Returns the new
    // row's index; nothing for an empty or blank id or no selected site.
    std::optional<int> addTypedId(const QString& id);
    // An ID button read on the station: added to the selected site unless it
    // is "000000" or already listed, and inserted into its file.
    std::optional<int> addStationId(const QString& id);
    // Deletes the given rows after the confirmation (text 29); one activity
    // line per row. Saves in any case. Returns whether rows were removed.
    bool deleteRows(std::vector<int> rows);
    // Moves the current row; the moved-to row becomes current. Saves.
    void moveUp();
    void moveDown();
    // The separator choice: characters 2-7 of the entry as id.
    void chooseSeparator(const QString& entry);
    // "#" for every row with this id, "=" for all others. Saves.
    void markSeparator(const QString& id);

    // --- Patrol settings ---
    const TSiteSettings& settings() const { return settings_; }
    void setSettings(const TSiteSettings& settings) { settings_ = settings; }

    // Writes the selected site's list (nothing when none is loaded).
    void save();
    // Whether the editor's window is on screen: while it is not, a station id
    // first reloads the list so that it adds to what the file holds.
    void setShown(bool shown) { shown_ = shown; }

    // --- View List ---
    // Writes "List.txt" for the selected site (the first site when none is
    // selected) and opens it. Nothing when the site has no list.
    bool viewList(const QString& aboutWeb, const QDateTime& now);
    // The lines of "List.txt".
    static QStringList listText(const QString& site, const std::vector<TCheckpoint>& checkpoints,
                                const TLanguageTable& texts, const QString& aboutWeb,
                                const QDateTime& now);
    // The name as printed: "7 Unknown checkpoint" prints as "7".
    static QString printedName(const QString& name, const TLanguageTable& texts);

  private:
    void load();
    bool ready() const;
    int appendRow(const QString& id, const QString& name);
    void logAdded(const QString& id);
    void swapWith(int other);
    SiteDeletion deleteSelectedSite();

    Services s_;
    QStringList sites_;
    QSet<QString> deleted_;
    int selected_ = -1;
    QString loadedSite_;
    bool shown_ = false;
    std::vector<EditorRow> rows_;
    int current_ = -1;
    TSiteSettings settings_ = TSiteSettings::editorDefaults();
};

// The id typed in the id dialog: i, I, l, L become 1, o and O become 0, a to
// f become A to F; at most 6 characters.
QString normaliseTypedId(const QString& typed);

}  // namespace dorodure
