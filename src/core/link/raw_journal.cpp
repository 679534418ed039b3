#include "raw_journal.h"

#include "shell/text_file.h"

namespace dorodure {

RawJournal::RawJournal(QString path) : writer_(std::move(path)) {}

void RawJournal::start(const QString& identityLine) {
    active_ = true;
    lines_ = 0;
    committed_ = 0;
    writer_.start(identityLine);
    lines_ = 1;
    committed_ = 1;
}

void RawJournal::appendRecord(const QString& recordLine) {
    // Handed to the system at once (a crash of the program loses nothing);
    // forced to the disk only when the bank is committed, once per bank.
    textfile::appendLine(writer_.path(), recordLine, false);
    ++lines_;
}

void RawJournal::commit() {
    if (active_ && lines_ > committed_) {
        textfile::appendLines(writer_.path(), QStringList(), true);
    }
    committed_ = lines_;
}

void RawJournal::rollback() {
    if (!hasUncommitted()) {
        return;
    }
    QStringList lines = textfile::readLines(writer_.path());
    lines = lines.mid(0, committed_);
    textfile::writeLinesAtomic(writer_.path(), lines);
    lines_ = committed_;
}

void RawJournal::abandon() {
    if (!active_) {
        return;
    }
    rollback();
    if (committed_ <= 1) {
        resetToDone();
    }
    active_ = false;
}

void RawJournal::resetToDone() {
    writer_.resetToDone();
    active_ = false;
    lines_ = committed_ = 0;
}

}  // namespace dorodure
