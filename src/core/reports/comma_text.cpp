#include "comma_text.h"

namespace dorodure::commatext {

namespace {

bool isBlankOrControl(QChar c) {
    return c.unicode() <= 32;
}

bool needsQuotes(const QString& field) {
    for (const QChar c : field) {
        if (isBlankOrControl(c) || c == u'"' || c == u',') {
            return true;
        }
    }
    return false;
}

QString quoted(const QString& field) {
    QString doubled = field;
    doubled.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + doubled + u'"';
}

// Reads a quoted field starting at pos (on the opening quote); leaves pos
// after the closing quote (or at the end of the line when there is none).
QString readQuoted(const QString& line, qsizetype& pos) {
    QString field;
    ++pos;
    while (pos < line.size()) {
        const QChar c = line[pos++];
        if (c != u'"') {
            field += c;
        } else if (pos < line.size() && line[pos] == u'"') {
            field += u'"';
            ++pos;
        } else {
            break;
        }
    }
    return field;
}

QString readPlain(const QString& line, qsizetype& pos) {
    const qsizetype start = pos;
    while (pos < line.size() && line[pos] != u',' && !isBlankOrControl(line[pos])) {
        ++pos;
    }
    return line.mid(start, pos - start);
}

void skipBlanks(const QString& line, qsizetype& pos) {
    while (pos < line.size() && isBlankOrControl(line[pos])) {
        ++pos;
    }
}

}  // namespace

QString join(const QStringList& fields) {
    if (fields.size() == 1 && fields.front().isEmpty()) {
        return QStringLiteral("\"\"");
    }
    QStringList out;
    out.reserve(fields.size());
    for (const QString& field : fields) {
        out << (needsQuotes(field) ? quoted(field) : field);
    }
    return out.join(u',');
}

QStringList split(const QString& line) {
    QStringList fields;
    qsizetype pos = 0;
    skipBlanks(line, pos);
    while (pos < line.size()) {
        fields << (line[pos] == u'"' ? readQuoted(line, pos) : readPlain(line, pos));
        skipBlanks(line, pos);
        if (pos < line.size() && line[pos] == u',') {
            if (pos + 1 == line.size()) {
                fields << QString();
            }
            ++pos;
            skipBlanks(line, pos);
        }
        // Anything else after a field (a blank inside an unquoted field, text
        // after a closing quote) starts the next field.
    }
    return fields;
}

}  // namespace dorodure::commatext
