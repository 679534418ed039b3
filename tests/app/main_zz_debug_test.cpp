#include "startup_fixture.h"
#include "link/comms_thread.h"
#include <gtest/gtest.h>
namespace dorodure::test {
TEST(ZZDebug, Thread) {
    AppFixture f;
    f.install();
    f.addSite(QStringLiteral("Head Office"));
    f.create();
    qDebug() << "before" << (void*)f.services().commsThread();
    f.window().runStartup();
    qDebug() << "after" << f.window().startupDone() << (void*)f.services().commsThread() << f.ui.messages << f.window().isVisible();
}
}
namespace dorodure::test {
TEST(ZZDebug, Sizes) {
    qDebug() << "test sizes" << sizeof(AppServices) << sizeof(DisplayState) << sizeof(BatonRequests) << sizeof(ProcessingContext) << sizeof(AppOptions);
}
}
