#pragma once

// Pictures of windows for the user guide: with DORODURE_SCREENSHOTS set to a
// folder (scripts/screenshots.sh does so under a virtual X display), a test
// saves what a window shows there as <name>.png; otherwise nothing happens.

#include <QDir>
#include <QString>
#include <QWidget>

namespace dorodure::test {

inline void saveScreenshot(QWidget& window, const QString& name) {
    const QString folder = qEnvironmentVariable("DORODURE_SCREENSHOTS");
    if (folder.isEmpty()) {
        return;
    }
    QDir().mkpath(folder);
    window.grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

}  // namespace dorodure::test
