// UserForm10, the layer translation: a drawing's own layers mapped to the standard layers of one drawing
// kind.
#pragma once

#include <QDialog>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cadlink/drawing_access.h"
#include "layercheck/layer_check.h"
#include "translate/folder_run.h"
#include "translate/kind_proposal.h"
#include "translate/layer_map.h"
#include "translate/plan.h"
#include "translate/proposals.h"
#include "ui/controls.h"

class QCheckBox;
class QTableWidget;

namespace core {
class Program;
}  // namespace core

namespace translate {

// The translation window, opened from the builder for the drawing kind and stage chosen on its first page.
// Left, the drawing's layers (read from the CAD stand-in or a DXF file), each with what the map makes of
// it; right, the standard layers. The user maps drawing layers to a standard layer, accepts the proposals,
// loads and saves the map file, reads the summary with the layer check before and after, and applies the
// map to the live drawing or writes a translated DXF copy. For a drawing of another kind it lists the kinds
// whose standard layers the drawing matches best, at the window's stage; the one the user confirms becomes
// the window's standard.
class UserForm10 : public QDialog {
    Q_OBJECT
public:
    explicit UserForm10(core::Program& program);
    ~UserForm10() override;

    // The standard to translate to and the heading that names it (drawing kind and stage); the stage's name
    // (empty for none) is the one the other kinds are proposed at.
    void setStandard(layercheck::Standard standard, const std::u16string& heading,
                     const std::u16string& drawingKind, const std::u16string& stage = {});

    void UserForm_Activate();
    void CommandButton1_Click();   // "図面から読み込む"
    void CommandButton2_Click();   // "DXFファイル..."
    void CommandButton3_Click();   // "対応付け": the chosen drawing layers to the chosen standard layer
    void CommandButton4_Click();   // "対応を外す"
    void CommandButton5_Click();   // "候補をすべて採用"
    void CommandButton6_Click();   // "対応表を開く..."
    void CommandButton7_Click();   // "対応表を保存..."
    void CommandButton8_Click();   // "図面に適用"
    void CommandButton9_Click();   // "DXFに書き出す..."
    void CommandButton10_Click();  // "閉じる"
    void CommandButton11_Click();  // "フォルダーをチェック...": every DXF file of a folder checked
    void CommandButton12_Click();  // "フォルダーを変換...": every DXF file translated into a target folder
    void CommandButton13_Click();  // "図面の種類を推定": the kinds the drawing's layers match best
    void CommandButton14_Click();  // "この種類で変換": the kind chosen becomes the window's standard
    void ListView1_DblClick(int row);  // opens that file's check

    // Takes a drawing's layers (and its current layer, empty when unknown); source says where they came from.
    void showLayers(std::vector<cadlink::DrawingLayer> layers, std::u16string currentLayer,
                    const std::u16string& source);
    const LayerMap& map() const { return m_map; }
    const Summary& summary() const { return m_summary; }
    const FolderRun& folderRun() const { return m_folderRun; }
    const std::vector<KindMatch>& kindMatches() const { return m_kindMatches; }

    ui::Label* Label1;  // the drawing kind and stage
    ui::Button* CommandButton1;
    ui::Button* CommandButton2;
    ui::Label* Label2;      // where the layers came from
    ui::ListBox* ListBox1;  // the drawing's layers and what each becomes
    ui::ListBox* ListBox2;  // the standard layers
    ui::Button* CommandButton3;
    ui::Button* CommandButton4;
    ui::Button* CommandButton5;
    ui::Label* Label3;  // the proposals waiting
    ui::Button* CommandButton6;
    ui::Button* CommandButton7;
    ui::Label* Label4;  // the summary
    ui::Label* Label5;  // the layers never merged away
    ui::Button* CommandButton8;
    ui::Button* CommandButton9;
    ui::Button* CommandButton10;
    ui::Button* CommandButton11;
    ui::Button* CommandButton12;
    QTableWidget* ListView1;  // the folder run: one row per file
    ui::Button* CommandButton13;
    ui::ListBox* ListBox3;  // the kinds matched best, each with its share
    ui::Label* Label6;      // what the proposal of kinds found
    ui::Button* CommandButton14;
    QCheckBox* CheckBox1;  // "図面ごとに種類を推定": each file of the folder run gets its own best kind

protected:
    void showEvent(QShowEvent* event) override;

private:
    void createSides();
    void createButtons();
    void connectButtons();
    // The plan, the lists, the summary and the buttons, after the layers or the map changed.
    void refresh();
    std::vector<std::u16string> chosenDrawingLayers() const;
    void keepMap();
    void propose();
    void createFolderRun();
    // Runs over the DXF files of a folder the user chooses; false when nothing was run.
    bool runFolder(
        const std::function<FolderRun(const std::vector<std::filesystem::path>&, const Progress&)>& run);
    void showFolderRun();
    void createKindChoice();
    // The standard, its heading and drawing kind taken as they are, the layers read cleared.
    void takeStandard(layercheck::Standard standard, const std::u16string& heading,
                      const std::u16string& drawingKind);
    // The drawing kinds of the database at the window's stage, read once; false when they cannot be (said).
    bool readKinds();
    void clearKindChoice(const std::u16string& said);
    // The standard of each file of a folder run: the window's, or each file's best kind; none when the
    // kinds cannot be read.
    std::optional<StandardOfFile> standardOfFiles();
    void writeReport(const QString& folder);

    core::Program& m_program;
    layercheck::Standard m_standard;
    std::u16string m_drawingKind;
    std::vector<cadlink::DrawingLayer> m_layers;
    std::u16string m_currentLayer;
    bool m_read = false;
    std::filesystem::path m_dxfFile;  // the DXF file the layers were read from; empty for the live drawing
    LayerMap m_map;
    Summary m_summary;
    // The proposals for the layers read: they follow the layers, the standard and the remembered maps, not
    // the map being made, so they are worked out when one of those changes rather than on every click.
    std::vector<Proposal> m_proposals;
    std::u16string m_heading;
    FolderRun m_folderRun;
    bool m_folderKindPerFile = false;  // the last folder run gave each file its own kind
    std::u16string m_stage;
    bool m_kindsRead = false;
    std::vector<layercheck::Standard> m_kindStandards;
    std::vector<std::u16string> m_kindNames;     // "道路/道路一般/一般図（設計、D）"
    std::vector<std::u16string> m_kindDrawings;  // the drawing name of each kind
    std::vector<KindMatch> m_kindMatches;        // the rows of ListBox3
};

}  // namespace translate
