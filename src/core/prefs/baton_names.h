#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace dorodure {

// One row of the Preferences baton list.
struct BatonRow {
    QString serial;  // columns 5-8 of the entry (the baton's number)
    QString name;
    bool operator==(const BatonRow&) const = default;
};

// The baton names file "batname.cfg" of the data folder: after a header and an
// empty line, entries "<id text>=<name>" (id text of up to 8 characters, name
// of at least 2). Rewrites go through
// "temp.cfg" and replace the file atomically.
class BatonNames {
  public:
    explicit BatonNames(QString dataFolder);

    // Creates the file when missing (header, two empty lines, "//End of file")
    // and fills the rows. Throws FileError.
    void load();
    const std::vector<BatonRow>& rows() const { return rows_; }

    // The name for a baton's unit text: its id text is the text up to the
    // first blank, at most 8 characters, and is compared with the text before
    // the "=" of each entry; the last matching entry counts. A baton seen for
    // the first time is entered with its id text as its name. Throws FileError.
    QString batonName(const QString& unitText);

    // Renames every entry whose number (columns 5-8) is `serial`, in the file
    // and in the rows. Throws FileError.
    void renameBaton(const QString& serial, const QString& name);

    QString path() const;

  private:
    // Writes the lines to "temp.cfg", then replaces the file atomically.
    void rewrite(const QStringList& lines) const;
    QString dataFolder_;
    std::vector<BatonRow> rows_;
};

}  // namespace dorodure
