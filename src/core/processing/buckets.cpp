#include "buckets.h"

#include "shell/text_file.h"

#include <QFile>

namespace dorodure::buckets {

QString fileName(int bucket) {
    return QString::number(bucket) + QStringLiteral(".$$$");
}

QString path(const QString& folder, int bucket) {
    return textfile::join(folder, fileName(bucket));
}

void createAll(const QString& folder, int unknownBucket) {
    for (int n = 0; n <= unknownBucket; ++n) {
        textfile::createEmpty(path(folder, n));
    }
}

void removeAll(const QString& folder, int unknownBucket) {
    for (int n = 0; n <= unknownBucket; ++n) {
        QFile::remove(path(folder, n));
    }
}

QStringList read(const QString& folder, int bucket) {
    return textfile::readLinesIfExists(path(folder, bucket));
}

void append(const QString& folder, int bucket, const QStringList& lines) {
    if (!lines.isEmpty()) {
        textfile::appendLines(path(folder, bucket), lines);
    }
}

}  // namespace dorodure::buckets
