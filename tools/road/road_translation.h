#pragma once

#include <QDir>
#include <QString>

#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "tools/road/road_steps.h"
#include "tools/road/stand_in_control.h"
#include "ui/recording_dialogs.h"

// The road's layer translation: the office layers of the stand-in's drawing mapped to the standard layers
// of the chosen drawing kind and the map applied to the live drawing; the map saved, then serving a DXF
// drawing of the same office and a whole folder of them.
namespace road {

struct TranslationRoad {
    app::Tiermark& program;
    builder::UserForm1& builder;
    ui::RecordingDialogs& dialogs;
    StandInControl& control;
    QDir work;
    QString screenshots;
    Check& check;
};

void runTranslationRoad(TranslationRoad& road);

}  // namespace road
