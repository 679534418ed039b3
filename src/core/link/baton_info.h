#pragma once

#include <QString>

#include <array>

namespace dorodure {

// The identity of the baton last read by the upload session.
struct TBatonInfo {
    // lblID's caption after the identity reply: language text 10, a blank and
    // the letters and digits among the baton's eight id characters; also the
    // raw upload file's header line.
    QString idCaption;
    // Four hex digits: the version bytes V1 V2.
    QString versionText;
    // Size in bytes of bank b at index b / 2.
    std::array<int, 8> bankSizes{};
};

}  // namespace dorodure
