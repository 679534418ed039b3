#pragma once

#include <QFile>
#include <QString>

#include <sys/resource.h>
#include <unistd.h>
#include <csignal>

namespace dorodure::test {

// Makes every write that grows a file past `bytes` fail (EFBIG) while it
// lives. Works for the superuser too, unlike a read-only folder.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
};

// Takes write permission from a folder while it lives (no effect for root).
class ReadOnlyFolder {
  public:
    explicit ReadOnlyFolder(QString path) : path_(std::move(path)) {
        old_ = QFile::permissions(path_);
        QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    ~ReadOnlyFolder() { QFile::setPermissions(path_, old_); }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;
    static bool effective() { return ::geteuid() != 0; }

  private:
    QString path_;
    QFileDevice::Permissions old_;
};

}  // namespace dorodure::test
