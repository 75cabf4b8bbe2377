#include "cadsim/app/main_window.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSplitter>
#include <QVBoxLayout>

#include "cadsim/core/view.h"

namespace cadsim {

namespace {

QString historyText(const StandIn& standIn) {
    QStringList lines;
    for (const std::u16string& line : const_cast<StandIn&>(standIn).interpreter().history()) {
        lines << QString::fromStdU16String(line);
    }
    return lines.join(QLatin1Char('\n'));
}

void showHistory(QPlainTextEdit* view, const QString& text) {
    if (view->toPlainText() != text) {
        view->setPlainText(text);
        view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
    }
}

// Esc in the command line cancels the command in progress, as on the CAD program's command line.
class CommandLineEdit : public QLineEdit {
public:
    explicit CommandLineEdit(StandIn& standIn) : m_standIn(standIn) {}

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Escape) {
            clear();
            m_standIn.interpreter().cancel();
            m_standIn.changed();
            return;
        }
        QLineEdit::keyPressEvent(event);
    }

private:
    StandIn& m_standIn;
};

}  // namespace

MainWindow::MainWindow(StandIn& standIn, QWidget* parent)
    : QMainWindow(parent),
      m_standIn(standIn),
      m_canvas(new DrawingCanvas(standIn)),
      m_layers(new QTableWidget),
      m_history(new QPlainTextEdit),
      m_commandLine(new CommandLineEdit(standIn)) {
    setWindowTitle(QString::fromStdU16String(standIn.mainTitle()));
    m_layers->setColumnCount(3);
    m_layers->setHorizontalHeaderLabels(
        {QStringLiteral("Layer"), QStringLiteral("Linetype"), QStringLiteral("Color")});
    m_layers->horizontalHeader()->setStretchLastSection(true);
    m_layers->verticalHeader()->hide();
    m_layers->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_layers->setMinimumWidth(260);
    m_history->setReadOnly(true);
    m_history->setMaximumBlockCount(static_cast<int>(Interpreter::kMaxHistory));
    m_commandLine->setPlaceholderText(QStringLiteral("Command"));

    auto* top = new QSplitter(Qt::Horizontal);
    top->addWidget(m_canvas);
    top->addWidget(m_layers);
    top->setStretchFactor(0, 3);
    auto* central = new QWidget;
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(top, 3);
    layout->addWidget(m_history, 1);
    layout->addWidget(m_commandLine);
    setCentralWidget(central);
    resize(900, 620);
    connect(m_commandLine, &QLineEdit::returnPressed, this, &MainWindow::typed);
    refresh();
}

void MainWindow::typed() {
    m_standIn.interpreter().type(m_commandLine->text().toStdU16String() + u"\r");
    m_commandLine->clear();
    m_standIn.changed();
}

void MainWindow::refresh() {
    const std::vector<Layer>& layers = m_standIn.drawing().layers();
    m_layers->setRowCount(static_cast<int>(layers.size()));
    for (int row = 0; row < static_cast<int>(layers.size()); ++row) {
        const Layer& layer = layers[static_cast<std::size_t>(row)];
        m_layers->setItem(row, 0, new QTableWidgetItem(QString::fromStdU16String(layer.name)));
        m_layers->setItem(row, 1, new QTableWidgetItem(QString::fromStdU16String(layer.lineType)));
        auto* color = new QTableWidgetItem(QString::number(layer.color));
        const std::uint32_t rgb = colorRgb(layer.color);
        color->setBackground(QColor(static_cast<int>(rgb >> 16), static_cast<int>((rgb >> 8) & 0xFF),
                                    static_cast<int>(rgb & 0xFF)));
        color->setForeground(Qt::black);
        m_layers->setItem(row, 2, color);
    }
    m_layers->resizeColumnsToContents();
    showHistory(m_history, historyText(m_standIn));
    m_canvas->update();
}

TextWindow::TextWindow(StandIn& standIn, QWidget* parent)
    : QWidget(parent), m_standIn(standIn), m_history(new QPlainTextEdit) {
    setWindowTitle(QString::fromStdU16String(standIn.textWindowTitle()));
    m_history->setReadOnly(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_history);
    resize(520, 300);
    refresh();
}

void TextWindow::refresh() {
    showHistory(m_history, historyText(m_standIn));
}

}  // namespace cadsim
