// Writing the merged day files of one sorting run as one step.
//
// Every new day file is first written as a scratch copy beside the old one
// ("YYMMDD.txt.$$$"); when all are written they are flushed to the disk
// together and only then renamed over the day files. A failure while writing
// (a full disk, a folder in the way) removes the scratch copies and leaves
// every day file as it was; a crash leaves each day file old or new, never
// cut short. One flush of the file system for the whole run instead of one
// per file keeps a full baton well under a second.

#include "shell/file_error.h"
#include "shell/text_file.h"
#include "sort_raw.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <unistd.h>

namespace dorodure::sortraw {

namespace {

QString scratchPath(const QString& dayFile) {
    return dayFile + QStringLiteral(".$$$");
}

QString systemError() {
    return QString::fromLocal8Bit(std::strerror(errno));
}

QByteArray joinLines(const QStringList& lines) {
    QByteArray out;
    out.reserve(lines.size() * 24);
    for (const QString& line : lines) {
        out += textfile::encode(line);
        out += "\r\n";
    }
    return out;
}

// A site's "Raw" folder is made again when it went missing; a missing site
// folder stays an error.
void ensureRawFolder(const QString& dayFile) {
    const QDir raw = QFileInfo(dayFile).dir();
    QDir site = raw;
    if (!raw.exists() && site.cdUp()) {
        QDir().mkpath(raw.absolutePath());
    }
}

void writeScratch(const DayFileUpdate& update) {
    ensureRawFolder(update.path);
    QFile file(scratchPath(update.path));
    const QByteArray data = joinLines(update.lines);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(data) != data.size() ||
        !file.flush()) {
        throw FileError(QStringLiteral("Cannot write \"%1\": %2")
                            .arg(QDir::toNativeSeparators(update.path), file.errorString()));
    }
}

// Flushes every written file of the file system that holds folder.
void syncFileSystem(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) {
        throw FileError(QStringLiteral("Cannot open \"%1\": %2").arg(folder, systemError()));
    }
    const int result = ::syncfs(fd);
    const QString why = systemError();
    ::close(fd);
    if (result != 0) {
        throw FileError(QStringLiteral("Cannot flush \"%1\" to the disk: %2").arg(folder, why));
    }
}

void removeScratches(const std::vector<DayFileUpdate>& updates) {
    for (const DayFileUpdate& update : updates) {
        QFile::remove(scratchPath(update.path));
    }
}

void renameScratch(const DayFileUpdate& update) {
    const QByteArray from = QFile::encodeName(scratchPath(update.path));
    const QByteArray to = QFile::encodeName(update.path);
    if (std::rename(from.constData(), to.constData()) != 0) {
        throw FileError(QStringLiteral("Cannot replace \"%1\": %2")
                            .arg(QDir::toNativeSeparators(update.path), systemError()));
    }
}

}  // namespace

void commitDayFiles(const QString& dataFolder, const std::vector<DayFileUpdate>& updates,
                    const std::function<void()>& onFile) {
    if (updates.empty()) {
        return;
    }
    try {
        for (const DayFileUpdate& update : updates) {
            writeScratch(update);
            if (onFile) {
                onFile();
            }
        }
        syncFileSystem(dataFolder);
        for (const DayFileUpdate& update : updates) {
            renameScratch(update);
        }
    } catch (const FileError&) {
        removeScratches(updates);
        throw;
    }
    syncFileSystem(dataFolder);
}

}  // namespace dorodure::sortraw
