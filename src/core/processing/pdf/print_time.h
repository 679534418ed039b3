#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace dorodure {

// The print time in a report footer: the locale's short date and long time,
// without a time-zone name.
QString pdfPrintTime(const QDateTime& when, const QLocale& locale = QLocale::system());

}  // namespace dorodure
