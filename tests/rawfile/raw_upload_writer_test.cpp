#include "processing/raw/raw_file.h"
#include "shell/file_error.h"
#include "test_support.h"

#include <gtest/gtest.h>

namespace dorodure::rawfile {
namespace {

using test::TempDataFolder;

TEST(RawUploadWriter, StartsAppendsAndResets) {
    TempDataFolder data;
    const QString path = data.file("Raw.txt");
    test::writeBytes(path, "stale upload\r\nDone\r\n");
    RawUploadWriter writer(path);

    writer.start("Id : 123456");
    writer.appendRecord("0000001234560912152345");
    writer.appendRecord("00000012345609121523453");
    EXPECT_EQ(test::readBytes(path),
              QByteArray("Id : 123456\r\n0000001234560912152345\r\n00000012345609121523453\r\n"));
    EXPECT_TRUE(isUnprocessed(path));

    writer.resetToDone();
    EXPECT_EQ(test::readBytes(path), QByteArray("Done"));
    EXPECT_FALSE(isUnprocessed(path));
}

TEST(RawUploadWriter, ErrorsThrow) {
    TempDataFolder data;
    RawUploadWriter writer(data.file("missing/Raw.txt"));
    EXPECT_THROW(writer.start("Id : 1"), FileError);
    EXPECT_THROW(writer.appendRecord("0000001234560912152345"), FileError);
    EXPECT_THROW(writer.resetToDone(), FileError);
}

TEST(RawUploadFile, UnprocessedMeansPresentAndNotEndingWithDone) {
    TempDataFolder data;
    const QString path = data.file("Raw.txt");
    EXPECT_FALSE(isUnprocessed(path));
    const struct {
        QByteArray content;
        bool unprocessed;
    } cases[] = {
        {"", true},
        {"Id : 1\r\n", true},
        {"Id : 1\r\n0000001234560912152345\r\nDone\r\n", false},
        {"Id : 1\nDone", false},
        {"Done\r\n\r\n", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content.toStdString());
        test::writeBytes(path, c.content);
        EXPECT_EQ(isUnprocessed(path), c.unprocessed);
    }
}

}  // namespace
}  // namespace dorodure::rawfile
