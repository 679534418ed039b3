#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <shared_mutex>
#include <vector>

namespace dorodure {

// One target of a language file line: a table entry, or a caption of a window
// control (label, button, check box, group, title, menu entry, tab, list
// column, list item, the site-deletion text).
struct CaptionTarget {
    enum class Kind {
        Entry,        // language table entry `index`
        Caption,      // form.control caption
        Title,        // form's window title
        Menu,         // form.control menu entry caption
        Column,       // form.control list column `index` (1-based)
        Tab,          // form.control tab `index` (1-based)
        Item,         // form.control list item `index` (1-based); item 1 empties the list first
        DialogTitle,  // form.control dialog title
        MemoClear,    // empties form.control (the site-deletion text)
        MemoLine,     // adds one line to form.control
    };
    Kind kind = Kind::Entry;
    QString form;     // e.g. "frmMain"; empty for entries
    QString control;  // e.g. "lblID"; empty for entries and titles
    int index = 0;    // entry number, column, tab or item number
};

// The meaning of one line of a language file (1-based line number).
struct LanguageLine {
    int line = 0;
    std::vector<CaptionTarget> targets;  // empty: "not used"
    // The English caption of the first window target as the window's own
    // layout has it; empty when the line only sets table entries.
    QString english;
};

// The 351-line layout of a language file, in line order.
const std::vector<LanguageLine>& languageFileLayout();

// One caption of a window with the text a language file gives it.
struct CaptionText {
    CaptionTarget target;
    QString text;
};

// The window targets of one form (e.g. "frmpoints") set by the lines of a
// language file, in line order; a window applies them one after the other
// (a MemoClear or an Item 1 empties its control before the lines that follow
// fill it). Gives nothing unless lines holds the 351 lines of a language file.
std::vector<CaptionText> captionsForForm(const QStringList& lines, const QString& form);

// The table of the program's user-visible texts: entries 1 to 200.
// Reads from the communications thread are safe while the window thread loads
// another language file.
class TLanguageTable {
  public:
    static constexpr int kEntries = 200;
    static constexpr int kFileLines = 351;

    using PdfTextsSink = std::function<void(const QStringList& entries1to199)>;
    using Trace = std::function<void(const QString&)>;

    // The table starts with the built-in texts, as after loadDefaults().
    TLanguageTable();

    // Entries 1-114 get their built-in English texts, 115-200 are emptied.
    // Traces "flinished language file defaults".
    void loadDefaults(const Trace& trace = {});

    // Counts the file's lines as the loader does: the number of line reads until
    // the end (a last line without line end counts; an empty file counts 1).
    // Throws FileError when the file cannot be read.
    static int countLines(const QString& path);

    // Loads a language file over the table. Returns an empty string on
    // success; otherwise the "corupt" message ("Error(" + count + ") " + path +
    // " Languauge file corupt please contact You program vendor"), and nothing
    // is applied. On success the captions are kept for the windows and entries
    // 1-199 are handed to the PDF sink. Traces "Load Language file start" and
    // "Load language file end". Throws FileError when the file cannot be read.
    QString loadLanguageFile(const QString& path, const Trace& trace = {});

    // Entry n (1-200); an entry never set, or n out of range, gives "".
    QString text(int n) const;
    void setText(int n, const QString& value);

    // The lines of the last successfully loaded file (351 of them), empty when
    // none was loaded; windows apply their captions from these with
    // captionsForForm() or languageFileLayout().
    QStringList loadedLines() const;

    void setPdfTextsSink(PdfTextsSink sink);

  private:
    // Sets the table entries of a 351-line file; the caller holds the lock.
    void applyLines(const QStringList& lines);

    mutable std::shared_mutex mutex_;
    std::array<QString, kEntries + 1> entries_;
    QStringList loadedLines_;
    PdfTextsSink pdfSink_;
};

}  // namespace dorodure
