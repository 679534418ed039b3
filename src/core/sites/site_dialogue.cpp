// The question for a new site's name, shared by every place that creates a
// site. Kept apart from the folder operations so that they do not need the
// language table.
#include "site_store.h"

#include "shell/language_table.h"
#include "shell/user_interaction.h"

namespace dorodure {

namespace {
constexpr int kNewSiteTitle = 2;
constexpr int kNewSitePrompt = 3;
constexpr int kCouldNotCreate = 20;
}  // namespace

QString TSiteStore::createSiteInteractive(UserInteraction& ui, const TLanguageTable& texts) {
    const std::optional<QString> answer =
        ui.askText(texts.text(kNewSiteTitle), texts.text(kNewSitePrompt));
    if (!answer || answer->isEmpty()) {
        return {};
    }
    if (!createSite(*answer)) {
        ui.showMessage(texts.text(kCouldNotCreate) + u' ' + *answer);
        return {};
    }
    return *answer;
}

}  // namespace dorodure
