// Programming a baton: a new id, and a block of records written to bank 0
// after the banks were handled and the upload processed.
#include "display_state.h"
#include "frames.h"
#include "shell/file_error.h"
#include "upload_session.h"

namespace dorodure {

void UploadSession::sendPendingId() {
    // As the trace line says, the buffer is emptied first: the clock's
    // acknowledgement still held would otherwise stand for the id's.
    protocol_.rx().clear();
    trace(QStringLiteral("RxInd=0 >Send 07 Command< ") + delay());
    s_.display.setStatus(text(15));
    protocol_.sendFrame(frames::setBatonId(s_.requests.pendingId()));
    f_.replyOk = false;
    f_.stateDelay = 500;
    f_.state = 0;
}

void UploadSession::startRecordWrite() {
    f_.bank = 0;
    f_.headerWritten = true;
    block_ = s_.requests.block();
    const int maximum = int(block_.size()) * 11 + 15;
    s_.display.update([&](DisplaySnapshot& d) {
        d.gaugeProgress = 0;
        d.gaugeMax = maximum;
        d.label4Visible = false;
        d.statusText = QStringLiteral("Clearing memory");
    });
    protocol_.rx().clear();
    trace(QStringLiteral("RxInd=0 >Send 0B Command Clr Mem B< ") + delay());
    protocol_.sendFrame(frames::startReading(0, 8));
    f_.replyOk = false;
    f_.state = 250;
    s_.requests.setStoreIdx(1);
    f_.stateDelay = 1;
    const bool answered = protocol_.waitReply(500);
    f_.headerWritten = false;
    if (!answered) {
        f_.state = 0;
        trace(QStringLiteral("TimeOut with Clear mem for setfp"));
    }
}

void UploadSession::state250() {
    if (s_.requests.storeIdx() <= std::int64_t(block_.size())) {
        writeNextRecord();
    } else {
        writeEndPointer();
    }
}

void UploadSession::writeNextRecord() {
    const std::int64_t idx = s_.requests.storeIdx();
    trace(QStringLiteral("StoreLen=") + QString::number(block_.size()));
    s_.display.setStatus(text(71));
    protocol_.rx().clear();
    trace(QStringLiteral("RxInd=0 >Send 0F Command Baton Write< ") + delay());
    protocol_.sendFrame(frames::writeRecord(block_[std::size_t(idx - 1)]));
    f_.replyOk = false;
    s_.requests.setStoreIdx(idx + 1);
    if (!protocol_.waitReply(500)) {
        f_.state = 0;
        trace(QStringLiteral("TimeOut with Write to baton"));
    }
}

void UploadSession::writeEndPointer() {
    protocol_.rx().clear();
    trace(QStringLiteral("RxInd=0 >Send 11 Command C < ") + delay());
    protocol_.sendFrame(frames::setEndPointer(0, int(block_.size()) * 8 + 8));
    f_.bank = -4;
    f_.replyOk = false;
    f_.state = 160;
    s_.requests.clearWritePending();
    f_.headerWritten = false;
    try {
        journal_.resetToDone();
    } catch (const FileError& e) {
        trace(QStringLiteral("Raw.txt not reset: ") + e.message());
    }
    if (!protocol_.waitReply(500)) {
        f_.state = 0;
        trace(QStringLiteral("TimeOut with Set Data Pointer"));
    }
}

}  // namespace dorodure
