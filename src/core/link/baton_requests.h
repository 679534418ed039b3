#pragma once

#include <QString>

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace dorodure {

// Programming requests that windows leave for the next baton on the station,
// read and cleared by the communications thread. All access is guarded; the
// record block is complete before writePending() turns true.
class BatonRequests {
  public:
    using Record = std::array<std::uint8_t, 7>;

    // --- Id window (entry "0000" at start) ---
    QString idEntry() const;
    void setIdEntry(const QString& entry);
    // "&Ok"/Enter: PendingId = entry, auto-increment off; "~": the same with
    // auto-increment on.
    void requestId(const QString& entry, bool autoIncrement);
    // "&Cancel": clears PendingId.
    void cancelId();

    QString pendingId() const;
    void clearPendingId();
    bool autoIncrement() const;
    void setAutoIncrement(bool on);

    // The look for a baton (session state 5): with auto-increment on and no id
    // pending, the entry read as a decimal number plus one becomes the entry
    // (four digits, zero-padded) and the pending id, and is returned. An entry
    // that is not a number, or a result above 9999, switches auto-increment
    // off instead.
    std::optional<QString> autoIncrementStep();

    // --- Record block (failed-patrol and checkpoint windows) ---
    // Stores the block, then sets WritePending.
    void queueBlock(const std::vector<Record>& records);
    bool writePending() const { return writePending_.load(std::memory_order_acquire); }
    // The flag itself, for processing, which must not open reports meanwhile.
    const std::atomic<bool>& writePendingFlag() const { return writePending_; }
    // A copy of the block (StoreData, StoreLen = size()).
    std::vector<Record> block() const;
    std::int64_t storeLen() const;
    std::int64_t storeIdx() const;
    void setStoreIdx(std::int64_t idx);
    void clearWritePending();

    // Start-up: no id and no block pending, auto-increment off.
    void reset();

  private:
    mutable std::mutex mutex_;
    QString idEntry_ = QStringLiteral("0000");
    QString pendingId_;
    bool autoIncrement_ = false;
    std::vector<Record> storeData_;
    std::int64_t storeIdx_ = 1;
    std::atomic<bool> writePending_{false};
};

}  // namespace dorodure
