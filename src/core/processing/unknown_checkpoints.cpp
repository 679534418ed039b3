#include "unknown_checkpoints.h"

#include "buckets.h"
#include "shell/language_table.h"
#include "shell/user_interaction.h"
#include "sites/site_store.h"

namespace dorodure {

namespace {

enum class Outcome { Done, AskAgain };

// "If the checkpoints are to be placed in an" / "existing site select the
// apropriate site" / "and then click Ok".
QString chooseSiteMessage(const TLanguageTable& texts) {
    return texts.text(32) + u'\r' + texts.text(33) + u'\r' + texts.text(34);
}

Outcome placeInExistingSite(ProcessingContext& ctx, const QString& folder, int unknownBucket,
                            const QString& siteName) {
    const int site = siteName.isEmpty() ? -1 : ctx.sites->indexOf(siteName);
    if (site < 0) {
        ctx.ui->showMessage(chooseSiteMessage(*ctx.texts));
        return Outcome::AskAgain;
    }
    if (site != unknownBucket) {
        buckets::append(folder, site, buckets::read(folder, unknownBucket));
    }
    return Outcome::Done;
}

// Creates the site: with the decision's name, or asking for one.
QString createNamedSite(ProcessingContext& ctx, const QString& name) {
    if (name.isEmpty()) {
        return ctx.sites->createSiteInteractive(*ctx.ui, *ctx.texts);
    }
    if (!ctx.sites->createSite(name)) {
        ctx.ui->showMessage(ctx.texts->text(20) + u' ' + name);
        return {};
    }
    return name;
}

Outcome placeInNewSite(ProcessingContext& ctx, const QString& folder, int unknownBucket,
                       const QString& name) {
    const QString created = createNamedSite(ctx, name);
    if (created.isEmpty()) {
        return Outcome::AskAgain;
    }
    ctx.sites->rebuildSiteIds();
    // The new site comes last, so its index is the unknown bucket's number and
    // that bucket is already its bucket. Should the list have grown meanwhile,
    // the clockings are copied to the bucket the new site really has.
    const int site = ctx.sites->indexOf(created);
    if (site >= 0 && site != unknownBucket) {
        buckets::append(folder, site, buckets::read(folder, unknownBucket));
    }
    return Outcome::Done;
}

Outcome carryOut(ProcessingContext& ctx, const QString& folder, int unknownBucket,
                 const UnknownDecision& decision) {
    switch (decision.choice) {
        case UnknownDecision::Choice::ExistingSite:
            return placeInExistingSite(ctx, folder, unknownBucket, decision.siteName);
        case UnknownDecision::Choice::NewSite:
            return placeInNewSite(ctx, folder, unknownBucket, decision.siteName);
        case UnknownDecision::Choice::Ignore:
            break;
    }
    return Outcome::Done;
}

QString describe(const UnknownDecision& decision) {
    switch (decision.choice) {
        case UnknownDecision::Choice::ExistingSite:
            return QStringLiteral("site:") + decision.siteName;
        case UnknownDecision::Choice::NewSite:
            return QStringLiteral("new:") + decision.siteName;
        case UnknownDecision::Choice::Ignore:
            break;
    }
    return QStringLiteral("ignore");
}

}  // namespace

void HandleUnknownCheckpoints(ProcessingContext& ctx, const QString& bucketFolder,
                              int unknownBucket) {
    if (!ctx.unknownAsker) {
        return;
    }
    if (auto* fixed = dynamic_cast<FixedUnknownAsker*>(ctx.unknownAsker)) {
        fixed->restart();
    }
    while (carryOut(ctx, bucketFolder, unknownBucket, ctx.unknownAsker->ask(ctx.sites->sites())) ==
           Outcome::AskAgain) {
    }
}

FixedUnknownAsker::FixedUnknownAsker(UnknownDecision decision, UserInteraction* ui)
    : decision_(std::move(decision)), ui_(ui) {}

std::optional<UnknownDecision> FixedUnknownAsker::parse(const QString& text) {
    using Choice = UnknownDecision::Choice;
    if (text.compare(QLatin1String("ignore"), Qt::CaseInsensitive) == 0) {
        return UnknownDecision{Choice::Ignore, {}};
    }
    const QLatin1String site("site:");
    if (text.startsWith(site, Qt::CaseInsensitive) && text.size() > site.size()) {
        return UnknownDecision{Choice::ExistingSite, text.mid(site.size())};
    }
    const QLatin1String created("new:");
    if (text.startsWith(created, Qt::CaseInsensitive)) {
        return UnknownDecision{Choice::NewSite, text.mid(created.size())};
    }
    return std::nullopt;
}

UnknownDecision FixedUnknownAsker::ask(const QStringList& /*sites*/) {
    ++asked_;
    if (++askedThisRound_ == 1) {
        return decision_;
    }
    // The fixed answer was refused once; asking it again would loop forever.
    fallback_ = QStringLiteral(
                    "Unknown checkpoints: \"%1\" could not be carried out; "
                    "the unknown checkpoints are ignored.")
                    .arg(describe(decision_));
    if (ui_) {
        ui_->showMessage(fallback_);
    }
    return UnknownDecision{};
}

}  // namespace dorodure
