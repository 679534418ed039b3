#pragma once

#include "baton_protocol.h"
#include "baton_requests.h"
#include "link_context.h"
#include "raw_journal.h"

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <vector>

namespace dorodure {

class SerialLine;

// The DTR-on echo test of the port search: the reply, padded with blanks to
// 7 characters, is "Emty" and three blanks, or holds "Emty" at characters
// 2-5, 3-6 or 4-7.
bool echoTestPasses(const QByteArray& reply);

// Makes the line for a port number ("COM" + number); nullptr when the port
// does not exist.
using LineFactory = std::function<std::unique_ptr<SerialLine>(int port)>;

// The work of the communications thread: the search for the upload station,
// then the upload session's timed state machine, one pass at a time. Runs on
// one thread (the communications thread, or a test's own thread).
class UploadSession {
  public:
    // How long a session may sit in the states that only a reply leaves
    // (210 after a 14 report, 220 after a refused id) before it starts over.
    static constexpr qint64 kStuckStateMs = 5000;

    UploadSession(LinkServices& services, LineFactory factory,
                  const std::atomic<bool>& stopRequested);
    ~UploadSession();

    // Searches the ports for the station until it is found or a stop is
    // requested; then sets PortReady.
    void discover();
    // Sets up the state machine before its first pass.
    void prepareLoop();
    // One pass of the main loop: pause for the state delay, then the handler
    // of the current state. A port failure closes the port and searches again.
    void runPass();
    // On the way out: the running download is rolled back to what is safe,
    // DTR is set on and the port closed.
    void finish();

    int portNumber() const { return portNumber_.load(); }
    // The Port Setup window: a running search continues from this number.
    void setPortNumber(int port) { portNumber_.store(port); }
    bool portReady() const { return portReady_.load(); }

    // Observation, safe from any thread.
    int currentState() const { return stateMirror_.load(); }
    // Sessions that identified a baton, handled all its banks and requests
    // and then saw the baton leave.
    int completedSessions() const { return completedSessions_.load(); }

    // For tests on the session's own thread.
    const SessionFields& fields() const { return f_; }
    SessionFields& fields() { return f_; }
    TBatonProtocol& protocol() { return protocol_; }
    SerialLine* line() const { return line_.get(); }

  private:
    using Handler = void (UploadSession::*)();
    struct StateRow {
        int state;
        Handler handler;
    };
    static const std::vector<StateRow>& stateTable();

    void passBody();
    void dispatch();
    void leaveStuckStates();
    void onPortFailure(const QString& message);
    void abandonDownload();
    QString delay() const { return protocol_.delayText(); }
    void trace(const QString& message) const { protocol_.trace(message); }
    QString text(int entry) const { return protocol_.text(entry); }
    QString rawPath() const;

    // Port discovery.
    void startPass();
    bool probePort();
    bool openWithTries();
    void notePermissionDenied(const QString& why);
    bool echoWithDtrOn();
    bool echoWithDtrOff();
    void setDtrTraced(bool on, const QString& failureTrace);
    QByteArray readWaiting();
    void writePort(const QByteArray& bytes);
    void rememberPort();
    void checkStation();
    void openIfClosed();

    // States.
    void state0();
    void state5();
    void state10();
    void state20();
    void state130();
    void state140();
    void state155();
    void state160();
    void state180();
    void state200();
    void state250();
    void stateNoAction();

    void identify();
    bool recoverUnprocessedUpload();
    void autoIncrementStep();
    void sendPendingId();
    void runDoRaw();
    void pollClock();
    void sendClockRead();
    void downloadLoop();
    void readBank();
    void startRecordWrite();
    void writeNextRecord();
    void writeEndPointer();

    LinkServices& s_;
    LineFactory factory_;
    const std::atomic<bool>& stop_;
    SessionFields f_;
    RawJournal journal_;
    TBatonProtocol protocol_;
    std::unique_ptr<SerialLine> line_;
    std::vector<BatonRequests::Record> block_;

    std::atomic<int> portNumber_{0};
    // Why a port that exists could not be opened for lack of permission;
    // shown with the search's status line until the station is found.
    QString permissionNote_;
    std::atomic<bool> portReady_{false};
    std::atomic<int> stateMirror_{0};
    std::atomic<int> completedSessions_{0};

    int lastPassState_ = -1;
    qint64 stateSince_ = 0;
    bool sessionDone_ = false;  // all banks and requests served for this baton
};

}  // namespace dorodure
