#pragma once

#include <QString>
#include <QStringList>

namespace dorodure {

// Comma text: the fields of one line of a comma-separated file.
namespace commatext {

// Joins fields with ",". A field holding a character whose code is 32 or
// less, a double quote or a comma is enclosed in double quotes with every
// double quote inside it doubled; any other field, the empty one included, is
// written as it stands. A line of one empty field is written as "".
QString join(const QStringList& fields);

// Splits a line: blanks and control characters before a field are skipped; a
// field starting with a double quote runs to the matching closing quote (a
// doubled quote inside stands for one); any other field runs to the next comma
// or the next character whose code is 32 or less; what follows a field other
// than a comma starts the next field. A comma at the very end
// adds an empty field. An empty line gives no field.
QStringList split(const QString& line);

}  // namespace commatext
}  // namespace dorodure
