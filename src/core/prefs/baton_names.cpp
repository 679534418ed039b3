#include "baton_names.h"

#include "shell/text_file.h"

#include <optional>

namespace dorodure {

namespace {

const QString kHeader = QStringLiteral("//Baton names for their serial number");
const QString kEndLine = QStringLiteral("//End of file");
constexpr int kIdLength = 8;
// A name needs at least two characters to be read back.
constexpr int kMinName = 2;

struct Entry {
    QString id;
    QString name;
};

// An entry line is "<id text>=<name>" with an id of up to eight characters.
// The id is what stands before the "=", so batons whose id text is shorter
// than eight characters are found again.
std::optional<Entry> parseEntry(const QString& line) {
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0 || eq > kIdLength) {
        return std::nullopt;
    }
    Entry e{line.left(eq), line.mid(eq + 1)};
    if (e.name.size() < kMinName) {
        return std::nullopt;
    }
    return e;
}

// The baton's number: the characters after the four of the model tag.
QString serialOf(const QString& id) {
    return id.mid(4, 4);
}

// The id text of a unit text such as "Ziru0123" or "Ziru0123   Dly : 2".
QString idTextOf(const QString& unitText) {
    const qsizetype blank = unitText.indexOf(u' ');
    return (blank < 0 ? unitText : unitText.left(blank)).left(kIdLength);
}

}  // namespace

BatonNames::BatonNames(QString dataFolder) : dataFolder_(std::move(dataFolder)) {}

QString BatonNames::path() const {
    return textfile::join(dataFolder_, QStringLiteral("batname.cfg"));
}

void BatonNames::load() {
    if (!textfile::exists(path())) {
        textfile::writeLinesAtomic(path(), {kHeader, QString(), QString(), kEndLine});
    }
    const QStringList lines = textfile::readLines(path());
    rows_.clear();
    for (qsizetype n = 2; n < lines.size(); ++n) {
        if (lines[n] == kEndLine) {
            continue;
        }
        if (auto e = parseEntry(lines[n])) {
            rows_.push_back(BatonRow{serialOf(e->id), e->name});
        }
    }
}

QString BatonNames::batonName(const QString& unitText) {
    const QString id = idTextOf(unitText);
    if (id.isEmpty()) {
        return {};
    }
    QStringList lines = textfile::readLinesIfExists(path());
    if (lines.isEmpty()) {
        lines = QStringList{kHeader, QString(), QString()};
    }
    QString found;
    for (qsizetype n = 2; n < lines.size(); ++n) {
        const auto e = parseEntry(lines[n]);
        if (e && e->id == id) {
            found = e->name;
        }
    }
    if (!found.isEmpty()) {
        return found;
    }
    lines << id + u'=' + id;
    rewrite(lines);
    rows_.push_back(BatonRow{serialOf(id), id});
    return id;
}

void BatonNames::renameBaton(const QString& serial, const QString& name) {
    for (BatonRow& row : rows_) {
        if (row.serial == serial) {
            row.name = name;
        }
    }
    QStringList lines = textfile::readLines(path());
    for (qsizetype n = 2; n < lines.size(); ++n) {
        const auto e = parseEntry(lines[n]);
        if (e && serialOf(e->id) == serial) {
            lines[n] = e->id + u'=' + name;
        }
    }
    rewrite(lines);
}

void BatonNames::rewrite(const QStringList& lines) const {
    textfile::writeLinesAtomic(textfile::join(dataFolder_, QStringLiteral("temp.cfg")), lines);
    textfile::writeLinesAtomic(path(), lines);
}

}  // namespace dorodure
