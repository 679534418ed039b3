#include "sites/site_store.h"
#include "test_support.h"

#include <QDir>
#include <QFileInfo>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

using test::TempDataFolder;

// Points the desktop's home and data folders elsewhere while it lives.
class DesktopFolders {
  public:
    DesktopFolders(const QString& home, const QString& dataHome)
        : oldHome_(qgetenv("HOME")), oldData_(qgetenv("XDG_DATA_HOME")) {
        qputenv("HOME", home.toLocal8Bit());
        qputenv("XDG_DATA_HOME", dataHome.toLocal8Bit());
    }
    ~DesktopFolders() {
        qputenv("HOME", oldHome_);
        oldData_.isEmpty() ? qunsetenv("XDG_DATA_HOME") : qputenv("XDG_DATA_HOME", oldData_);
    }

  private:
    QByteArray oldHome_;
    QByteArray oldData_;
};

TSiteStore storeWithSite(const TempDataFolder& data) {
    test::writeCrlfLines(data.file("Sites/North/checkpt.lst"), {"//Checkpoint list", ""});
    data.mkdir("Sites/South");
    TSiteStore store(data.file("Sites"));
    store.loadSites();
    return store;
}

TEST(SiteStore, DeleteSiteMovesTheFolderToTheTrash) {
    TempDataFolder data;
    TSiteStore store = storeWithSite(data);
    DesktopFolders desktop(data.mkdir("home"), data.mkdir("home/share"));

    ASSERT_TRUE(store.deleteSite("North"));

    EXPECT_FALSE(QFileInfo::exists(data.file("Sites/North")));
    EXPECT_TRUE(QFileInfo(data.file("home/share/Trash/files/North/checkpt.lst")).isFile());
    // Indexes stay valid for the rest of the run.
    EXPECT_EQ(store.sites(), (QStringList{"North", "South"}));
    store.rebuildSiteIds();
    EXPECT_FALSE(QFileInfo::exists(data.file("Sites/North")));
    EXPECT_EQ(store.siteIds().slot(0, 0), QString("zzzzzz"));
}

TEST(SiteStore, DeleteSiteRemovesTheFolderWhereNoTrashCanExist) {
    TempDataFolder data;
    TSiteStore store = storeWithSite(data);
    test::writeBytes(data.file("home/blocked"), "a file where the data folder would be");
    DesktopFolders desktop(data.file("home"), data.file("home/blocked/share"));

    EXPECT_TRUE(store.deleteSite("North"));
    EXPECT_FALSE(QFileInfo::exists(data.file("Sites/North")));
    EXPECT_FALSE(store.deleteSite("Nowhere"));
    EXPECT_TRUE(QFileInfo(data.file("Sites/South")).isDir());
}

}  // namespace
}  // namespace dorodure
