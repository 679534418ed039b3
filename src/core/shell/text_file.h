#pragma once

#include <QString>
#include <QStringList>

namespace dorodure {

// The program's files are 8-bit text (Latin-1) with CR LF line ends. Readers
// also accept lines ended by LF alone. A final line end followed by nothing
// adds no line; a last line without a line end is still a line.
namespace textfile {

// Encodes and decodes one line as 8-bit text.
QByteArray encode(const QString& text);
QString decode(const QByteArray& bytes);

// All lines of a file. Throws FileError when the file cannot be opened or read.
QStringList readLines(const QString& path);

// Lines of a file, or an empty list when it does not exist.
QStringList readLinesIfExists(const QString& path);

// The last line of a file ("" for an empty file). Throws FileError.
QString lastLine(const QString& path);

// Replaces the file atomically: a scratch copy beside it is written, flushed to
// disk and renamed over the file, so a crash leaves either the old or the new
// file. Every line is followed by CR LF unless finalLineEnd is false (then the
// last line has none). Throws FileError and leaves the old file intact.
void writeLinesAtomic(const QString& path, const QStringList& lines, bool finalLineEnd = true);
// The same for bytes as they stand (a PDF document, a downloaded file).
void writeBytesAtomic(const QString& path, const QByteArray& data);

// Creates the file empty (replacing it) without the atomic dance; for
// scratch files whose loss does no harm. Throws FileError.
void createEmpty(const QString& path);

// Appends lines, each followed by CR LF; creates the file when missing.
// With durable set the data is flushed to the disk before returning.
// Throws FileError.
void appendLines(const QString& path, const QStringList& lines, bool durable = false);
inline void appendLine(const QString& path, const QString& line, bool durable = false) {
    appendLines(path, QStringList{line}, durable);
}

// Whether a regular file exists at path.
bool exists(const QString& path);

// Joins a folder and a name with the path separator.
QString join(const QString& folder, const QString& name);

}  // namespace textfile
}  // namespace dorodure
