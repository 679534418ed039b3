#pragma once

#include <QString>
#include <QStringList>

namespace dorodure {

// The site buckets of one sorting or processing run: scratch files
// "<n>.$$$" in the data folder, one per site index 0..sites-1 plus the
// unknown bucket, whose number is the number of sites. Each holds the lines of
// one upload that belong to its site, in upload order.
namespace buckets {

// "<n>.$$$".
QString fileName(int bucket);
// The bucket's file in folder.
QString path(const QString& folder, int bucket);

// Creates (empty) the buckets 0..unknownBucket. Throws FileError.
void createAll(const QString& folder, int unknownBucket);
// Deletes the buckets 0..unknownBucket that exist; a file that cannot be
// deleted is left for the clean-up at shutdown.
void removeAll(const QString& folder, int unknownBucket);

// The lines of a bucket (none when it does not exist). Throws FileError.
QStringList read(const QString& folder, int bucket);
// Appends lines to a bucket, creating it when missing. Throws FileError.
void append(const QString& folder, int bucket, const QStringList& lines);

}  // namespace buckets
}  // namespace dorodure
