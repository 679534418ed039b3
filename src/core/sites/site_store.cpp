#include "site_store.h"

#include "shell/file_error.h"
#include "shell/text_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>

namespace dorodure {

namespace {

const QString kListName = QStringLiteral("checkpt.lst");
const QString kRawName = QStringLiteral("Raw");

// The path of `name` inside `folder`. Site folders copied from other systems
// may spell "checkpt.lst" or "Raw" in another case: an existing entry whose
// name differs only in case is used under its real name; otherwise the path
// of `name` as given (where a new entry is to be created).
QString entryIgnoringCase(const QString& folder, const QString& name) {
    const QString exact = textfile::join(folder, name);
    if (QFileInfo::exists(exact)) {
        return exact;
    }
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0) {
            return textfile::join(folder, entry);
        }
    }
    return exact;
}

bool lessIgnoringCase(const QString& a, const QString& b) {
    const int c = a.compare(b, Qt::CaseInsensitive);
    return c != 0 ? c < 0 : a < b;
}

// The user's trash folder (freedesktop layout), made ready for use; "" when
// the desktop can keep no trash here (no usable data folder).
QString usableHomeTrash() {
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (data.isEmpty() || !QDir::isAbsolutePath(data)) {
        return {};
    }
    const QString trash = textfile::join(data, QStringLiteral("Trash"));
    QDir dir;
    if (!dir.mkpath(trash + QStringLiteral("/files")) ||
        !dir.mkpath(trash + QStringLiteral("/info"))) {
        return {};
    }
    return trash;
}

}  // namespace

TSiteStore::TSiteStore(QString dataFolder, Trace trace)
    : dataFolder_(std::move(dataFolder)), trace_(std::move(trace)) {}

void TSiteStore::loadSites() {
    if (trace_) {
        trace_(QStringLiteral("got current directory ") + dataFolder_);
    }
    // Without QDir::Hidden the listing leaves out the dot folders.
    QStringList names = QDir(dataFolder_).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    if (trace_) {
        trace_(QStringLiteral("filtered out root dir"));
    }
    std::sort(names.begin(), names.end(), lessIgnoringCase);
    sites_ = names;
    if (trace_) {
        trace_(QStringLiteral("finished loading all sites liteboxes"));
    }
}

int TSiteStore::indexOf(const QString& site) const {
    return int(sites_.indexOf(site));
}

int TSiteStore::commonSiteIndex() const {
    for (int i = 0; i < siteCount(); ++i) {
        if (isCommonName(sites_[i])) {
            return i;
        }
    }
    return -1;
}

bool TSiteStore::isCommonName(const QString& name) {
    return name.compare(QLatin1String("common"), Qt::CaseInsensitive) == 0;
}

bool TSiteStore::isValidSiteName(const QString& name) {
    if (name.trimmed().isEmpty() || name.startsWith(u'.')) {
        return false;
    }
    for (QChar c : name) {
        // Separators would leave the data folder; control characters and
        // characters outside the 8-bit set cannot be written into the
        // checkpoint list header and the activity log.
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F ||
            c.unicode() > 0xFF || c.category() == QChar::Other_Control) {
            return false;
        }
    }
    return true;
}

bool TSiteStore::createSite(const QString& name) {
    if (!isValidSiteName(name)) {
        return false;
    }
    // Site names are told apart without regard to case, as the checkpoint
    // list and the common site are.
    for (const QString& site : sites_) {
        if (site.compare(name, Qt::CaseInsensitive) == 0) {
            return false;
        }
    }
    QDir data(dataFolder_);
    if (!data.mkdir(name)) {
        return false;
    }
    sites_.append(name);
    QDir(sitePath(name)).mkdir(kRawName);
    return true;
}

void TSiteStore::ensureSiteFiles(int index) {
    const QString site = siteName(index);
    const QString folder = sitePath(site);
    // A site folder removed while the program runs (a deleted site) is not
    // brought back.
    if (site.isEmpty() || !QFileInfo(folder).isDir()) {
        return;
    }
    const QString raw = rawFolder(site);
    if (!QFileInfo(raw).isDir() && !QDir(folder).mkdir(QFileInfo(raw).fileName())) {
        throw FileError(QStringLiteral("Cannot create folder \"%1\"").arg(raw));
    }
    const QString list = checkpointListPath(site);
    if (!textfile::exists(list)) {
        textfile::writeLinesAtomic(list, {QStringLiteral("//Checkpoint list for Dorodure"),
                                          QString(), QString(), QStringLiteral("//End of file")});
    }
}

void TSiteStore::rebuildSiteIds() {
    siteIds_.clear();
    for (int i = 0; i < siteCount(); ++i) {
        ensureSiteFiles(i);
        const QStringList lines = textfile::readLinesIfExists(checkpointListPath(sites_[i]));
        QStringList ids;
        // Line 3 on: an id line needs more than 5 characters.
        for (qsizetype n = 2; n < lines.size() && lines[n].size() > 5; ++n) {
            ids.append(lines[n].left(6));
        }
        siteIds_.setSite(i, ids);
    }
    if (trace_) {
        trace_(QStringLiteral("finished creating lst files if nesisarry"));
    }
}

bool TSiteStore::deleteSite(const QString& site) {
    if (site.isEmpty() || indexOf(site) < 0) {
        return false;
    }
    const QString folder = sitePath(site);
    if (!QFileInfo(folder).isDir()) {
        return false;
    }
    // Deleting for good is only right where the desktop keeps no trash at
    // all; a trash that refuses the folder leaves the site in place. The trash
    // is checked first because the library otherwise falls back to trash
    // folders of its own choosing, even relative to the working folder.
    if (usableHomeTrash().isEmpty()) {
        return QDir(folder).removeRecursively();
    }
    return QFile::moveToTrash(folder);
}

QString TSiteStore::sitePath(const QString& site) const {
    return textfile::join(dataFolder_, site);
}

QString TSiteStore::checkpointListPath(const QString& site) const {
    return entryIgnoringCase(sitePath(site), kListName);
}

QString TSiteStore::rawFolder(const QString& site) const {
    return entryIgnoringCase(sitePath(site), kRawName);
}

QString TSiteStore::dayFilePath(const QString& site, const QString& yymmdd) const {
    return textfile::join(rawFolder(site), yymmdd + QStringLiteral(".txt"));
}

}  // namespace dorodure
