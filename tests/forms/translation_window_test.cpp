// The layer translation window (UserForm10), opened from the builder's first page: the drawing's layers read
// back or from a DXF file, mapped by hand and by the proposals, the map file saved and loaded, the summary,
// and the map applied to the live drawing through the command channel.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <utility>

#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "cadlink/drawing_access.h"
#include "common/codepage.h"
#include "common/utf.h"
#include "dxf/layer_table.h"
#include "layercheck/forms/layer_check_window.h"
#include "tests/forms/support/fakes.h"
#include "tests/forms/support/sample_tables.h"
#include "translate/forms/translation_window.h"
#include "translate/listing.h"
#include "translate/map_memory.h"

namespace {

using testing_support::FakeProgram;
using testing_support::SampleTables;
using Texts = std::vector<std::u16string>;

// A drawing that gives its layer table and current layer back, as the CAD stand-in does.
class ReadableDrawing final : public cadlink::DrawingAccess {
public:
    std::vector<cadlink::DrawingLayer> layers;
    std::u16string current;
    bool available() const override { return true; }
    tiermark::Result<std::vector<std::u16string>> layerNames(cadlink::WindowHandle) override {
        Texts names;
        for (const auto& layer : layers) {
            names.push_back(layer.name);
        }
        return names;
    }
    tiermark::Result<void> renameLayer(cadlink::WindowHandle, std::u16string_view,
                                       std::u16string_view) override {
        return tiermark::makeError("not here");
    }
    tiermark::Result<std::vector<cadlink::DrawingLayer>> layerTable(cadlink::WindowHandle) override {
        return layers;
    }
    tiermark::Result<std::u16string> currentLayer(cadlink::WindowHandle) override { return current; }
};

class TranslationWindow : public ::testing::Test {
protected:
    FakeProgram fake;
    SampleTables sample;
    QTemporaryDir folder;
    ReadableDrawing drawing;
    cadlink::WindowHandle cad = 0;

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        drawing.layers = {{u"0", 7, u"Continuous"},    {u"図枠D-TTL", 2, u"Continuous"},
                          {u"寸法", 7, u"Continuous"}, {u"寸法線", 7, u"Continuous"},
                          {u"D-BGD", 8, u"破線"},      {u"作図", 7, u"Continuous"}};
        drawing.current = u"作図";
        fake.program->setDrawingAccess(&drawing);
        testing_support::registerSample(fake.settings, fake.workspace, sample);
        cad = fake.startCad("a.dwg");
        fake.program->forms().form1().Form_Load();
        builder().UserForm_Activate();
    }
    builder::UserForm1& builder() { return fake.program->forms().userForm1(); }
    void choosePageOne() {
        builder().ListBox1->setListIndex(1);  // 設計: D
        builder().ListBox2->setListIndex(0);
        builder().ListBox3->setListIndex(0);
        builder().ListBox4->setListIndex(0);  // 一般図: D-TTL, D-STR-DIM, D-BYP-STRn, D-BGD
    }
    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }

    // Opens the window from the builder and runs the test's steps in it while it is shown.
    void inWindow(const std::function<void(translate::UserForm10&)>& steps) {
        choosePageOne();
        bool ran = false;
        fake.dialogs.onForm(QStringLiteral("UserForm10"), [&](QDialog& dialog) {
            ran = true;
            steps(dynamic_cast<translate::UserForm10&>(dialog));
        });
        ASSERT_TRUE(builder().CommandButton11->isEnabled());
        builder().CommandButton11_Click();
        EXPECT_TRUE(ran);
    }
};

int rowOf(const ui::ListBox& list, std::u16string_view start) {
    for (int row = 0; row < list.listCount(); ++row) {
        if (list.itemText(row).rfind(start, 0) == 0) {
            return row;
        }
    }
    return -1;
}

TEST_F(TranslationWindow, MapsByHandAndByProposalAndAppliesToTheLiveDrawing) {
    inWindow([&](translate::UserForm10& window) {
        EXPECT_EQ(window.Label1->caption(), u"図面名：一般図　　ライフサイクル：設計（D）");
        EXPECT_NE(window.Label5->caption().find(u"外部参照の画層と現在の画層"), std::u16string::npos);
        EXPECT_FALSE(window.CommandButton8->isEnabled());  // nothing read yet
        const int dim = rowOf(*window.ListBox2, u"D-STR-DIM　Continuous　色 ");
        ASSERT_GE(dim, 0);
        EXPECT_GE(rowOf(*window.ListBox2, u"D-BGD　破線　色 8"), 0);

        window.CommandButton1_Click();
        ASSERT_EQ(window.ListBox1->listCount(), 6);
        EXPECT_EQ(window.ListBox1->itemText(2), u"寸法（そのまま）");
        EXPECT_TRUE(window.CommandButton5->isEnabled());  // the suffix rule proposes 図枠D-TTL → D-TTL
        window.CommandButton5_Click();
        EXPECT_EQ(window.ListBox1->itemText(1), u"図枠D-TTL → D-TTL（名前を変更）");

        // Two drawing layers chosen together go to one standard layer that the drawing lacks.
        window.ListBox1->item(2)->setSelected(true);
        window.ListBox1->item(3)->setSelected(true);
        window.ListBox2->setListIndex(dim);
        window.CommandButton3_Click();
        EXPECT_EQ(window.ListBox1->itemText(2), u"寸法 → D-STR-DIM（作成して統合）");
        EXPECT_EQ(window.ListBox1->itemText(3), u"寸法線 → D-STR-DIM（作成して統合）");
        EXPECT_EQ(window.summary().plan.count(translate::Outcome::CreatedThenMerged), 2);
        EXPECT_NE(window.Label4->caption().find(u"作成して統合：2"), std::u16string::npos);
        EXPECT_NE(window.Label4->caption().find(u"画層チェック（適用後）"), std::u16string::npos);

        // The current layer may be renamed but never merged away.
        window.ListBox1->clearSelection();
        window.ListBox1->item(5)->setSelected(true);
        window.ListBox2->setListIndex(rowOf(*window.ListBox2, u"D-BGD"));
        window.CommandButton3_Click();
        EXPECT_EQ(window.summary().plan.steps[5].outcome, translate::Outcome::Refused);
        window.CommandButton4_Click();  // and unmapped again
        EXPECT_EQ(window.ListBox1->itemText(5), u"作図（そのまま）");

        window.CommandButton8_Click();
    });
    const Texts sent = fake.textsSentTo(cad);
    EXPECT_NE(std::find(sent.begin(), sent.end(), u"-LAYMRG\r"), sent.end());
    EXPECT_NE(std::find(sent.begin(), sent.end(), u"-RENAME\r"), sent.end());
    EXPECT_NE(std::find(sent.begin(), sent.end(), u"D-STR-DIM\r"), sent.end());
    ASSERT_FALSE(fake.dialogs.messages.empty());
    EXPECT_EQ(fake.dialogs.messages.back().text.find(u"図面の画層を変換しました。"), 0u);
    // The map applied is remembered for the next drawing's proposals.
    const translate::LayerMap remembered = translate::rememberedMap(fake.settings);
    ASSERT_NE(remembered.targetOf(u"寸法線"), nullptr);
    EXPECT_EQ(*remembered.targetOf(u"寸法線"), u"D-STR-DIM");
}

TEST_F(TranslationWindow, TheMapFileIsSavedAndLoadedAndAPairTheDrawingLacksIsKept) {
    const QString mapPath = path(QStringLiteral("office-map.txt"));
    {
        std::ofstream out(std::filesystem::path(mapPath.toStdU16String()), std::ios::binary);
        out << "# office map\r\n寸法\tD-STR-DIM\r\n引出線\tD-STR-DIM\r\n";
    }
    inWindow([&](translate::UserForm10& window) {
        window.CommandButton1_Click();
        fake.dialogs.fileToOpen = mapPath;
        window.CommandButton6_Click();
        EXPECT_EQ(window.ListBox1->itemText(2), u"寸法 → D-STR-DIM（名前を変更）");
        EXPECT_NE(window.Label4->caption().find(u"図面にない画層：引出線"), std::u16string::npos);
        EXPECT_EQ(window.map().pairs().size(), 2u);

        const QString saved = path(QStringLiteral("saved-map.txt"));
        fake.dialogs.fileToSave = saved;
        window.CommandButton7_Click();
        QFile file(saved);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        auto again = translate::parseMapFile(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        ASSERT_TRUE(again.ok());
        EXPECT_EQ(again->pairs(), window.map().pairs());

        // A file that is no map says which line is at fault and leaves the map as it was.
        {
            std::ofstream out(std::filesystem::path(mapPath.toStdU16String()), std::ios::binary);
            out << "寸法 D-STR-DIM\n";
        }
        fake.dialogs.messages.clear();
        window.CommandButton6_Click();
        ASSERT_EQ(fake.dialogs.messages.size(), 1u);
        EXPECT_EQ(fake.dialogs.messages[0].text.find(u"対応表を読み取れませんでした。"), 0u);
        EXPECT_EQ(window.map().pairs().size(), 2u);
    });
    EXPECT_NE(translate::rememberedMap(fake.settings).targetOf(u"引出線"), nullptr);  // saved, so remembered
    EXPECT_TRUE(fake.textsSentTo(cad).empty());
}

TEST_F(TranslationWindow, ADrawingReadFromItsDxfFileIsWrittenAsATranslatedCopyBesideIt) {
    const QString dxfPath = path(QStringLiteral("現場.dxf"));
    const std::string wall = *tiermark::toCp932(u"壁");
    const std::string pillar = *tiermark::toCp932(u"柱");
    {
        std::ofstream out(std::filesystem::path(dxfPath.toStdU16String()), std::ios::binary);
        out << "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$DWGCODEPAGE\n3\nANSI_932\n9\n$CLAYER\n8\n"
            << wall << "\n0\nENDSEC\n0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n"
            << "0\nLAYER\n2\n0\n70\n0\n62\n7\n6\nContinuous\n0\nLAYER\n2\n"
            << wall << "\n70\n0\n62\n7\n6\nContinuous\n0\nLAYER\n2\n"
            << pillar << "\n70\n0\n62\n7\n6\nContinuous\n0\nLAYER\n2\nD-BGD\n70\n0\n62\n8\n6\nContinuous\n"
            << "0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n"
            << pillar << "\n10\n0.0\n20\n0.0\n11\n1.0\n21\n1.0\n0\nENDSEC\n0\nEOF\n";
    }
    inWindow([&](translate::UserForm10& window) {
        fake.dialogs.fileToOpen = dxfPath;
        window.CommandButton2_Click();
        ASSERT_EQ(window.ListBox1->listCount(), 4);
        EXPECT_NE(window.Label2->caption().find(u"現場.dxf"), std::u16string::npos);
        EXPECT_TRUE(window.CommandButton9->isEnabled());
        EXPECT_TRUE(window.CommandButton8->isEnabled());  // AutoCAD LT's drawing, read from its file
        // The file's current layer ($CLAYER) is never merged away; 柱 is merged into D-BGD.
        window.ListBox1->item(1)->setSelected(true);
        window.ListBox1->item(2)->setSelected(true);
        window.ListBox2->setListIndex(rowOf(*window.ListBox2, u"D-BGD"));
        window.CommandButton3_Click();
        EXPECT_EQ(window.summary().plan.steps[1].outcome, translate::Outcome::Refused);
        EXPECT_EQ(window.summary().plan.steps[2].outcome, translate::Outcome::Merged);

        fake.dialogs.fileToSave = path(QStringLiteral("現場_変換.dxf"));
        window.CommandButton9_Click();
    });
    auto copy = dxf::readLayerTableFile(
        std::filesystem::path(path(QStringLiteral("現場_変換.dxf")).toStdU16String()));
    ASSERT_TRUE(copy.ok()) << copy.error().message;
    std::vector<std::u16string> names;
    for (const auto& layer : copy->layers) {
        names.push_back(layer.name);
    }
    EXPECT_EQ(names, (Texts{u"0", u"壁", u"D-BGD"}));
    EXPECT_EQ(copy->currentLayer, u"壁");
    auto source = dxf::readLayerTableFile(std::filesystem::path(dxfPath.toStdU16String()));
    ASSERT_TRUE(source.ok());
    EXPECT_EQ(source->layers.size(), 4u);  // the source is as it was
    ASSERT_FALSE(fake.dialogs.messages.empty());
    EXPECT_EQ(fake.dialogs.messages.back().text.find(u"変換した DXF ファイルを書き出しました。"), 0u);
    EXPECT_NE(fake.dialogs.messages.back().text.find(u"画層を移した図形：1"), std::u16string::npos);
    EXPECT_TRUE(fake.textsSentTo(cad).empty());
}

// A DXF drawing of the layers 0, 壁 (current), 柱 with one line, and D-BGD, in code page 932.
void writeSiteDxf(const QString& dxfPath) {
    const std::string wall = *tiermark::toCp932(u"壁");
    const std::string pillar = *tiermark::toCp932(u"柱");
    std::ofstream out(std::filesystem::path(dxfPath.toStdU16String()), std::ios::binary);
    out << "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$DWGCODEPAGE\n3\nANSI_932\n9\n$CLAYER\n8\n"
        << wall << "\n0\nENDSEC\n0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n"
        << "0\nLAYER\n2\n0\n70\n0\n62\n7\n6\nContinuous\n0\nLAYER\n2\n"
        << wall << "\n70\n0\n62\n7\n6\nContinuous\n0\nLAYER\n2\n"
        << pillar << "\n70\n0\n62\n7\n6\nContinuous\n0\nLAYER\n2\nD-BGD\n70\n0\n62\n8\n6\nContinuous\n"
        << "0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nLINE\n8\n"
        << pillar << "\n10\n0.0\n20\n0.0\n11\n1.0\n21\n1.0\n0\nENDSEC\n0\nEOF\n";
}

TEST_F(TranslationWindow, AFolderIsCheckedAndTranslatedFileByFileWithOneReport) {
    QDir(folder.path()).mkdir(QStringLiteral("図面"));
    QDir(folder.path()).mkdir(QStringLiteral("変換後"));
    const QString drawings = path(QStringLiteral("図面"));
    writeSiteDxf(QDir(drawings).filePath(QStringLiteral("a.dxf")));
    {
        QFile bad(QDir(drawings).filePath(QStringLiteral("b.dxf")));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
        bad.write("no drawing");
    }
    bool checkShown = false;
    inWindow([&](translate::UserForm10& window) {
        fake.dialogs.foldersToChoose = {drawings};
        fake.dialogs.fileToSave = path(QStringLiteral("結果.csv"));
        window.CommandButton11_Click();
        ASSERT_EQ(window.folderRun().files.size(), 2u);
        EXPECT_TRUE(window.folderRun().files[0].error.empty());
        EXPECT_FALSE(window.folderRun().files[1].error.empty());  // named, and the rest went on
        EXPECT_EQ(window.ListView1->rowCount(), 2);
        EXPECT_TRUE(QFile::exists(path(QStringLiteral("結果.csv"))));
        EXPECT_TRUE(QFile::exists(path(QStringLiteral("結果.html"))));
        EXPECT_EQ(fake.dialogs.messages.back().text.find(u"すべての図面を処理しました。（2 件）"), 0u);

        // A double click opens that file's check.
        fake.dialogs.onForm(QStringLiteral("UserForm9"), [&](QDialog& dialog) {
            checkShown = true;
            auto& check = dynamic_cast<layercheck::UserForm9&>(dialog);
            EXPECT_EQ(check.result().rows.empty(), false);
            EXPECT_NE(check.Label2->caption().find(u"a.dxf"), std::u16string::npos);
        });
        window.ListView1_DblClick(0);

        // Translated with the map into the target folder: 柱 merged into D-BGD.
        EXPECT_FALSE(window.CommandButton12->isEnabled());  // no map yet
        fake.dialogs.fileToOpen = QDir(drawings).filePath(QStringLiteral("a.dxf"));
        window.CommandButton2_Click();
        window.ListBox1->item(2)->setSelected(true);
        window.ListBox2->setListIndex(rowOf(*window.ListBox2, u"D-BGD"));
        window.CommandButton3_Click();
        ASSERT_TRUE(window.CommandButton12->isEnabled());
        fake.dialogs.foldersToChoose = {path(QStringLiteral("変換後")), drawings};
        window.CommandButton12_Click();
        ASSERT_EQ(window.folderRun().files.size(), 2u);
        EXPECT_FALSE(window.folderRun().files[0].written.empty());
    });
    EXPECT_TRUE(checkShown);
    auto copy = dxf::readLayerTableFile(std::filesystem::path(
        QDir(path(QStringLiteral("変換後"))).filePath(QStringLiteral("a.dxf")).toStdU16String()));
    ASSERT_TRUE(copy.ok()) << copy.error().message;
    EXPECT_EQ(copy->layers.size(), 3u);  // 0, 壁, D-BGD
    EXPECT_NE(translate::rememberedMap(fake.settings).targetOf(u"柱"), nullptr);
}

bool endsWith(std::u16string_view text, std::u16string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// A DXF drawing of the layers named, all Continuous in colour 7, the first one current.
void writeLayersDxf(const QString& dxfPath, const std::vector<std::string>& names) {
    std::ofstream out(std::filesystem::path(dxfPath.toStdU16String()), std::ios::binary);
    out << "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$CLAYER\n8\n"
        << names.front() << "\n0\nENDSEC\n0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n";
    for (const std::string& name : names) {
        out << "0\nLAYER\n2\n" << name << "\n70\n0\n62\n7\n6\nContinuous\n";
    }
    out << "0\nENDTAB\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n0\nENDSEC\n0\nEOF\n";
}

// The sample's stage 設計 holds two kinds with standard layers: 一般図 (D-TTL, D-STR-DIM, D-BYP-STRn, D-BGD)
// and 構造図 (D-STR).
TEST_F(TranslationWindow, TheKindsADrawingMatchesBestAreListedAndTheOneConfirmedBecomesTheStandard) {
    drawing.layers = {{u"0", 7, u"Continuous"},
                      {u"D-STR", 1, u"Continuous"},
                      {u"D-TTL", 2, u"Continuous"},
                      {u"D-BGD", 8, u"破線"},
                      {u"壁", 7, u"Continuous"}};
    drawing.current = u"壁";
    inWindow([&](translate::UserForm10& window) {
        // A screen reader hears each control's heading caption, with its program name as description.
        const std::pair<QWidget*, QString> spoken[] = {
            {window.CommandButton13, QStringLiteral("図面の種類を推定")},
            {window.ListBox3, QStringLiteral("一致する図面の種類")},
            {window.CommandButton14, QStringLiteral("この種類で変換")},
            {window.CheckBox1, QStringLiteral("図面ごとに種類を推定")}};
        for (const auto& [control, name] : spoken) {
            EXPECT_EQ(control->accessibleName(), name);
            EXPECT_EQ(control->accessibleDescription(), control->objectName());
        }
        EXPECT_EQ(window.Label6->accessibleName().isEmpty(), false);  // the guidance it shows

        EXPECT_FALSE(window.CommandButton13->isEnabled());  // nothing read yet
        window.CommandButton1_Click();
        ASSERT_TRUE(window.CommandButton13->isEnabled());
        window.CommandButton13_Click();
        ASSERT_EQ(window.ListBox3->listCount(), 2);
        EXPECT_TRUE(endsWith(window.ListBox3->itemText(0), u"/一般図（設計、D）　50%（2 / 4 画層）"))
            << tiermark::toUtf8(window.ListBox3->itemText(0));
        EXPECT_TRUE(endsWith(window.ListBox3->itemText(1), u"/構造図（設計、D）　25%（1 / 4 画層）"))
            << tiermark::toUtf8(window.ListBox3->itemText(1));
        // Nothing switches by itself: the kind is confirmed once one is chosen.
        EXPECT_EQ(window.Label1->caption(), u"図面名：一般図　　ライフサイクル：設計（D）");
        EXPECT_FALSE(window.CommandButton14->isEnabled());
        window.ListBox3->setListIndex(1);
        ASSERT_TRUE(window.CommandButton14->isEnabled());
        window.CommandButton14_Click();

        EXPECT_TRUE(endsWith(window.Label1->caption(), u"/構造図（設計、D）"));
        ASSERT_EQ(window.ListBox2->listCount(), 1);
        EXPECT_EQ(window.ListBox2->itemText(0).rfind(u"D-STR　", 0), 0u);
        EXPECT_EQ(window.ListBox1->listCount(), 5);  // the layers read stay
        // The layer check before follows the new kind: D-STR standard, and no 一般図 layer missing.
        EXPECT_EQ(window.summary().before.count(layercheck::Verdict::Standard), 1);
        EXPECT_EQ(window.summary().before.count(layercheck::Verdict::Missing), 0);
        EXPECT_EQ(window.Label6->caption().find(u"図面の種類を変えました："), 0u);
        EXPECT_EQ(window.ListBox3->listCount(), 0);
        EXPECT_FALSE(window.CommandButton14->isEnabled());
        // The mapping goes to the new kind's layers: D-TTL merged into D-STR, which the drawing has.
        window.ListBox1->item(2)->setSelected(true);
        window.ListBox2->setListIndex(0);
        window.CommandButton3_Click();
        EXPECT_EQ(window.summary().plan.steps[2].outcome, translate::Outcome::Merged);
        EXPECT_EQ(window.summary().plan.steps[2].standard, u"D-STR");

        // Asked again, the kinds are those of the same stage; a drawing that matches none says so.
        window.showLayers({{u"0", 7, u"Continuous"}, {u"壁", 7, u"Continuous"}}, u"壁", u"別の図面");
        window.CommandButton13_Click();
        EXPECT_EQ(window.ListBox3->listCount(), 0);
        EXPECT_EQ(window.Label6->caption(), u"この図面の画層に一致する図面の種類はありません。");
        EXPECT_FALSE(window.CommandButton14->isEnabled());
    });
    EXPECT_TRUE(fake.textsSentTo(cad).empty());
}

TEST_F(TranslationWindow, AFolderCheckedKindByKindGivesEachFileItsBestKindAndNamesOneThatMatchesNone) {
    QDir(folder.path()).mkdir(QStringLiteral("図面"));
    const QString drawings = path(QStringLiteral("図面"));
    writeLayersDxf(QDir(drawings).filePath(QStringLiteral("a.dxf")), {"0", "D-TTL", "D-BGD"});
    writeLayersDxf(QDir(drawings).filePath(QStringLiteral("b.dxf")), {"0", "WALL"});
    writeLayersDxf(QDir(drawings).filePath(QStringLiteral("c.dxf")), {"0", "D-STR", "WALL"});
    bool checkShown = false;
    inWindow([&](translate::UserForm10& window) {
        ASSERT_FALSE(window.CheckBox1->isChecked());
        window.CheckBox1->setChecked(true);
        fake.dialogs.foldersToChoose = {drawings};
        fake.dialogs.fileToSave = path(QStringLiteral("結果.csv"));
        window.CommandButton11_Click();
        const translate::FolderRun& run = window.folderRun();
        ASSERT_EQ(run.files.size(), 3u);
        EXPECT_TRUE(endsWith(run.files[0].heading, u"/一般図（設計、D）（一致 100%）"));
        // D-TTL and D-BGD in another colour and line type.
        EXPECT_EQ(run.files[0].counts[static_cast<std::size_t>(layercheck::Verdict::OtherProperties)], 2);
        EXPECT_TRUE(run.files[1].heading.empty());
        EXPECT_EQ(run.files[1].error, u"この図面に当てはまる図面の種類がありません。");  // and the rest go on
        EXPECT_TRUE(endsWith(run.files[2].heading, u"/構造図（設計、D）（一致 50%）"));
        EXPECT_TRUE(run.files[2].error.empty());
        // The table's kind column and the report name each file's kind.
        EXPECT_EQ(window.ListView1->item(2, 1)->text().toStdU16String(), run.files[2].heading);
        QFile csv(path(QStringLiteral("結果.csv")));
        ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
        EXPECT_TRUE(
            QString::fromUtf8(csv.readAll()).contains(QStringLiteral("構造図（設計、D）（一致 50%）")));
        QFile html(path(QStringLiteral("結果.html")));
        ASSERT_TRUE(html.open(QIODevice::ReadOnly));
        const QString page = QString::fromUtf8(html.readAll());
        EXPECT_TRUE(page.contains(QStringLiteral("図面ごとの種類")));  // the title: not the window's kind
        EXPECT_FALSE(page.contains(QStringLiteral("図面名：一般図")));

        // A double click checks the file against its own kind.
        fake.dialogs.onForm(QStringLiteral("UserForm9"), [&](QDialog& dialog) {
            checkShown = true;
            auto& check = dynamic_cast<layercheck::UserForm9&>(dialog);
            EXPECT_TRUE(endsWith(check.Label1->caption(), u"/構造図（設計、D）"));
            EXPECT_EQ(check.result().count(layercheck::Verdict::OtherProperties), 1);  // D-STR, not red
            EXPECT_EQ(check.result().count(layercheck::Verdict::Missing), 0);
        });
        window.ListView1_DblClick(2);
    });
    EXPECT_TRUE(checkShown);
}

}  // namespace
