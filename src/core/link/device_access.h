#pragma once

#include <QString>

namespace dorodure {

// Whether this process may open the device for reading and writing, judged
// with the rights an open uses (effective user, groups and capabilities).
// False when the device is missing.
bool mayReadAndWrite(const QString& device);

// The device exists, but this process may not open it for reading and
// writing (the usual cause: the user is not in the device's group).
bool accessDenied(const QString& device);

}  // namespace dorodure
