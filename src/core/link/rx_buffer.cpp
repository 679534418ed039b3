#include "rx_buffer.h"

#include "frames.h"

#include <algorithm>

namespace dorodure {

bool RxBuffer::push(std::uint8_t byte) {
    bytes_[std::size_t(count_)] = byte;
    ++count_;
    if (count_ > kLimit) {
        count_ = 0;
        return false;
    }
    return true;
}

void RxBuffer::drop(int n) {
    if (n >= count_) {
        count_ = 0;
        return;
    }
    std::copy(bytes_.begin() + n, bytes_.begin() + count_, bytes_.begin());
    count_ -= n;
}

bool RxBuffer::holdsGreeting() const {
    for (int i = 0; i + 1 < count_; ++i) {
        if (bytes_[std::size_t(i)] == 0x01 && bytes_[std::size_t(i + 1)] == 0x0D) {
            return true;
        }
    }
    return false;
}

bool RxBuffer::checkAt(int n) const {
    if (n < 2 || n > count_) {
        return false;
    }
    return frames::crc8(bytes_.data(), n - 1) == bytes_[std::size_t(n - 1)];
}

QByteArray RxBuffer::head(int n) const {
    return QByteArray(reinterpret_cast<const char*>(bytes_.data()), std::min(n, kLimit + 1));
}

}  // namespace dorodure
