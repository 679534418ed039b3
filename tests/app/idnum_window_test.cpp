// The id window: Enter, "~", "&Ok" and "&Cancel".
#include "startup_fixture.h"

#include "frm_idnum.h"
#include "shell/language_table.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace dorodure::test {
namespace {

class IdWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        f.create();
        window = std::make_unique<TfrmIdNum>(f.services());
        window->show();
        edit = window->maskEdit();
        edit->setFocus();
    }
    // Types an id into the entry, over what it holds.
    void typeId(const QString& id) {
        edit->clear();
        edit->setCursorPosition(0);
        QTest::keyClicks(edit, id);
    }
    QString lblId() { return f.services().display().snapshot().lblID; }

    AppFixture f;
    std::unique_ptr<TfrmIdNum> window;
    QLineEdit* edit = nullptr;
};

TEST_F(IdWindow, StartsWithTheEntryOfTheRequests) {
    EXPECT_EQ(window->objectName(), QStringLiteral("frmIdNum"));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Enter in Id Number to set"));
    EXPECT_EQ(edit->text(), QStringLiteral("0000"));
}

TEST_F(IdWindow, EnterTakesTheEntryWithoutALogEntry) {
    typeId(QStringLiteral("A123"));
    QTest::keyClick(edit, Qt::Key_Return);

    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(f.services().requests().pendingId(), QStringLiteral("A123"));
    EXPECT_FALSE(f.services().requests().autoIncrement());
    EXPECT_EQ(lblId(), QStringLiteral("Id : A123"));
    EXPECT_TRUE(f.activityLines().isEmpty());
}

TEST_F(IdWindow, TildeTakesTheEntryAndNumbersTheBatonsThatFollow) {
    typeId(QStringLiteral("0041"));
    QTest::keyClicks(edit, QStringLiteral("~"));

    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(f.services().requests().pendingId(), QStringLiteral("0041"));
    EXPECT_TRUE(f.services().requests().autoIncrement());
    EXPECT_EQ(f.services().requests().idEntry(), QStringLiteral("0041"));
}

TEST_F(IdWindow, OkTakesTheEntryAndLogsIt) {
    f.services().requests().setAutoIncrement(true);
    typeId(QStringLiteral("A123"));
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("btnOk")), Qt::LeftButton);

    EXPECT_EQ(f.services().requests().pendingId(), QStringLiteral("A123"));
    EXPECT_FALSE(f.services().requests().autoIncrement());
    const QStringList log = f.activityLines();
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].endsWith(QStringLiteral("\"unknown\",\"Id of Baton changed to A123\"")))
        << log[0].toStdString();
}

TEST_F(IdWindow, CancelWithdrawsThePendingId) {
    f.services().requests().requestId(QStringLiteral("0007"), false);
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("Button1")), Qt::LeftButton);

    EXPECT_EQ(window->result(), QDialog::Rejected);
    EXPECT_TRUE(f.services().requests().pendingId().isEmpty());
    EXPECT_TRUE(f.activityLines().isEmpty());
}

TEST_F(IdWindow, EntryTakesALetterOrDigitThenThreeDigits) {
    typeId(QStringLiteral("xB12"));  // the B is refused where a digit belongs
    EXPECT_EQ(edit->text(), QStringLiteral("x12"));
    EXPECT_FALSE(edit->hasAcceptableInput());
    typeId(QStringLiteral("x123"));
    EXPECT_EQ(edit->text(), QStringLiteral("x123"));
}

}  // namespace
}  // namespace dorodure::test
