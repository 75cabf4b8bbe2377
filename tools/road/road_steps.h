#pragma once

#include <QProcess>
#include <QString>
#include <QWidget>

#include <cstdio>
#include <string>

#include "app/main_window.h"
#include "tools/road/road.h"
#include "ui/dialogs.h"

// What the road's steps share: its printed lines and pictures, waiting for the stand-in, and the tally of
// its checks.
namespace road {

void say(const char* format, const QString& text = {});

// Saves a picture of the window into the folder as NAME.png; nothing without a folder.
void photograph(const QString& folder, QWidget& window, const QString& name);

// Prints a message box the program shows (every one is answered OK), its lines joined by blanks.
void printMessage(const ui::MessageRequest& request);

void settle();

// Waits until discovery sees the stand-in's main window with the drawing title; its line index or -1.
int waitForStandIn(app::Form1& form1, const QString& title);

// Starts the stand-in with its sample drawing under the title, offscreen so that it can still be
// photographed; false when it does not start.
bool startStandIn(QProcess& standIn, const RoadOptions& options, const QString& title);

struct Check {
    int passes = 0;
    int failures = 0;
    void expect(bool ok, const QString& what) {
        std::printf("  %s %s\n", ok ? "ok  " : "FAIL", what.toUtf8().constData());
        (ok ? passes : failures) += 1;
    }
};

}  // namespace road
