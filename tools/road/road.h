#pragma once

#include <QString>

#include <cstdint>
#include <memory>

// The typical road of a draughtsman, run by itself against a CAD stand-in: register the database, open the
// builder, choose a life-cycle stage, a construction kind, a work type and a drawing kind, create the
// layers (with a numbered member), start the layer change, pick objects in the stand-in and execute.
namespace road {

struct RoadOptions {
    QString acadlt;         // the stand-in program to start
    QString database;       // the database to register
    QString screenshots;    // where to save a picture of every window; empty for none
    QString workDirectory;  // private settings and endpoint folder
    // The program's own settings store (the registry on Windows) instead of a private file in the work
    // folder: for a run in a machine or Wine prefix of its own.
    bool systemSettings = false;
    QString standInLog;  // the stand-in's payload log (--log), for comparing runs; empty for none
};

// Runs the road; prints what happened; 0 when the drawing holds what the road should give.
int runRoad(const RoadOptions& options);

}  // namespace road
