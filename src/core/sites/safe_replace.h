#pragma once

#include "shell/file_error.h"
#include "shell/text_file.h"

#include <QSaveFile>
#include <QString>
#include <QStringList>

namespace dorodure::sitefiles {

// Replaces a file by `lines` (each followed by CR LF) through a scratch copy
// beside it that is renamed over the file once all of it is on the disk. Any
// failure, also one that only shows when the last buffered bytes are written,
// throws FileError and leaves the old file as it was. Used for the checkpoint
// lists and the baton names file.
inline void replaceLines(const QString& path, const QStringList& lines) {
    QByteArray data;
    for (const QString& line : lines) {
        data += textfile::encode(line) + "\r\n";
    }
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly)) {
        throw FileError(QStringLiteral("Cannot create \"%1\": %2").arg(path, file.errorString()));
    }
    // The explicit flush matters: a write error met while closing would
    // otherwise go unnoticed and a cut-off file would replace the old one.
    if (file.write(data) != data.size() || !file.flush() || !file.commit()) {
        const QString why = file.errorString();
        file.cancelWriting();
        throw FileError(QStringLiteral("Cannot write \"%1\": %2").arg(path, why));
    }
}

}  // namespace dorodure::sitefiles
