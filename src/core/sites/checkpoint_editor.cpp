// The checkpoint editor's rows: adding by hand and from the station,
// deleting, moving, the patrol separator and saving.
#include "checkpoint_editor.h"

#include "site_store.h"

#include "shell/activity_log.h"
#include "shell/language_table.h"
#include "shell/user_interaction.h"

#include <algorithm>

namespace dorodure {

namespace {

constexpr int kTextUnknownCheckpoint = 23;
constexpr int kTextDeleteQuestion = 29;
constexpr int kTextBatonUploaded = 81;
constexpr int kTextNone = 84;

const QString kUploadMarker = QStringLiteral("000000");

}  // namespace

QString normaliseTypedId(const QString& typed) {
    QString id = typed.left(6);
    for (QChar& c : id) {
        if (c == u'i' || c == u'I' || c == u'l' || c == u'L') {
            c = u'1';
        } else if (c == u'o' || c == u'O') {
            c = u'0';
        } else if (c >= u'a' && c <= u'f') {
            c = c.toUpper();
        }
    }
    return id;
}

CheckpointEditor::CheckpointEditor(Services services) : s_(std::move(services)) {
    syncSites();
}

std::vector<TCheckpoint> CheckpointEditor::checkpoints() const {
    std::vector<TCheckpoint> out;
    out.reserve(rows_.size());
    for (const EditorRow& row : rows_) {
        out.push_back(row.checkpoint);
    }
    return out;
}

void CheckpointEditor::setCurrentRow(int row) {
    current_ = row >= 0 && row < int(rows_.size()) ? row : -1;
}

void CheckpointEditor::setLocationName(int row, const QString& name) {
    if (row >= 0 && row < int(rows_.size())) {
        rows_[std::size_t(row)].checkpoint.locationName = name;
    }
}

QStringList CheckpointEditor::separatorEntries() const {
    QStringList entries{s_.texts.text(kTextNone)};
    for (const EditorRow& row : rows_) {
        entries << u'(' + row.checkpoint.id + QStringLiteral(") ") + row.checkpoint.locationName;
    }
    return entries;
}

int CheckpointEditor::separatorIndex() const {
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].checkpoint.flag == u'#') {
            return int(i) + 1;
        }
    }
    return 0;
}

bool CheckpointEditor::ready() const {
    return selected_ >= 0 && !loadedSite_.isEmpty() && loadedSite_ == selectedSiteName();
}

int CheckpointEditor::appendRow(const QString& id, const QString& name) {
    EditorRow row;
    row.number = int(rows_.size()) + 1;
    row.checkpoint = TCheckpoint{id, u'=', name};
    rows_.push_back(row);
    current_ = int(rows_.size()) - 1;
    return current_;
}

void CheckpointEditor::logAdded(const QString& id) {
    s_.log.append(selectedSiteName(), QStringLiteral("New Id Button Added (") + id +
                                          QStringLiteral(") ") +
                                          s_.texts.text(kTextUnknownCheckpoint));
}

std::optional<int> CheckpointEditor::addTypedId(const QString& id) {
    if (!ready() || id.trimmed().isEmpty()) {
        return std::nullopt;
    }
    const int text = id == kUploadMarker ? kTextBatonUploaded : kTextUnknownCheckpoint;
    const int row = appendRow(id, s_.texts.text(text));
    logAdded(id);
    save();
    return row;
}

std::optional<int> CheckpointEditor::addStationId(const QString& id) {
    if (id == kUploadMarker || selected_ < 0) {
        return std::nullopt;
    }
    if (!shown_ || !ready()) {
        load();
    }
    const auto listed = std::find_if(rows_.begin(), rows_.end(),
                                     [&id](const EditorRow& r) { return r.checkpoint.id == id; });
    if (listed != rows_.end()) {
        return std::nullopt;
    }
    const QString name = s_.texts.text(kTextUnknownCheckpoint);
    const int row = appendRow(id, name);
    logAdded(id);
    s_.store.insertCheckpoint(selectedSiteName(), id, name);
    if (s_.trace) {
        s_.trace(QStringLiteral("Button added"));
    }
    return row;
}

bool CheckpointEditor::deleteRows(std::vector<int> rows) {
    std::erase_if(rows, [this](int r) { return r < 0 || r >= int(rows_.size()); });
    if (rows.empty() || !ready()) {
        return false;
    }
    const bool ok = s_.ui.confirm(s_.texts.text(kTextDeleteQuestion));
    if (ok) {
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        for (const int r : rows) {
            const TCheckpoint& cp = rows_[std::size_t(r)].checkpoint;
            s_.log.append(selectedSiteName(), QStringLiteral("Id Button Deleted (") + cp.id +
                                                  QStringLiteral(") ") + cp.locationName);
        }
        for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
            rows_.erase(rows_.begin() + *it);
        }
        current_ = -1;
    }
    save();
    return ok;
}

void CheckpointEditor::swapWith(int other) {
    if (current_ >= 0 && other >= 0 && other < int(rows_.size())) {
        std::swap(rows_[std::size_t(current_)].checkpoint, rows_[std::size_t(other)].checkpoint);
        current_ = other;
    }
    save();
}

void CheckpointEditor::moveUp() {
    if (ready()) {
        swapWith(current_ - 1);
    }
}

void CheckpointEditor::moveDown() {
    if (ready()) {
        swapWith(current_ < 0 ? -1 : current_ + 1);
    }
}

void CheckpointEditor::chooseSeparator(const QString& entry) {
    markSeparator(entry.mid(1, 6));
}

void CheckpointEditor::markSeparator(const QString& id) {
    if (!ready()) {
        return;
    }
    for (EditorRow& row : rows_) {
        row.checkpoint.flag = row.checkpoint.id == id ? u'#' : u'=';
    }
    save();
}

void CheckpointEditor::save() {
    if (ready()) {
        s_.store.writeCheckpointList(loadedSite_, checkpoints(), settings_);
    }
}

}  // namespace dorodure
