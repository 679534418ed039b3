// One copy per data folder: a second start raises the first and ends.
#include "startup_fixture.h"

#include "single_instance.h"

#include <QDirIterator>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace dorodure::test {
namespace {

QProcess* startProgram(const QString& folder, QObject* parent) {
    auto* process = new QProcess(parent);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process->setProcessEnvironment(env);
    process->setWorkingDirectory(folder);
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process->start(QStringLiteral(DORODURE_APP), {});
    return process;
}

bool traceHas(const QString& folder, const QString& message) {
    QDirIterator it(folder, {QStringLiteral("RsM*.txt")}, QDir::Files);
    while (it.hasNext()) {
        if (readCrlfLines(it.next()).join(u'\n').contains(message)) {
            return true;
        }
    }
    return false;
}

TEST(SingleInstance, SecondStartRaisesTheFirstAndEnds) {
    AppFixture f;
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    writeBytes(f.path(QStringLiteral("Rs232.txt")), "");
    QObject owner;

    QProcess* first = startProgram(f.folder.path(), &owner);
    ASSERT_TRUE(first->waitForStarted(5000));
    ASSERT_TRUE(AppFixture::waitFor(
        [&] { return traceHas(f.folder.path(), QStringLiteral("setup compleated")); }, 20000));

    QProcess* second = startProgram(f.folder.path(), &owner);
    ASSERT_TRUE(second->waitForFinished(10000));
    EXPECT_EQ(second->exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_TRUE(AppFixture::waitFor(
        [&] { return traceHas(f.folder.path(), QStringLiteral("restored by a second start")); },
        5000));
    // The second start never ran a start-up of its own.
    QDirIterator it(f.folder.path(), {QStringLiteral("RsM*.txt")}, QDir::Files);
    int traces = 0;
    while (it.hasNext()) {
        it.next();
        ++traces;
    }
    EXPECT_EQ(traces, 1);
    EXPECT_EQ(first->state(), QProcess::Running);

    first->terminate();
    EXPECT_TRUE(first->waitForFinished(10000));
}

TEST(SingleInstance, KeysDifferByDataFolder) {
    EXPECT_NE(SingleInstance::keyFor(QStringLiteral("/tmp/a")),
              SingleInstance::keyFor(QStringLiteral("/tmp/b")));
    EXPECT_EQ(SingleInstance::keyFor(QStringLiteral("/tmp/a")),
              SingleInstance::keyFor(QStringLiteral("/tmp/a")));
}

}  // namespace
}  // namespace dorodure::test
