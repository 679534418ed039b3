#include "link/device_access.h"

#include <QFile>

#include <fcntl.h>
#include <unistd.h>
#include <cerrno>

namespace dorodure {

namespace {

// AT_EACCESS checks with the effective rights, as open() does; a plain
// access() would use the real ones and, for root, capabilities an open may
// no longer have.
int checkReadWrite(const QString& device) {
    const QByteArray path = QFile::encodeName(device);
    return faccessat(AT_FDCWD, path.constData(), R_OK | W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

}  // namespace

bool mayReadAndWrite(const QString& device) {
    return !device.isEmpty() && checkReadWrite(device) == 0;
}

bool accessDenied(const QString& device) {
    if (device.isEmpty()) {
        return false;
    }
    const int error = checkReadWrite(device);
    return error == EACCES || error == EPERM || error == EROFS;
}

}  // namespace dorodure
