// The main loop of the upload session: one pass pauses for the state delay
// and runs the handler of the current state, looked up in the state table.
#include "display_state.h"
#include "serial_line.h"
#include "shell/clock.h"
#include "shell/file_error.h"
#include "shell/text_file.h"
#include "upload_session.h"

#include <algorithm>

namespace dorodure {

UploadSession::UploadSession(LinkServices& services, LineFactory factory,
                             const std::atomic<bool>& stopRequested)
    : s_(services),
      factory_(std::move(factory)),
      stop_(stopRequested),
      journal_(textfile::join(services.dataFolder, QStringLiteral("Raw.txt"))),
      protocol_(f_, services, journal_, stopRequested) {
    f_.startTick = s_.clock.tickMs();
}

UploadSession::~UploadSession() = default;

const std::vector<UploadSession::StateRow>& UploadSession::stateTable() {
    static const std::vector<StateRow> rows = {
        {0, &UploadSession::state0},          {5, &UploadSession::state5},
        {10, &UploadSession::state10},        {20, &UploadSession::state20},
        {130, &UploadSession::state130},      {140, &UploadSession::state140},
        {155, &UploadSession::state155},      {160, &UploadSession::state160},
        {180, &UploadSession::state180},      {200, &UploadSession::state200},
        {250, &UploadSession::state250},      {210, &UploadSession::stateNoAction},
        {220, &UploadSession::stateNoAction},
    };
    return rows;
}

QString UploadSession::rawPath() const {
    return journal_.path();
}

void UploadSession::prepareLoop() {
    f_.state = 0;
    f_.stateDelay = 100;
    portReady_.store(true);
    s_.display.setStatus(text(111));
    trace(QStringLiteral("starting program"));
    stateMirror_.store(f_.state);
}

void UploadSession::runPass() {
    try {
        passBody();
    } catch (const PortError& e) {
        onPortFailure(QString::fromStdString(e.what()));
    } catch (const FileError& e) {
        trace(QStringLiteral("File error: ") + e.message());
        f_.state = 0;
    }
    stateMirror_.store(f_.state);
}

void UploadSession::passBody() {
    trace(QStringLiteral("dly>") + delay());
    protocol_.pause(f_.stateDelay);
    if (stop_.load()) {
        return;
    }
    f_.pollRx = true;
    trace(QStringLiteral("Loopcount ") + QString::number(f_.loopCount));
    f_.loopCount += 1;
    trace(QStringLiteral("Tmr>") + QString::number(s_.clock.tickMs()) +
          QStringLiteral(" >State= ") + QString::number(f_.state) + QStringLiteral(" >Dly= ") +
          delay());
    leaveStuckStates();
    dispatch();
}

void UploadSession::dispatch() {
    const auto& rows = stateTable();
    auto it = std::find_if(rows.begin(), rows.end(),
                           [this](const StateRow& row) { return row.state == f_.state; });
    if (it != rows.end()) {
        (this->*(it->handler))();
    }
}

void UploadSession::leaveStuckStates() {
    const qint64 now = s_.clock.tickMs();
    if (f_.state != lastPassState_) {
        lastPassState_ = f_.state;
        stateSince_ = now;
        return;
    }
    if ((f_.state == 210 || f_.state == 220) && now - stateSince_ >= kStuckStateMs) {
        trace(QStringLiteral("TimeOut in state ") + QString::number(f_.state));
        f_.state = 0;
    }
}

void UploadSession::stateNoAction() {}

void UploadSession::abandonDownload() {
    try {
        journal_.abandon();
    } catch (const FileError& e) {
        trace(QStringLiteral("Raw.txt not rolled back: ") + e.message());
    }
    f_.abortDownload = false;
}

void UploadSession::onPortFailure(const QString& message) {
    trace(QStringLiteral("Port failure: ") + message);
    abandonDownload();
    if (line_ != nullptr) {
        line_->close();
    }
    portReady_.store(false);
    sessionDone_ = false;
    discover();
    f_.state = 0;
    f_.stateDelay = 100;
}

void UploadSession::finish() {
    abandonDownload();
    if (line_ != nullptr) {
        try {
            line_->setDtr(true);
        } catch (const PortError&) {
            trace(QStringLiteral("Error 20 Set DTR") + QString::number(portNumber_.load()));
        }
    }
    trace(QStringLiteral("At end I think"));
    if (line_ != nullptr) {
        line_->close();
    }
}

}  // namespace dorodure
