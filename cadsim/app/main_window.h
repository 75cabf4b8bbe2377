#pragma once

#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QTableWidget>

#include "cadsim/app/drawing_canvas.h"
#include "cadsim/endpoint/stand_in.h"

namespace cadsim {

// The stand-in's main window "AutoCAD LT - [<name>]": the drawing, the layer table (name, line type,
// colour), the command history and a command line to type into by hand.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(StandIn& standIn, QWidget* parent = nullptr);
    void refresh();

private:
    void typed();

    StandIn& m_standIn;
    DrawingCanvas* m_canvas;
    QTableWidget* m_layers;
    QPlainTextEdit* m_history;
    QLineEdit* m_commandLine;
};

// The text window "AutoCAD LT ﾃｷｽﾄ ｳｨﾝﾄﾞｳ - <name>": the command history alone.
class TextWindow : public QWidget {
    Q_OBJECT
public:
    explicit TextWindow(StandIn& standIn, QWidget* parent = nullptr);
    void refresh();

private:
    StandIn& m_standIn;
    QPlainTextEdit* m_history;
};

}  // namespace cadsim
