#pragma once

#include <QByteArray>

#include <array>
#include <cstdint>

namespace dorodure {

// The receive buffer of the baton protocol: bytes are stored one after the
// other; `count()` is how many belong to the frame being assembled. Emptying
// only resets the count, so the fields of a recognised reply can still be read
// at their positions until new bytes overwrite them. Positions are 1-based.
class RxBuffer {
  public:
    // More bytes than this empty the buffer and restart the session.
    static constexpr int kLimit = 100;

    // Stores one byte after the held ones; returns false (and empties the
    // buffer) when the count would exceed the limit.
    bool push(std::uint8_t byte);
    int count() const { return count_; }
    bool empty() const { return count_ == 0; }
    void clear() { count_ = 0; }
    // Drops n leading bytes, moving the rest to the front.
    void drop(int n);
    // Byte at a 1-based position (also beyond count(): the stale bytes).
    std::uint8_t at(int position) const { return bytes_[std::size_t(position - 1)]; }
    // Whether 01 0D stands anywhere among the held bytes.
    bool holdsGreeting() const;
    // Whether the CRC of positions 1 .. n-1 equals position n (n <= count()).
    bool checkAt(int n) const;
    // Positions 1 .. n as bytes.
    QByteArray head(int n) const;

  private:
    std::array<std::uint8_t, kLimit + 1> bytes_{};
    int count_ = 0;
};

}  // namespace dorodure
