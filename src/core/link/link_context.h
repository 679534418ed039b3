#pragma once

#include "baton_info.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>

namespace dorodure {

class Clock;
class TTraceLog;
class TLanguageTable;
class TSettings;
class DisplayState;
class BatonRequests;
class LinkHost;
class SerialLine;

// What the baton link works with, owned by the program.
struct LinkServices {
    Clock& clock;
    const TLanguageTable& texts;
    TSettings& settings;
    DisplayState& display;
    BatonRequests& requests;
    LinkHost& host;
    QString dataFolder;          // Raw.txt lives here
    TTraceLog* trace = nullptr;  // thread trace; may be null
};

// The upload session's fields, shared by the state handlers and the receive
// handler; used on the communications thread only.
struct SessionFields {
    int state = 0;
    int stateDelay = 100;
    int bank = 14;
    int packetCount = 0;
    int bankSize = 0;
    // The bank held more than is read from it: it must not be cleared.
    bool bankTruncated = false;
    int retryCount = 0;
    bool headerWritten = false;
    bool gaugeOnRx = false;
    bool pollRx = false;
    int clockPolls = 0;
    qint64 loopCount = 0;
    qint64 startTick = 0;
    QString lastTimeText;

    // Protocol flags.
    bool replyOk = false;
    bool helloSeen = false;
    qint64 deadline = 0;

    // The baton on the station.
    TBatonInfo baton;
    // The baton whose upload Raw.txt holds (set when its header is written).
    TBatonInfo rawBaton;
    QByteArray idChars;  // i1 .. i8 as received
    int voltage = -1;    // last supply voltage report (1/51 V)

    // Set while the download loop reads a bank.
    bool downloading = false;
    // Set when writing Raw.txt failed: the running download ends at once.
    bool abortDownload = false;

    // The model tag: the first four id characters.
    QByteArray modelTag() const { return idChars.left(4); }
    bool isZiru() const { return modelTag() == "Ziru"; }
    bool anyZiruTag() const {
        const QByteArray t = modelTag();
        return t == "Ziru" || t == "ZIRU" || t == "ZirU";
    }
    // Fourth id character "C": the baton keeps its clock in seconds.
    bool secondsModel() const { return idChars.size() >= 4 && idChars.at(3) == 'C'; }
};

}  // namespace dorodure
