#pragma once

#include <memory>
#include <string>

#include "cadsim/core/options.h"
#include "cadsim/endpoint/stand_in.h"
#include "common/result.h"

class QCoreApplication;
class QWidget;

namespace cadsim {

// Where a running stand-in meets Tiermark on this platform. On POSIX systems: the endpoint's UNIX socket,
// served from the Qt event loop, and SIGINT/SIGTERM ending the loop. On Windows: top-level windows that
// take WM_COPYDATA as the CAD program's do (the Qt windows themselves when they are native windows, else
// plain Win32 windows with the same titles) and the endpoint's message-only window.
class StandInLink {
public:
    virtual ~StandInLink() = default;

    // mainWindow and textWindow are the stand-in's Qt windows, or null when it runs headless.
    static tiermark::Result<std::unique_ptr<StandInLink>> open(StandIn& standIn,
                                                               QCoreApplication& application,
                                                               QWidget* mainWindow, QWidget* textWindow);

    // Where the stand-in can be reached, for its start-up line.
    virtual std::string where() const = 0;
};

}  // namespace cadsim
