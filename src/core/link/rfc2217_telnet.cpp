#include "link/rfc2217_telnet.h"

namespace dorodure::rfc2217 {

using namespace telnet;

namespace {

// A subnegotiation longer than this is not one of ours; the rest is dropped.
constexpr qsizetype kMaxSubnegotiation = 64;

QByteArray command3(std::uint8_t verb, std::uint8_t option) {
    QByteArray out;
    out.append(char(kIac)).append(char(verb)).append(char(option));
    return out;
}

}  // namespace

QByteArray escapeData(const QByteArray& data) {
    QByteArray out;
    out.reserve(data.size() + 8);
    for (const char c : data) {
        out.append(c);
        if (std::uint8_t(c) == kIac) {
            out.append(c);
        }
    }
    return out;
}

QByteArray comPortCommand(std::uint8_t command, const QByteArray& value) {
    QByteArray out;
    out.append(char(kIac)).append(char(kSb)).append(char(kComPortOption)).append(char(command));
    out.append(escapeData(value));
    out.append(char(kIac)).append(char(kSe));
    return out;
}

QByteArray setControl(std::uint8_t value) {
    return comPortCommand(comport::kSetControl, QByteArray(1, char(value)));
}

QByteArray openingRequests() {
    return command3(kWill, kBinary) + command3(kDo, kBinary) + command3(kWill, kSuppressGoAhead) +
           command3(kDo, kSuppressGoAhead) + command3(kWill, kComPortOption);
}

QByteArray stationLineSettings() {
    const std::uint32_t baud = 9600;
    QByteArray baudBytes;
    for (int shift = 24; shift >= 0; shift -= 8) {
        baudBytes.append(char((baud >> shift) & 0xFF));
    }
    return comPortCommand(comport::kSetBaudRate, baudBytes) +
           comPortCommand(comport::kSetDataSize, QByteArray(1, char(8))) +
           comPortCommand(comport::kSetParity, QByteArray(1, char(comport::kParityNone))) +
           comPortCommand(comport::kSetStopSize, QByteArray(1, char(comport::kStopBits2))) +
           setControl(comport::kNoFlowControl) + setControl(comport::kRtsOff);
}

TelnetDecoder::TelnetDecoder() {
    // openingRequests() asked for these.
    ours_[kBinary] = Side::Requested;
    ours_[kSuppressGoAhead] = Side::Requested;
    ours_[kComPortOption] = Side::Requested;
    theirs_[kBinary] = Side::Requested;
    theirs_[kSuppressGoAhead] = Side::Requested;
}

bool TelnetDecoder::wanted(std::uint8_t option) {
    return option == kBinary || option == kSuppressGoAhead || option == kComPortOption;
}

void TelnetDecoder::feed(const QByteArray& input, QByteArray& data, QByteArray& replies) {
    for (const char c : input) {
        feedByte(std::uint8_t(c), data, replies);
    }
}

void TelnetDecoder::feedByte(std::uint8_t byte, QByteArray& data, QByteArray& replies) {
    switch (mode_) {
        case Mode::Data:
            if (byte == kIac) {
                mode_ = Mode::Iac;
            } else {
                data.append(char(byte));
            }
            return;
        case Mode::Iac:
            afterIac(byte, data);
            return;
        case Mode::Negotiate:
            mode_ = Mode::Data;
            negotiate(verb_, byte, replies);
            return;
        case Mode::Sub:
            if (byte == kIac) {
                mode_ = Mode::SubIac;
            } else if (sub_.size() < kMaxSubnegotiation) {
                sub_.append(char(byte));
            }
            return;
        case Mode::SubIac:
            if (byte == kIac) {
                mode_ = Mode::Sub;
                if (sub_.size() < kMaxSubnegotiation) {
                    sub_.append(char(byte));
                }
                return;
            }
            // SE ends it; anything else is a command that cut it short.
            endSubnegotiation();
            if (byte != kSe) {
                afterIac(byte, data);
            }
            return;
    }
}

void TelnetDecoder::afterIac(std::uint8_t byte, QByteArray& data) {
    mode_ = Mode::Data;
    if (byte == kIac) {
        data.append(char(byte));
    } else if (byte == kSb) {
        sub_.clear();
        mode_ = Mode::Sub;
    } else if (byte >= kWill && byte <= kDont) {
        verb_ = byte;
        mode_ = Mode::Negotiate;
    }
    // NOP, GA, BRK and the other one-byte commands carry nothing for us.
}

void TelnetDecoder::negotiate(std::uint8_t verb, std::uint8_t option, QByteArray& replies) {
    if (verb == kWill || verb == kWont) {
        answerWill(option, verb == kWill, replies);
    } else {
        answerDo(option, verb == kDo, replies);
    }
    comPortAgreed_ = theirs_[kComPortOption] == Side::On || ours_[kComPortOption] == Side::On;
}

// The server offers (WILL) or refuses (WONT) to perform an option.
void TelnetDecoder::answerWill(std::uint8_t option, bool will, QByteArray& replies) {
    Side& side = theirs_[option];
    if (will && wanted(option)) {
        if (side == Side::Off) {
            replies += command3(kDo, option);
        }
        side = Side::On;
    } else if (will) {
        replies += command3(kDont, option);  // ECHO and the rest stay off
    } else {
        if (side == Side::On) {
            replies += command3(kDont, option);
        }
        side = Side::Off;
    }
}

// The server asks us to perform (DO) or not to perform (DONT) an option.
void TelnetDecoder::answerDo(std::uint8_t option, bool doIt, QByteArray& replies) {
    Side& side = ours_[option];
    if (doIt && wanted(option)) {
        if (side == Side::Off) {
            replies += command3(kWill, option);
        }
        side = Side::On;
    } else if (doIt) {
        replies += command3(kWont, option);
    } else {
        if (side == Side::On) {
            replies += command3(kWont, option);
        }
        side = Side::Off;
    }
}

void TelnetDecoder::endSubnegotiation() {
    mode_ = Mode::Data;
    if (sub_.size() < 2 || std::uint8_t(sub_.at(0)) != kComPortOption) {
        return;
    }
    // Acknowledgements are kept but never waited for: some servers answer
    // SET-CONTROL wrongly or not at all.
    messages_.push_back(ServerMessage{std::uint8_t(sub_.at(1)), sub_.mid(2)});
    if (messages_.size() > 256) {
        messages_.erase(messages_.begin(), messages_.begin() + 128);
    }
}

std::vector<ServerMessage> TelnetDecoder::takeMessages() {
    std::vector<ServerMessage> out;
    out.swap(messages_);
    return out;
}

}  // namespace dorodure::rfc2217
