#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace dorodure {

// One row of the Preferences baton list.
struct BatonRow {
    QString serial;  // columns 5-8 of the entry (the baton's number)
    QString name;
};

// The baton names file "batname.cfg" of the data folder: after a header and an
// empty line, entries "<8-char id text>=<name>". Rewrites go through
// "temp.cfg" and replace the file atomically.
class BatonNames {
  public:
    explicit BatonNames(QString dataFolder);

    // Creates the file when missing (header, two empty lines, "//End of file")
    // and fills the rows. Throws FileError.
    void load();
    const std::vector<BatonRow>& rows() const { return rows_; }

    // The name for a baton's id text; a baton seen for the first time is
    // entered with its id text as its name. Throws FileError.
    QString batonName(const QString& idText);

    // Renames every entry whose number (columns 5-8) is `serial`, in the file
    // and in the rows. Throws FileError.
    void renameBaton(const QString& serial, const QString& name);

    QString path() const;

  private:
    QString dataFolder_;
    std::vector<BatonRow> rows_;
};

}  // namespace dorodure
