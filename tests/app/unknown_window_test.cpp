// The "Unknown checkpoints" window: the three choices.
#include "app_services.h"
#include "frm_unknownp.h"
#include "shell/clock.h"
#include "shell/language_table.h"
#include "test_support.h"

#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace dorodure {
namespace {

class UnknownWindowTest : public ::testing::Test {
  protected:
    template <typename T>
    T* control(const char* name) {
        T* c = form.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    // Runs ask() and, once the window is up, does what the user does.
    UnknownDecision askAndThen(const QStringList& sites, std::function<void()> user) {
        QTimer::singleShot(0, &form, [this, user] {
            user();
            if (form.isVisible()) {
                form.close();  // still open: the title bar closes it
            }
        });
        return form.ask(sites);
    }

    test::TempDataFolder data;
    ManualClock clock;
    test::ScriptedInteraction ui;
    AppServices services{AppOptions{data.path(), &clock, &ui, nullptr, {}, false, {}, {}}};
    TfrmUnknownP form{services};
};

using Choice = UnknownDecision::Choice;

TEST_F(UnknownWindowTest, ExistingSiteIsTheChosenSite) {
    const UnknownDecision d = askAndThen({"common", "North"}, [this] {
        EXPECT_TRUE(control<QRadioButton>("RadioButton1")->isChecked());
        EXPECT_EQ(control<QComboBox>("ComboBox1")->currentText(), "common");
        control<QComboBox>("ComboBox1")->setCurrentIndex(1);
        control<QPushButton>("Button1")->click();
    });
    EXPECT_EQ(d.choice, Choice::ExistingSite);
    EXPECT_EQ(d.siteName, "North");
}

TEST_F(UnknownWindowTest, NoSiteChosenKeepsTheWindowOpen) {
    const UnknownDecision d = askAndThen({}, [this] {
        control<QPushButton>("Button1")->click();
        EXPECT_TRUE(form.isVisible());
    });
    const TLanguageTable& t = services.texts();
    EXPECT_EQ(ui.messages, QStringList{t.text(32) + '\r' + t.text(33) + '\r' + t.text(34)});
    EXPECT_EQ(d.choice, Choice::Ignore);  // closed by the title bar afterwards
}

TEST_F(UnknownWindowTest, SiteListTakesInputOnlyForTheFirstChoice) {
    const UnknownDecision d = askAndThen({"North"}, [this] {
        control<QRadioButton>("RadioButton2")->click();
        EXPECT_FALSE(control<QComboBox>("ComboBox1")->isEnabled());
        control<QPushButton>("Button1")->click();
    });
    EXPECT_EQ(d.choice, Choice::NewSite);
    EXPECT_TRUE(d.siteName.isEmpty());
    // The choice is kept for the next showing.
    const UnknownDecision again = askAndThen({"North"}, [this] {
        EXPECT_TRUE(control<QRadioButton>("RadioButton2")->isChecked());
        control<QRadioButton>("RadioButton3")->click();
        control<QPushButton>("Button1")->click();
    });
    EXPECT_EQ(again.choice, Choice::Ignore);
}

TEST_F(UnknownWindowTest, ClosingByTheTitleBarIgnores) {
    const UnknownDecision d = askAndThen({"North"}, [] {});
    EXPECT_EQ(d.choice, Choice::Ignore);
}

}  // namespace
}  // namespace dorodure
