#pragma once

#include "shell/user_interaction.h"

namespace dorodure {

// The main window's gauge during a run over the lines of a file: one step per
// line; its maximum grows by 200 whenever the progress comes within 100 of it.
// The window is updated, and given a chance to repaint, every kUpdateEvery
// steps: often enough to stay live, rarely enough not to slow a full baton.
class LineGauge {
  public:
    static constexpr int kUpdateEvery = 256;

    explicit LineGauge(UserInteraction& ui) : ui_(ui) { ui_.setProgress(0, maximum_); }

    void step() {
        ++progress_;
        if (progress_ > maximum_ - 100) {
            maximum_ += 200;
        }
        if (progress_ % kUpdateEvery == 0) {
            show();
        }
    }
    // The run is through: the gauge shows its progress close to the end.
    void finish() {
        maximum_ = progress_ + 100;
        show();
    }
    // Updates the window now (for steps that take long, such as a site's report).
    void show() {
        ui_.setProgress(progress_, maximum_);
        ui_.keepResponsive();
    }

  private:
    UserInteraction& ui_;
    int progress_ = 0;
    int maximum_ = 4000;
};

}  // namespace dorodure
