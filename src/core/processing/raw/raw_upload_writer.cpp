// The upload session's writer of "Raw.txt". A bank is cleared on the baton
// once its records are written, so every write reaches the disk first.
#include "raw_file.h"

#include "shell/file_error.h"
#include "shell/text_file.h"

#include <QFile>

#include <unistd.h>

namespace dorodure::rawfile {

namespace {

// Replaces the file's content by `bytes` and waits until it is on the disk.
void writeDurably(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        throw FileError(QStringLiteral("Cannot create \"%1\": %2").arg(path, file.errorString()));
    }
    if (file.write(bytes) != bytes.size() || !file.flush() || ::fsync(file.handle()) != 0) {
        throw FileError(QStringLiteral("Cannot write \"%1\": %2").arg(path, file.errorString()));
    }
}

}  // namespace

RawUploadWriter::RawUploadWriter(QString path) : path_(std::move(path)) {}

void RawUploadWriter::start(const QString& identityLine) {
    writeDurably(path_, textfile::encode(identityLine) + "\r\n");
}

void RawUploadWriter::appendRecord(const QString& recordLine) {
    textfile::appendLine(path_, recordLine, true);
}

void RawUploadWriter::resetToDone() {
    writeDurably(path_, QByteArrayLiteral("Done"));
}

}  // namespace dorodure::rawfile
