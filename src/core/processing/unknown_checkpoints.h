#pragma once

#include "processing_context.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace dorodure {

// Asks ctx.unknownAsker what to do with the clockings of the unknown bucket
// (bucket file "<unknownBucket>.$$$" in bucketFolder) and carries it out:
// - an existing site: every line of the unknown bucket is appended to that
//   site's bucket, after the site's own lines (the unknown bucket keeps them);
// - a new site: the site is created (its name asked through ctx.ui when the
//   decision carries none) and the id table rebuilt; the new site's index is
//   the unknown bucket's number, so the unknown bucket becomes its bucket;
// - ignore: nothing.
// An empty site choice shows texts 32, 33 and 34 joined by CR, a site that
// cannot be created shows text 20 + " " + name; then the asker is asked again.
// Throws FileError when a bucket cannot be read or written.
void HandleUnknownCheckpoints(ProcessingContext& ctx, const QString& bucketFolder,
                              int unknownBucket);

// An asker with one fixed answer, for the command-line tool and the tests.
// HandleUnknownCheckpoints restarts it at each handling. Asked again after its answer failed (a
// site that does not exist, a name that cannot be created), it answers "ignore", shows that on ui
// (when given) and keeps it in fallbackMessage(), so a fixed answer can never loop.
class FixedUnknownAsker final : public UnknownCheckpointsAsker {
  public:
    explicit FixedUnknownAsker(UnknownDecision decision = {}, UserInteraction* ui = nullptr);

    // Parses "ignore", "site:NAME" or "new:NAME" ("new:" alone asks the name
    // through the user interaction); nullopt for any other text.
    static std::optional<UnknownDecision> parse(const QString& text);

    UnknownDecision ask(const QStringList& sites) override;
    // Starts a new handling: the fixed answer is given again first.
    void restart() { askedThisRound_ = 0; }

    const UnknownDecision& decision() const { return decision_; }
    int timesAsked() const { return asked_; }
    // Non-empty once the fixed answer failed and "ignore" was used instead.
    QString fallbackMessage() const { return fallback_; }

  private:
    UnknownDecision decision_;
    UserInteraction* ui_ = nullptr;
    int asked_ = 0;
    int askedThisRound_ = 0;
    QString fallback_;
};

}  // namespace dorodure
