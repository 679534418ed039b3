#pragma once

#include <cstdint>
#include <set>
#include <vector>

namespace dorodure::sim {

// Checksum errors on chosen replies: the nth reply with this code (1-based,
// counted since the baton was placed) and the count-1 after it carry a
// checksum that is off by one bit.
struct CorruptReply {
    std::uint8_t code = 0x0E;
    int nth = 1;
    int count = 1;
};

// Acknowledgements of this command carry status 0 (and the command has no
// effect) for the first `times` commands after the baton was placed.
struct RefuseCommand {
    std::uint8_t command = 0x11;
    int times = 1;
};

// What goes wrong while one baton is on the station. Every choice is
// deterministic: random faults draw from a generator seeded with `seed` when
// the baton is placed, so a run repeats exactly.
struct FaultPlan {
    std::uint32_t seed = 1;
    // The baton is lifted off right after it sent its kth 0E packet (k >= 1).
    int removeAfterPacket = 0;
    // The baton is lifted off after it sent n bytes (echo not counted).
    int removeAfterBytes = 0;
    // The port fails (adapter pulled out) right after the kth 0E packet.
    int unplugAfterPacket = 0;
    // With an unplug: milliseconds until the adapter is plugged back in
    // (0: stays out until plugIn() is called).
    int replugAfterMs = 2000;
    std::vector<CorruptReply> corrupt = {};
    std::vector<RefuseCommand> refuse = {};
    // Probability per reply that one random noise byte comes before it.
    double noiseRate = 0.0;
    // Probability per reply byte that it is lost on the line.
    double lossRate = 0.0;
    // Reply bytes lost by number (1-based, counted since the baton was placed).
    std::set<int> lostBytes = {};
    // The baton never greets and never answers (flat battery).
    bool silent = false;
};

}  // namespace dorodure::sim
