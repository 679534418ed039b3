#pragma once

#include "link/serial_line.h"

#include <memory>
#include <utility>

namespace dorodure {

// A line that hands every call to a line kept elsewhere, so that whoever
// owns this wrapper can drop it while the line itself lives on (the port
// search opens and drops lines; a simulated station and its batons stay).
class SharedLine final : public SerialLine {
  public:
    explicit SharedLine(std::shared_ptr<SerialLine> line) : line_(std::move(line)) {}
    bool open() override { return line_->open(); }
    void close() override { line_->close(); }
    bool isOpen() const override { return line_->isOpen(); }
    QString errorString() const override { return line_->errorString(); }
    bool permissionDenied() const override { return line_->permissionDenied(); }
    void setDtr(bool on) override { line_->setDtr(on); }
    void setBreak(bool on) override { line_->setBreak(on); }
    qint64 bytesWaiting() override { return line_->bytesWaiting(); }
    QByteArray read(qint64 maxBytes) override { return line_->read(maxBytes); }
    qint64 write(const QByteArray& bytes) override { return line_->write(bytes); }
    bool waitForBytes(qint64 timeoutMs) override { return line_->waitForBytes(timeoutMs); }

  private:
    std::shared_ptr<SerialLine> line_;
};

}  // namespace dorodure
