// The delivered files: the digests the start-up check expects are those of
// the shipped files, and the demo folder is prepared from them.
#include "startup_fixture.h"

#include "shell/settings.h"
#include "shell/startup_checks.h"
#include "shell/text_file.h"
#include "startup_demo.h"
#include "startup_sequence.h"

#include <QPixmap>

#include <gtest/gtest.h>

namespace dorodure::test {
namespace {

const QString kDelivered = QStringLiteral(DORODURE_SOURCE_DIR "/data/delivered");

TEST(DeliveredFiles, DigestsInTheProgramMatchTheShippedFiles) {
    int withDigest = 0;
    for (const VitalFile& file : vitalFiles()) {
        if (file.name == QStringLiteral("dorodure")) {
            continue;  // the program itself is built, not shipped
        }
        const QString path = kDelivered + u'/' + file.name;
        ASSERT_TRUE(textfile::exists(path)) << file.name.toStdString();
        if (!file.md5.isEmpty()) {
            ++withDigest;
            EXPECT_EQ(md5OfFile(path), file.md5)
                << file.name.toStdString()
                << ": run scripts/make-delivered-files.py and update the digest";
        }
    }
    EXPECT_EQ(withDigest, 3);
}

TEST(DeliveredFiles, LogosArePictures) {
    for (const char* name : {"logo.gif", "logobig.gif"}) {
        const QPixmap picture(kDelivered + u'/' + QString::fromLatin1(name));
        EXPECT_FALSE(picture.isNull()) << name;
    }
    EXPECT_EQ(QPixmap(kDelivered + QStringLiteral("/logo.gif")).size(), QSize(160, 88));
}

TEST(DemoFolder, IsPreparedForTheSimulatedStation) {
    TempDataFolder folder;
    const QString program = folder.file(QStringLiteral("bin/dorodure"));
    writeBytes(program, "#!/bin/sh\n");
    const DemoSetup setup{folder.path() + QStringLiteral("/demo"), kDelivered, program};

    ASSERT_EQ(prepareDemoFolder(setup), QString());
    // Every vital file is there, so the integrity check passes.
    const IntegrityOutcome check = runIntegrityCheck(setup.dataFolder, vitalFiles());
    EXPECT_TRUE(check.mayContinue) << check.messages.join(u'\n').toStdString();
    EXPECT_TRUE(textfile::exists(setup.dataFolder + QStringLiteral("/English.lng")));
    TSettings settings(setup.dataFolder + QStringLiteral("/Dorodure.ini"));
    settings.load();
    EXPECT_EQ(settings.values().commPort, 1);
    const QString port1 = settings.rawValue(QStringLiteral("Port1"));
    EXPECT_TRUE(port1.startsWith(QStringLiteral("simulator:"))) << port1.toStdString();
    EXPECT_TRUE(textfile::exists(port1.mid(10)));
    // A second preparation keeps what is there.
    ASSERT_EQ(prepareDemoFolder(setup), QString());
}

}  // namespace
}  // namespace dorodure::test
