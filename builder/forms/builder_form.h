// UserForm1, the layer-set builder: its two pages, one file per concern in builder_form_*.cpp.
#pragma once

#include <QWidget>

#include <optional>
#include <string>
#include <vector>

#include "builder/layer_set.h"
#include "builder/linetype_notice.h"
#include "cadlink/channel.h"
#include "common/result.h"
#include "ui/controls.h"

class QHBoxLayout;
class QTabWidget;
class QGroupBox;
class QFrame;

namespace core {
class Program;
}  // namespace core

namespace builder {

// The layer-set builder. Page 1 ("レイヤーメイキング") narrows the standard down to one drawing kind and
// creates its layers in the drawing; page 2 ("レイヤーチェンジャー") converts the drawing's own layers into
// standard names. Its start-up runs each time it becomes the active window.
class UserForm1 : public QWidget {
    Q_OBJECT
public:
    explicit UserForm1(core::Program& program);
    ~UserForm1() override;

    // Start-up: reads the registered database, opens it and fills the start-up lists, or falls back to the
    // built-in life-cycle stages and the settings window.
    void UserForm_Activate();

    // Navigation and close buttons.
    void CommandButton3_Click();
    void CommandButton4_Click();
    void CommandButton6_Click();
    void CommandButton7_Click();

    // The selection cascade, page 1 and page 2.
    void ListBox2_Click();
    void ListBox3_Click();
    void ListBox4_Click();
    void ListBox9_Click();
    void ListBox10_Click();
    void ListBox11_Click();

    // Paper size and redraw origin.
    void ListBox7_Click();
    void TextBox1_Change();
    void TextBox2_Change();
    void TextBox3_Change();

    // Layer creation ("レイヤー作成") and the layer changer ("→").
    void CommandButton1_Click();
    void CommandButton2_Click();

    // The same layers without the link: the layer check of a drawing ("レイヤーチェック...") and the layer
    // set saved as DXF and script ("DXF・スクリプト書き出し..."), for page 1's choice.
    void CommandButton8_Click();
    void CommandButton9_Click();
    // The layer translation of a drawing to the same drawing kind ("画層の変換...").
    void CommandButton11_Click();
    // The changer where the drawing gives no read-back: the drawing's layer names from a DXF file of it
    // ("参照...").
    void CommandButton10_Click();

    // The builder's command channel (UTF-16 text).
    cadlink::Delivery SendCommand(std::u16string_view text);

    // The life-cycle letter of the stage chosen on page 1.
    int stageIndex() const { return ListBox1->listIndex(); }
    // Chooses the stage by its position in the stage list, or the stage of that text where it is listed.
    void chooseStage(int position) { ListBox1->setListIndex(position); }
    void chooseStage(std::u16string_view stage);

    QTabWidget* MultiPage1;
    ui::Button* CommandButton3;
    ui::Button* CommandButton4;
    ui::Button* CommandButton6;
    ui::Button* CommandButton7;

    // Page 1.
    ui::Label* Label1;
    ui::ListBox* ListBox1;
    ui::Label* Label2;
    ui::ListBox* ListBox2;
    ui::Label* Label3;
    ui::ListBox* ListBox3;
    ui::Label* Label4;
    ui::ListBox* ListBox4;
    ui::Label* Label5;
    ui::ListBox* ListBox6;
    QGroupBox* Frame1;
    ui::OptionButton* OptionButton1;
    ui::OptionButton* OptionButton2;
    ui::Label* Label8;
    ui::ListBox* ListBox7;
    QFrame* Image1;
    ui::Label* Label9;
    ui::Label* Label10;
    ui::Label* Label19;
    ui::TextBox* TextBox1;
    ui::Label* Label20;
    ui::Label* Label21;
    ui::TextBox* TextBox2;
    ui::Label* Label22;
    ui::TextBox* TextBox3;
    ui::Label* Label23;
    ui::TextBox* TextBox5;
    ui::TextBox* TextBox4;
    ui::Button* CommandButton1;
    ui::Button* CommandButton8;
    ui::Button* CommandButton9;
    ui::Button* CommandButton11;
    // Hidden on page 1: values other handlers read.
    ui::ListBox* ListBox5;
    ui::Label* Label6;
    ui::Label* Label11;
    ui::Label* Label24;
    ui::Label* Label25;

    // Page 2.
    ui::Label* Label15;
    ui::ListBox* ListBox8;
    ui::Label* Label14;
    ui::ListBox* ListBox9;
    ui::Label* Label13;
    ui::ListBox* ListBox10;
    ui::Label* Label12;
    ui::ListBox* ListBox11;
    ui::Label* Label16;
    ui::ListBox* ListBox12;
    ui::Label* Label17;
    ui::ListBox* ListBox13;
    ui::Button* CommandButton2;
    ui::Button* CommandButton10;
    ui::Label* Label26;
    ui::Label* Label27;  // says why the drawing's layer list stays empty where it cannot be read
    ui::Label* Label18;  // hidden

protected:
    bool event(QEvent* event) override;
    // Watches which window of the program is active, to tell a return from another of the program's
    // windows from a return from another application; and enables the buttons that act on page 1's drawing
    // kind with "レイヤー作成".
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // The close box unloads the builder; the next showing creates it afresh.
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    QWidget* createPageOne();
    // The parts of the first page, in the order they are created: the output choice (Frame1), the paper,
    // the scale and corners, the action buttons, and the controls that are never shown.
    QWidget* createOutputChoice(QWidget* page);
    QWidget* createPaperChoice(QWidget* page);
    QWidget* createCoordinates(QWidget* page);
    QHBoxLayout* createPageOneActions(QWidget* page);
    void createHiddenValues(QWidget* page);
    QWidget* createPageTwo();
    void connectHandlers();

    tiermark::Result<void> startUpFromDatabase();
    tiermark::Result<void> fillStartUpLists();
    // Says once per showing that the registered database file cannot be read, naming it.
    void tellDatabaseUnreadable();
    void startUpFallback();
    void computeRedrawOrigin();
    void listDrawingLayers();
    // The rows of "レイヤーテーブル" for page 1's work type and drawing kind, read whole; nothing, after
    // kLayerTableUnreadableMessage, when the table cannot be read.
    std::optional<std::vector<LayerRow>> chosenLayerRows();
    // The same for the export and the check, and nothing (after kNoLayerRowsMessage) when the drawing
    // kind has no layer rows.
    std::optional<std::vector<LayerRow>> chosenRowsWithLayers();
    // The check and the translation: the standard of page 1's drawing kind and stage, and the heading that
    // names them; nothing when the drawing kind has no layer rows (said already).
    struct ChosenStandard;
    std::optional<ChosenStandard> chosenStandard();
    // After "レイヤー作成": tells the user once which line types the layers just made need loaded.
    void tellLinetypesToLoad(const std::vector<SentLinetype>& sent);
    ColourLookup colourLookup();
    void showNoWorkTypeMessage();
    void showLayerTableUnreadable();

    core::Program& m_program;
    cadlink::CommandChannel m_channel;
    bool m_inStartUp = false;
    bool m_operationInProgress = false;
    bool m_settingsOfferedSinceShown = false;
    bool m_unreadableToldSinceShown = false;
    bool m_startUpChangedFile = false;  // the last start-up failed as its file changed while it was read
    // Where the drawing gives no read-back: the layers of the DXF file chosen with "参照...", as the
    // renames sent since have left them in the drawing, and the file's name.
    std::vector<std::u16string> m_fileLayers;  // the file's layers as the renames sent since leave them
    std::vector<bool> m_fileReferences;        // which of them belong to external references
    std::u16string m_layerFile;

    // Where the activation came from: the builder was shown, or another window of the program was the
    // active one (a form or message box closing, the main window), or the program was not active at all.
    enum class ActiveBefore { Outside, OtherWindow, Builder };
    ActiveBefore m_activeBefore = ActiveBefore::Outside;
    bool m_shownSinceActivation = false;
};

}  // namespace builder
