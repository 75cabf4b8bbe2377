#pragma once

#include "tools/road/road.h"

// What a user meets when things go wrong, run by itself against CAD stand-ins: the database in folders with
// Japanese names and blanks, missing, not a database, or locked by another program; the stand-in closed in
// the middle of layer creation; a hung stand-in; two stand-ins. Prints what the user saw in each case (the
// messages, the windows that opened, the guidance) in a form that is the same on every platform, so that
// the Windows build's account can be compared with the Linux build's.
namespace road {

// 0 when every case ended as it should and nothing hung.
int runFaults(const RoadOptions& options);

}  // namespace road
