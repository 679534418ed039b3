#include "display_state.h"

#include <algorithm>

namespace dorodure {

void DisplayState::setStatus(const QString& text) {
    update([&](DisplaySnapshot& s) { s.statusText = text; });
}

void DisplayState::setLed(DisplaySnapshot::Led led) {
    update([&](DisplaySnapshot& s) { s.led = led; });
}

void DisplayState::setGauge(int progress, int maximum) {
    update([&](DisplaySnapshot& s) {
        s.gaugeMax = maximum;
        s.gaugeProgress = std::min(progress, maximum);
    });
}

void DisplayState::setGaugeMax(int maximum) {
    update([&](DisplaySnapshot& s) {
        s.gaugeMax = maximum;
        s.gaugeProgress = std::min(s.gaugeProgress, maximum);
    });
}

void DisplayState::raiseGaugeMax(int by) {
    update([&](DisplaySnapshot& s) { s.gaugeMax += by; });
}

void DisplayState::setGaugeProgress(int progress) {
    update([&](DisplaySnapshot& s) { s.gaugeProgress = std::min(progress, s.gaugeMax); });
}

void DisplayState::stepGauge() {
    update(
        [&](DisplaySnapshot& s) { s.gaugeProgress = std::min(s.gaugeProgress + 1, s.gaugeMax); });
}

void DisplayState::beep() {
    update([&](DisplaySnapshot& s) { ++s.beeps; });
}

}  // namespace dorodure
