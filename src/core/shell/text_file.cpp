#include "text_file.h"

#include "file_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

namespace dorodure::textfile {

namespace {

QString describe(const QString& action, const QString& path, const QString& why) {
    return QStringLiteral("Cannot %1 \"%2\": %3").arg(action, path, why);
}

QByteArray joinLines(const QStringList& lines, bool finalLineEnd) {
    QByteArray out;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        out += encode(lines[i]);
        if (finalLineEnd || i + 1 < lines.size()) {
            out += "\r\n";
        }
    }
    return out;
}

}  // namespace

QByteArray encode(const QString& text) {
    return text.toLatin1();
}

QString decode(const QByteArray& bytes) {
    return QString::fromLatin1(bytes);
}

QStringList readLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw FileError(describe(QStringLiteral("open"), path, file.errorString()));
    }
    const QByteArray all = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throw FileError(describe(QStringLiteral("read"), path, file.errorString()));
    }
    QStringList lines;
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype end = all.indexOf('\n', start);
        if (end < 0) {
            end = all.size();
        }
        qsizetype stop = end;
        if (stop > start && all[stop - 1] == '\r') {
            --stop;
        }
        lines.append(decode(all.mid(start, stop - start)));
        start = end + 1;
    }
    return lines;
}

QStringList readLinesIfExists(const QString& path) {
    return exists(path) ? readLines(path) : QStringList{};
}

QString lastLine(const QString& path) {
    const QStringList lines = readLines(path);
    return lines.isEmpty() ? QString() : lines.last();
}

void writeLinesAtomic(const QString& path, const QStringList& lines, bool finalLineEnd) {
    writeBytesAtomic(path, joinLines(lines, finalLineEnd));
}

void writeBytesAtomic(const QString& path, const QByteArray& data) {
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        throw FileError(describe(QStringLiteral("create"), path, file.errorString()));
    }
    // The explicit flush matters: QSaveFile buffers the data, and a write
    // error met while commit() flushes it (disk full, file size limit) would
    // otherwise go unnoticed and a truncated file would replace the old one.
    if (file.write(data) != data.size() || !file.flush() || !file.commit()) {
        const QString why = file.errorString();
        file.cancelWriting();
        throw FileError(describe(QStringLiteral("write"), path, why));
    }
}

void createEmpty(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw FileError(describe(QStringLiteral("create"), path, file.errorString()));
    }
}

void appendLines(const QString& path, const QStringList& lines, bool durable) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        throw FileError(describe(QStringLiteral("open"), path, file.errorString()));
    }
    const QByteArray data = joinLines(lines, true);
    if (file.write(data) != data.size() || !file.flush()) {
        throw FileError(describe(QStringLiteral("write"), path, file.errorString()));
    }
    if (durable && ::fsync(file.handle()) != 0) {
        throw FileError(describe(QStringLiteral("flush"), path, QStringLiteral("fsync failed")));
    }
}

bool exists(const QString& path) {
    return QFileInfo(path).isFile();
}

QString join(const QString& folder, const QString& name) {
    if (folder.isEmpty()) {
        return name;
    }
    return QDir(folder).filePath(name);
}

}  // namespace dorodure::textfile
