// The desktop program's user interaction: busy feedback of nested operations.
#include "dialog_interaction.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <vector>

namespace dorodure {
namespace {

// A report request processes its clocking list inside its own busy span; the
// main window must see one start and one end, or it stays busy for good.
TEST(DialogInteraction, NestedBusySpansReachTheWindowOnce) {
    DialogInteraction ui;
    std::vector<bool> heard;
    ui.setSinks({[&](bool busy) { heard.push_back(busy); }, {}, {}});

    ui.setBusy(true);
    ui.setBusy(true);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    ui.setBusy(false);
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    ui.setBusy(false);
    ui.setBusy(false);  // an extra end changes nothing

    EXPECT_EQ(heard, (std::vector<bool>{true, false}));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace dorodure
