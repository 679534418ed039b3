#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>
#include <vector>

namespace dorodure::rfc2217 {

// Telnet bytes and options used by a serial device server (RFC 854, 856,
// 858 and the COM-PORT-OPTION of RFC 2217).
namespace telnet {
inline constexpr std::uint8_t kSe = 240;
inline constexpr std::uint8_t kSb = 250;
inline constexpr std::uint8_t kWill = 251;
inline constexpr std::uint8_t kWont = 252;
inline constexpr std::uint8_t kDo = 253;
inline constexpr std::uint8_t kDont = 254;
inline constexpr std::uint8_t kIac = 255;

inline constexpr std::uint8_t kBinary = 0;
inline constexpr std::uint8_t kEcho = 1;
inline constexpr std::uint8_t kSuppressGoAhead = 3;
inline constexpr std::uint8_t kComPortOption = 44;
}  // namespace telnet

// COM-PORT-OPTION commands from the client; the server answers with the
// command + 100.
namespace comport {
inline constexpr std::uint8_t kSetBaudRate = 1;
inline constexpr std::uint8_t kSetDataSize = 2;
inline constexpr std::uint8_t kSetParity = 3;
inline constexpr std::uint8_t kSetStopSize = 4;
inline constexpr std::uint8_t kSetControl = 5;
inline constexpr std::uint8_t kNotifyLineState = 6;
inline constexpr std::uint8_t kNotifyModemState = 7;
inline constexpr std::uint8_t kServerOffset = 100;

inline constexpr std::uint8_t kParityNone = 1;
inline constexpr std::uint8_t kStopBits2 = 2;

// SET-CONTROL values.
inline constexpr std::uint8_t kNoFlowControl = 1;
inline constexpr std::uint8_t kBreakOn = 5;
inline constexpr std::uint8_t kBreakOff = 6;
inline constexpr std::uint8_t kDtrOn = 8;
inline constexpr std::uint8_t kDtrOff = 9;
inline constexpr std::uint8_t kRtsOff = 12;
}  // namespace comport

// Doubles every 0xFF so that data bytes never read as Telnet commands.
QByteArray escapeData(const QByteArray& data);

// IAC SB COM-PORT-OPTION command value IAC SE, with 0xFF in the value doubled.
QByteArray comPortCommand(std::uint8_t command, const QByteArray& value);
QByteArray setControl(std::uint8_t value);

// The requests a client sends right after connecting: both sides BINARY and
// SUPPRESS-GO-AHEAD, and the client offers COM-PORT-OPTION.
QByteArray openingRequests();

// The line settings of the upload station: 9600 baud, 8 data bits, no
// parity, 2 stop bits, no flow control, RTS off.
QByteArray stationLineSettings();

// One COM-PORT-OPTION message from the server (an acknowledgement or a
// notification), without the option byte.
struct ServerMessage {
    std::uint8_t command = 0;
    QByteArray value;
};

// Reads the byte stream of a Telnet server: data bytes are passed on with
// doubled 0xFF undone, negotiations are answered (BINARY, SUPPRESS-GO-AHEAD
// and COM-PORT-OPTION are accepted, everything else refused) and
// COM-PORT-OPTION messages are kept. A command may be split across calls.
class TelnetDecoder {
  public:
    TelnetDecoder();

    // Data bytes go to data, answers for the server to replies.
    void feed(const QByteArray& input, QByteArray& data, QByteArray& replies);

    // The server has agreed that the client speaks COM-PORT-OPTION.
    bool comPortAgreed() const { return comPortAgreed_; }
    // Server messages seen so far; cleared by takeMessages().
    std::vector<ServerMessage> takeMessages();

  private:
    enum class Mode { Data, Iac, Negotiate, Sub, SubIac };
    // Per option and side: what we last sent or agreed.
    enum class Side : std::uint8_t { Off, Requested, On };

    void feedByte(std::uint8_t byte, QByteArray& data, QByteArray& replies);
    void afterIac(std::uint8_t byte, QByteArray& data);
    void negotiate(std::uint8_t verb, std::uint8_t option, QByteArray& replies);
    void answerWill(std::uint8_t option, bool will, QByteArray& replies);
    void answerDo(std::uint8_t option, bool doIt, QByteArray& replies);
    void endSubnegotiation();

    static bool wanted(std::uint8_t option);

    Mode mode_ = Mode::Data;
    std::uint8_t verb_ = 0;
    QByteArray sub_;
    std::array<Side, 256> ours_{};    // options we perform (WILL)
    std::array<Side, 256> theirs_{};  // options the server performs (DO)
    std::vector<ServerMessage> messages_;
    bool comPortAgreed_ = false;
};

}  // namespace dorodure::rfc2217
