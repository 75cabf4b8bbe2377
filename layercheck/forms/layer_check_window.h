// UserForm9, the layer check: the layers of a drawing judged against the standard of one drawing kind.
#pragma once

#include <QDialog>

#include <string>
#include <vector>

#include "layercheck/layer_check.h"
#include "ui/controls.h"

class QSortFilterProxyModel;
class QTableView;

namespace core {
class Program;
}  // namespace core

namespace layercheck {

class ResultModel;

// The layer check window, opened from the builder for the drawing kind and stage chosen on its first page.
// It takes the drawing's layers from the drawing itself where the CAD program gives them back (the CAD
// stand-in), or from a DXF file of the drawing, shows one row per layer with its verdict, and the standard
// layers the drawing lacks; the rows sort by any column, filter by verdict, and save as CSV.
class UserForm9 : public QDialog {
    Q_OBJECT
public:
    explicit UserForm9(core::Program& program);
    ~UserForm9() override;

    // The standard to check against and the heading that names it (drawing kind and stage).
    void setStandard(Standard standard, const std::u16string& heading, const std::u16string& drawingKind);

    void UserForm_Activate();
    void CommandButton1_Click();  // "図面から読み込む"
    void CommandButton2_Click();  // "DXFファイル..."
    void ComboBox1_Click();       // the verdict filter
    void CommandButton3_Click();  // "CSV保存..."
    void CommandButton4_Click();  // "閉じる"

    // Checks a DXF file of a drawing and shows the result, or says why the file cannot be read.
    void checkFile(const QString& file);
    // Checks a drawing's layers and shows the result; source says where they came from.
    void showLayers(const std::vector<cadlink::DrawingLayer>& layers, const std::u16string& source);
    // The rows as the table shows them (filtered and sorted).
    std::vector<Row> shownRows() const;
    const Result& result() const { return m_result; }

    ui::Label* Label1;  // the drawing kind and stage
    ui::Button* CommandButton1;
    ui::Button* CommandButton2;
    ui::Label* Label2;  // where the layers came from, and what could not be read
    ui::Label* Label3;  // heading of the filter
    ui::ComboBox* ComboBox1;
    QTableView* ListView1;
    ui::Label* Label4;  // the counts
    ui::Button* CommandButton3;
    ui::Button* CommandButton4;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showResult(Result result, const std::u16string& source);
    void fillFilter();
    void fillTable();

    core::Program& m_program;
    Standard m_standard;
    std::u16string m_drawingKind;
    Result m_result;
    bool m_checked = false;
    ResultModel* m_model;
    QSortFilterProxyModel* m_filter;
};

}  // namespace layercheck
