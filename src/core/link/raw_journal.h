#pragma once

#include "processing/raw/raw_file.h"

#include <QString>

namespace dorodure {

// The upload session's view of "Raw.txt" while a baton is downloaded. Records
// are appended packet by packet; a bank's records become committed, and are
// forced to the disk, once the bank is complete and, when it is to be
// cleared, before the clear command is sent. A download that breaks off before its bank was
// committed is rolled back to the committed lines: those records are still on
// the baton and come again with its next upload, so they are never processed
// twice. Committed records are never removed. Errors throw FileError.
class RawJournal {
  public:
    explicit RawJournal(QString path);

    QString path() const { return writer_.path(); }

    // Creates the file with its identity line.
    void start(const QString& identityLine);
    void appendRecord(const QString& recordLine);
    // The lines written so far are safe to keep: they are forced to the disk.
    void commit();
    // Whether lines were written since the last commit.
    bool hasUncommitted() const { return active_ && lines_ > committed_; }
    // Cuts the file back to its committed lines (the identity line stays).
    void rollback();
    // Ends the running download after a break: rolls back, and when no record
    // was committed the file becomes "Done", as nothing in it needs processing.
    void abandon();
    // The file becomes the single text "Done" (a programmed baton).
    void resetToDone();
    // Forgets the running download (the file itself stays).
    void close() { active_ = false; }
    bool active() const { return active_; }
    // Committed record lines (the identity line not counted).
    int committedRecords() const { return committed_ > 0 ? committed_ - 1 : 0; }

  private:
    rawfile::RawUploadWriter writer_;
    bool active_ = false;
    int lines_ = 0;
    int committed_ = 0;
};

}  // namespace dorodure
