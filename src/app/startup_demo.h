#pragma once

#include <QString>

namespace dorodure {

// Demo mode: a data folder in which a new user sees an upload without
// hardware. Port 1 is a simulated upload station on which a demo baton is
// placed every little while; the delivered files are copied in, the program
// itself is linked in, so that the start-up checks pass.
struct DemoSetup {
    QString dataFolder;
    QString deliveredFolder;  // the shipped files (logos, help, language file)
    QString programPath;      // the running program
};

// The baton file of the demo station: the demo baton, again and again.
QString demoBatonFileText();

// Prepares the folder (existing files are kept, so a user's changes stay) and
// returns an empty string, or what could not be prepared.
QString prepareDemoFolder(const DemoSetup& setup);

// Finds the folder of the delivered files: beside the program when installed,
// else the given build-time folder. Empty when neither has them.
QString findDeliveredFolder(const QString& programPath, const QString& buildTimeFolder);

}  // namespace dorodure
