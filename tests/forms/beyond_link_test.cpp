// The builder's capabilities beyond the live link: the layer set saved as DXF and script, the layer check
// window (UserForm9), and the changer's names taken from a DXF file where the drawing gives no read-back.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/tiermark.h"
#include "builder/creation_run.h"
#include "builder/forms/builder_form.h"
#include "builder/layer_changer.h"
#include "cadlink/drawing_access.h"
#include "common/codepage.h"
#include "dxf/layer_table.h"
#include "layercheck/forms/layer_check_window.h"
#include "stddb/settings_store.h"
#include "tests/forms/support/fakes.h"
#include "tests/forms/support/sample_tables.h"
#include "ui/dialogs.h"

namespace {

using testing_support::FakeProgram;
using testing_support::SampleTables;
using Texts = std::vector<std::u16string>;

// A drawing that gives its layer table back, as the CAD stand-in does.
class ReadableDrawing final : public cadlink::DrawingAccess {
public:
    std::vector<cadlink::DrawingLayer> layers;
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
};

std::string readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

class BeyondTheLink : public ::testing::Test {
protected:
    FakeProgram fake;
    SampleTables sample;
    QTemporaryDir folder;
    cadlink::WindowHandle cad = 0;

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
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
    // Page 2 with 一般図 at 設計 (D).
    void choosePageTwo() {
        builder().ListBox8->setListIndex(1);
        builder().ListBox9->setListIndex(0);
        builder().ListBox10->setListIndex(0);
        builder().ListBox11->setListIndex(0);
    }
    QString path(const QString& name) const { return QDir(folder.path()).filePath(name); }
    // A DXF of the drawing with the layers 0, 図枠D-TTL, 壁, D-BGD and 現況D-BGD, in code page 932.
    QString writeSiteDxf() const {
        const QString dxfPath = path(QStringLiteral("現場.dxf"));
        {
            std::ofstream out(std::filesystem::path(dxfPath.toStdU16String()), std::ios::binary);
            out << "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\nAC1015\n9\n$DWGCODEPAGE\n3\nANSI_932\n0\nENDSEC\n"
                   "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n"
                << "0\nLAYER\n2\n0\n62\n7\n6\nContinuous\n"
                << "0\nLAYER\n2\n"
                << *tiermark::toCp932(u"図枠D-TTL") << "\n62\n2\n6\nContinuous\n"
                << "0\nLAYER\n2\n"
                << *tiermark::toCp932(u"壁") << "\n62\n7\n6\nContinuous\n"
                << "0\nLAYER\n2\nD-BGD\n62\n8\n6\nContinuous\n"
                << "0\nLAYER\n2\n"
                << *tiermark::toCp932(u"現況D-BGD") << "\n62\n8\n6\nContinuous\n"
                << "0\nENDTAB\n0\nENDSEC\n0\nEOF\n";
        }
        return dxfPath;
    }
};

TEST_F(BeyondTheLink, TheExportAndTheCheckAreOfferedWithLayerCreation) {
    EXPECT_FALSE(builder().CommandButton8->isEnabled());
    EXPECT_FALSE(builder().CommandButton9->isEnabled());
    choosePageOne();
    EXPECT_TRUE(builder().CommandButton8->isEnabled());
    EXPECT_TRUE(builder().CommandButton9->isEnabled());
    builder().ListBox3->setListIndex(1);  // another work type: no drawing kind chosen
    EXPECT_FALSE(builder().CommandButton9->isEnabled());
}

TEST_F(BeyondTheLink, SavesTheDrawingKindsLayersAsDxfAndScriptAndSendsNothing) {
    choosePageOne();
    fake.dialogs.fileToSave = path(QStringLiteral("一般図_D"));  // the extension is added
    builder().CommandButton9_Click();

    const std::string dxfBytes = readFile(path(QStringLiteral("一般図_D.dxf")));
    const std::string script = readFile(path(QStringLiteral("一般図_D.scr")));
    ASSERT_FALSE(dxfBytes.empty());
    std::istringstream in(dxfBytes);
    auto table = dxf::readLayerTable(in);
    ASSERT_TRUE(table.ok()) << table.error().message;
    EXPECT_EQ(table->layers, (std::vector<cadlink::DrawingLayer>{{u"0", 7, u"Continuous"},
                                                                 {u"D-TTL", 2, u"Continuous"},
                                                                 {u"D-STR-DIM", 7, u"Continuous"},
                                                                 {u"D-BGD", 8, u"破線"}}));
    EXPECT_EQ(script.substr(0, 20), "-Layer\r\nn\r\nD-TTL\r\n\r\n");
    EXPECT_NE(script.find("L\r\n" + *tiermark::toCp932(u"破線") + "\r\nD-BGD\r\n"), std::string::npos);
    EXPECT_TRUE(fake.textsSentTo(cad).empty());
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].text.rfind(u"レイヤーセットを書き出しました。\r\rDXF", 0), 0u);
}

TEST_F(BeyondTheLink, ADrawingKindWithoutLayerRowsIsSaidAndIsNeitherSavedNorChecked) {
    choosePageOne();
    builder().ListBox4->setListIndex(1);  // 平面図: no rows in the layer table, as the choice says
    ASSERT_EQ(fake.dialogs.texts(), Texts{std::u16string(builder::kNoLayerRowsMessage)});
    fake.dialogs.messages.clear();
    fake.dialogs.fileToSave = path(QStringLiteral("平面図.dxf"));
    bool checkShown = false;
    fake.dialogs.onForm(QStringLiteral("UserForm9"), [&](QDialog&) { checkShown = true; });
    builder().CommandButton9_Click();
    builder().CommandButton8_Click();
    const std::u16string said(builder::kNoLayerRowsMessage);
    EXPECT_EQ(fake.dialogs.texts(), (Texts{said, said}));
    EXPECT_FALSE(checkShown);
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    EXPECT_TRUE(fake.textsSentTo(cad).empty());
}

TEST_F(BeyondTheLink, APathThatCannotBeWrittenIsSaidAndLeavesNothingBehind) {
    choosePageOne();
    fake.dialogs.fileToSave = path(QStringLiteral("no such folder/一般図.dxf"));
    builder().CommandButton9_Click();
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].text.substr(0, 17), u"ファイルを保存できませんでした。\r");
    EXPECT_TRUE(
        QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());

    // A script of the same name is replaced only when the user says so.
    const QString existing = path(QStringLiteral("一般図.scr"));
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep");
    }
    fake.dialogs.fileToSave = path(QStringLiteral("一般図.dxf"));
    fake.dialogs.answers.push_back(ui::MsgAnswer::Cancel);
    builder().CommandButton9_Click();
    EXPECT_EQ(readFile(existing), "keep");
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("一般図.dxf"))));
}

TEST_F(BeyondTheLink, TheCheckWindowJudgesADxfFiltersSortsAndSavesCsv) {
    choosePageOne();
    fake.dialogs.fileToOpen = QStringLiteral(TIERMARK_FIXTURES "/every-verdict.dxf");
    const QString csvPath = path(QStringLiteral("check.csv"));
    bool ran = false;
    fake.dialogs.onForm(QStringLiteral("UserForm9"), [&](QDialog& dialog) {
        auto& check = dynamic_cast<layercheck::UserForm9&>(dialog);
        ran = true;
        EXPECT_EQ(check.Label1->caption(), u"図面名：一般図　　ライフサイクル：設計（D）");
        EXPECT_FALSE(check.CommandButton1->isEnabled());  // the fake drawing access reads nothing back
        check.CommandButton2_Click();
        EXPECT_EQ(check.result().rows.size(), 13u);
        EXPECT_EQ(check.ListView1->model()->rowCount(), 13);
        EXPECT_NE(check.Label2->caption().find(u"every-verdict.dxf（AC1015、ANSI_932）"),
                  std::u16string::npos);

        // Filtered by verdict: the combo box lists every verdict with its count.
        EXPECT_EQ(check.ComboBox1->itemText(0), u"すべて（13）");
        EXPECT_EQ(check.ComboBox1->itemText(5), u"標準外（3）");
        check.ComboBox1->setListIndex(5);
        check.ComboBox1_Click();
        EXPECT_EQ(check.ListView1->model()->rowCount(), 3);

        // Sorted by a column: the name, one way and the other.
        check.ListView1->sortByColumn(1, Qt::AscendingOrder);
        const auto ascending = check.shownRows();
        check.ListView1->sortByColumn(1, Qt::DescendingOrder);
        const auto descending = check.shownRows();
        ASSERT_EQ(ascending.size(), 3u);
        ASSERT_EQ(descending.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(ascending[i].name, descending[2 - i].name);
        }
        EXPECT_EQ(ascending[0].name, u"C-TTL");

        // Saved as the table shows it.
        fake.dialogs.fileToSave = csvPath;
        check.CommandButton3_Click();
        check.CommandButton4_Click();
    });
    builder().CommandButton8_Click();
    ASSERT_TRUE(ran);
    const std::string csv = readFile(csvPath);
    EXPECT_EQ(csv.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4);  // the heading and the three rows shown
    EXPECT_NE(csv.find("\"標準外\",\"壁\""), std::string::npos);
    EXPECT_TRUE(fake.dialogs.messages.empty());
}

TEST_F(BeyondTheLink, TheCheckWindowReadsTheDrawingWhereItGivesItsLayersBack) {
    ReadableDrawing drawing;
    drawing.layers = {{u"0", 7, u"Continuous"}, {u"D-TTL", 2, u"Continuous"}, {u"D-BGD", 3, u"破線"}};
    fake.program->setDrawingAccess(&drawing);
    choosePageOne();
    fake.dialogs.onForm(QStringLiteral("UserForm9"), [&](QDialog& dialog) {
        auto& check = dynamic_cast<layercheck::UserForm9&>(dialog);
        ASSERT_TRUE(check.CommandButton1->isEnabled());
        check.CommandButton1_Click();
        EXPECT_EQ(check.result().count(layercheck::Verdict::Standard), 1);
        EXPECT_EQ(check.result().count(layercheck::Verdict::OtherProperties), 1);
        EXPECT_EQ(check.result().count(layercheck::Verdict::Missing), 1);  // D-STR-DIM
        EXPECT_EQ(check.Label2->caption(), u"読み込み元：図面 [a.dwg]");
    });
    builder().CommandButton8_Click();
}

TEST_F(BeyondTheLink, TheCheckWindowShowsTrueColoursAndTheLayersOfExternalReferences) {
    ReadableDrawing drawing;
    cadlink::DrawingLayer red{u"D-TTL", 2, u"Continuous"};
    red.trueColour = 0xFF0000;
    cadlink::DrawingLayer referenced{u"現況図|D-BGD", 8, u"破線"};
    referenced.xrefDependent = true;
    drawing.layers = {{u"0", 7, u"Continuous"}, red, referenced, {u"D-STR-DIM", 7, u"Continuous"}};
    fake.program->setDrawingAccess(&drawing);
    choosePageOne();
    fake.dialogs.onForm(QStringLiteral("UserForm9"), [&](QDialog& dialog) {
        auto& check = dynamic_cast<layercheck::UserForm9&>(dialog);
        check.CommandButton1_Click();
        QAbstractItemModel& table = *check.ListView1->model();
        EXPECT_EQ(table.index(1, 2).data().toString(), QStringLiteral("255,0,0"));
        EXPECT_EQ(table.index(1, 0).data().toString(), QStringLiteral("標準名（色・線種が異なる）"));
        EXPECT_EQ(table.index(2, 0).data().toString(), QStringLiteral("外部参照の画層"));
        EXPECT_NE(check.Label4->caption().find(u"外部参照の画層：1"), std::u16string::npos);
        // By colour: the missing layer (no colour), the numbers, then the true colour.
        check.ListView1->sortByColumn(2, Qt::AscendingOrder);
        const auto rows = check.shownRows();
        ASSERT_EQ(rows.size(), 5u);
        EXPECT_EQ(rows.front().verdict, layercheck::Verdict::Missing);
        EXPECT_EQ(rows.back().name, u"D-TTL");
    });
    builder().CommandButton8_Click();
}

TEST_F(BeyondTheLink, BadFilesAndUnwritablePathsAreSaidInTheCheckWindow) {
    choosePageOne();
    const QString notDxf = path(QStringLiteral("not.dxf"));
    {
        QFile file(notDxf);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("PK\x03\x04 this is a zip file");
    }
    fake.dialogs.onForm(QStringLiteral("UserForm9"), [&](QDialog& dialog) {
        auto& check = dynamic_cast<layercheck::UserForm9&>(dialog);
        fake.dialogs.fileToOpen = notDxf;
        check.CommandButton2_Click();
        ASSERT_EQ(fake.dialogs.messages.size(), 1u);
        EXPECT_NE(fake.dialogs.messages[0].text.find(u"DXF ファイルではありません"), std::u16string::npos);
        EXPECT_FALSE(check.CommandButton3->isEnabled());

        fake.dialogs.fileToOpen = QStringLiteral(TIERMARK_FIXTURES "/every-verdict.dxf");
        check.CommandButton2_Click();
        fake.dialogs.fileToSave = path(QStringLiteral("missing folder/check.csv"));
        check.CommandButton3_Click();
        ASSERT_EQ(fake.dialogs.messages.size(), 2u);
        EXPECT_EQ(fake.dialogs.messages[1].text.rfind(u"CSV ファイルを保存できませんでした。\r", 0), 0u);
    });
    builder().CommandButton8_Click();
}

TEST_F(BeyondTheLink, TheCheckWindowClosesItselfInTheRealModalLoop) {
    choosePageOne();
    layercheck::UserForm9* shown = nullptr;
    bool watchdogFired = false;
    ui::QtDialogs real;
    fake.dialogs.onForm(QStringLiteral("UserForm9"), [&](QDialog& dialog) {
        shown = dynamic_cast<layercheck::UserForm9*>(&dialog);
        dialog.hide();
        // The close button, pressed once the real loop runs; the watchdog ends a loop that never returns.
        QTimer::singleShot(0, &dialog, [&] { shown->CommandButton4->click(); });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, &dialog, [&] {
            watchdogFired = true;
            dialog.reject();
        });
        watchdog.start(5000);
        real.runModal(dialog);
    });
    builder().CommandButton8_Click();
    ASSERT_NE(shown, nullptr);
    EXPECT_FALSE(watchdogFired);
}

// Where AutoCAD LT gives no read-back: "参照..." takes the names from a DXF of the drawing, "→" types the
// renames into AutoCAD LT, and the file stays as it was.
TEST_F(BeyondTheLink, TheChangerTakesTheNamesFromADxfAndRenamesThroughTheLink) {
    cadlink::NullDrawingAccess none;
    fake.program->setDrawingAccess(&none);
    builder().ListBox8->setListIndex(1);  // D
    builder().ListBox9->setListIndex(0);
    builder().ListBox10->setListIndex(0);
    builder().ListBox11->setListIndex(0);  // 一般図
    ASSERT_FALSE(builder().CommandButton10->isHidden());
    EXPECT_EQ(builder().ListBox12->listCount(), 0);

    const QString dxfPath = writeSiteDxf();
    const std::string before = readFile(dxfPath);
    fake.dialogs.fileToOpen = dxfPath;
    builder().CommandButton10_Click();
    EXPECT_EQ(builder().ListBox12->items(), (Texts{u"図枠D-TTL", u"壁", u"D-BGD", u"現況D-BGD"}));
    EXPECT_NE(builder().Label27->caption().find(u"DXF ファイル自体は変更しません"), std::u16string::npos);

    builder().CommandButton2_Click();
    // 現況D-BGD would take a name the drawing holds already: refused here, nothing typed for it.
    ASSERT_EQ(fake.dialogs.messages.size(), 1u);
    EXPECT_EQ(fake.dialogs.messages[0].text, u"画層名変更できません。\r画層「D-BGD」が図面に既にあります。");
    EXPECT_EQ(fake.textsSentTo(cad),
              (Texts{u"\x1b\x1b", u"-RENAME\r", u"LA\r", u"図枠D-TTL\r", u"D-TTL\r", u"\x1b"}));
    EXPECT_EQ(builder().ListBox12->items(), (Texts{u"壁", u"現況D-BGD"}));
    EXPECT_EQ(readFile(dxfPath), before);

    // Choosing the drawing kind again lists the drawing as the renames have left it.
    builder().ListBox11->setListIndex(-1);
    builder().ListBox11->setListIndex(0);
    EXPECT_EQ(builder().ListBox12->items(), (Texts{u"D-TTL", u"壁", u"D-BGD", u"現況D-BGD"}));
}

// The drawing references another: AutoCAD LT names that drawing's layers itself ("現況図|D-BGD", flag 16 in
// the file), and the user cannot rename them. The changer leaves them out of its list and says so, and
// "→" types nothing for them, here from a binary DXF file.
TEST_F(BeyondTheLink, TheChangerLeavesTheLayersOfExternalReferencesAlone) {
    cadlink::NullDrawingAccess none;
    fake.program->setDrawingAccess(&none);
    choosePageTwo();
    std::string binary("AutoCAD Binary DXF\r\n\x1a\0", 22);
    const auto group = [&](int code, const std::string& value) {
        binary.push_back(static_cast<char>(code & 0xFF));
        binary.push_back(static_cast<char>(code >> 8));
        binary += value;
        binary.push_back('\0');
    };
    const auto flags = [&](int value) {
        binary += std::string{'\x46', '\0', static_cast<char>(value), '\0'};  // group 70, two bytes
    };
    group(0, "SECTION");
    group(2, "TABLES");
    group(0, "TABLE");
    group(2, "LAYER");
    group(0, "LAYER");
    group(2, *tiermark::toCp932(u"現況図|D-BGD"));
    flags(16 | 32);
    group(0, "LAYER");
    group(2, *tiermark::toCp932(u"図枠D-TTL"));
    flags(0);
    group(0, "ENDTAB");
    group(0, "ENDSEC");
    group(0, "EOF");
    const QString dxfPath = path(QStringLiteral("参照あり.dxf"));
    std::ofstream(std::filesystem::path(dxfPath.toStdU16String()), std::ios::binary) << binary;
    fake.dialogs.fileToOpen = dxfPath;
    builder().CommandButton10_Click();
    EXPECT_EQ(builder().ListBox12->items(), (Texts{u"図枠D-TTL"}));
    EXPECT_NE(builder().Label27->caption().find(
                  u"外部参照の画層（1 件）は名前を変えられないため、一覧に含めていません。"),
              std::u16string::npos);
    builder().CommandButton2_Click();
    EXPECT_EQ(fake.textsSentTo(cad),
              (Texts{u"\x1b\x1b", u"-RENAME\r", u"LA\r", u"図枠D-TTL\r", u"D-TTL\r", u"\x1b"}));
}

// AutoCAD LT stops taking texts in the middle of a rename: that rename is said not to be made, with what to
// do at AutoCAD LT's command line; nothing more goes out, the names stay listed as the drawing holds them,
// and the next rename that would be sent ends the pass as a drawing that cannot be reached.
TEST_F(BeyondTheLink, TheChangerStopsWhenAutoCadLtNoLongerTakesTheRenames) {
    cadlink::NullDrawingAccess none;
    fake.program->setDrawingAccess(&none);
    choosePageTwo();
    const QString dxfPath = path(QStringLiteral("two.dxf"));
    {
        std::ofstream out(std::filesystem::path(dxfPath.toStdU16String()), std::ios::binary);
        out << "0\nSECTION\n2\nTABLES\n0\nTABLE\n2\nLAYER\n0\nLAYER\n2\n"
            << *tiermark::toCp932(u"図枠D-TTL") << "\n62\n2\n0\nLAYER\n2\n"
            << *tiermark::toCp932(u"寸法D-STR-DIM") << "\n62\n7\n0\nENDTAB\n0\nENDSEC\n0\nEOF\n";
    }
    fake.dialogs.fileToOpen = dxfPath;
    builder().CommandButton10_Click();
    ASSERT_EQ(builder().ListBox12->items(), (Texts{u"図枠D-TTL", u"寸法D-STR-DIM"}));

    fake.windows.closeWindowAfter(cad, 3);  // gone in the middle of the first rename (the lowest item)
    builder().CommandButton2_Click();
    ASSERT_EQ(fake.dialogs.messages.size(), 2u);
    EXPECT_EQ(fake.dialogs.messages[0].text,
              u"画層名変更できません。\r" + cadlink::notDeliveredMessage(cadlink::Delivery::NotTaken));
    EXPECT_EQ(fake.dialogs.messages[1].text.rfind(builder::kDrawingUnreachableMessage, 0), 0u);
    EXPECT_EQ(builder().ListBox12->items(), (Texts{u"図枠D-TTL", u"寸法D-STR-DIM"}));
    EXPECT_EQ(fake.textsSentTo(cad), (Texts{u"\x1b\x1b", u"-RENAME\r", u"LA\r"}));
}

}  // namespace
