#include "baton_requests.h"

namespace dorodure {

QString BatonRequests::idEntry() const {
    std::lock_guard lock(mutex_);
    return idEntry_;
}

void BatonRequests::setIdEntry(const QString& entry) {
    std::lock_guard lock(mutex_);
    idEntry_ = entry;
}

void BatonRequests::requestId(const QString& entry, bool autoIncrement) {
    std::lock_guard lock(mutex_);
    idEntry_ = entry;
    pendingId_ = entry;
    autoIncrement_ = autoIncrement;
}

void BatonRequests::cancelId() {
    std::lock_guard lock(mutex_);
    pendingId_.clear();
}

QString BatonRequests::pendingId() const {
    std::lock_guard lock(mutex_);
    return pendingId_;
}

void BatonRequests::clearPendingId() {
    std::lock_guard lock(mutex_);
    pendingId_.clear();
}

bool BatonRequests::autoIncrement() const {
    std::lock_guard lock(mutex_);
    return autoIncrement_;
}

void BatonRequests::setAutoIncrement(bool on) {
    std::lock_guard lock(mutex_);
    autoIncrement_ = on;
}

std::optional<QString> BatonRequests::autoIncrementStep() {
    std::lock_guard lock(mutex_);
    if (!autoIncrement_ || !pendingId_.isEmpty()) {
        return std::nullopt;
    }
    bool ok = false;
    const int value = idEntry_.trimmed().toInt(&ok, 10);
    if (!ok || value < 0 || value + 1 > 9999) {
        autoIncrement_ = false;
        return std::nullopt;
    }
    idEntry_ = QStringLiteral("%1").arg(value + 1, 4, 10, QLatin1Char('0'));
    pendingId_ = idEntry_;
    return idEntry_;
}

void BatonRequests::queueBlock(const std::vector<Record>& records) {
    {
        std::lock_guard lock(mutex_);
        storeData_ = records;
        storeIdx_ = 1;
    }
    writePending_.store(!records.empty(), std::memory_order_release);
}

std::vector<BatonRequests::Record> BatonRequests::block() const {
    std::lock_guard lock(mutex_);
    return storeData_;
}

std::int64_t BatonRequests::storeLen() const {
    std::lock_guard lock(mutex_);
    return std::int64_t(storeData_.size());
}

std::int64_t BatonRequests::storeIdx() const {
    std::lock_guard lock(mutex_);
    return storeIdx_;
}

void BatonRequests::setStoreIdx(std::int64_t idx) {
    std::lock_guard lock(mutex_);
    storeIdx_ = idx;
}

void BatonRequests::clearWritePending() {
    writePending_.store(false, std::memory_order_release);
}

void BatonRequests::reset() {
    std::lock_guard lock(mutex_);
    pendingId_.clear();
    autoIncrement_ = false;
    storeData_.clear();
    storeIdx_ = 1;
    writePending_.store(false, std::memory_order_release);
}

}  // namespace dorodure
