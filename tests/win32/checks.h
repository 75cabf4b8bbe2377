#pragma once

#include <memory>

#include "tests/win32/stand_in_process.h"

namespace win32test {

void codepageChecks();

// The two stand-ins that discovery found, for the channel's checks: first the one named "構造図1.dwg",
// then "Drawing2.dwg".
struct RunningStandIns {
    std::unique_ptr<StandInProcess> first;
    std::unique_ptr<StandInProcess> second;
};

// Starts one and then a second stand-in and checks what discovery makes of them.
RunningStandIns discoveryChecks(const Fixture& fixture);

// Sends the program's command sequences to one of the stand-ins and checks what arrived; then the bad
// cases: a window gone between discovery and send, and a hung stand-in.
void channelChecks(const Fixture& fixture, RunningStandIns& standIns);

}  // namespace win32test
