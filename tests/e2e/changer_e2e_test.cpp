// The layer changer against a running CAD stand-in opened on a DXF drawing: the drawing's own layers are
// listed, converted through the real POSIX link, refused where the drawing refuses, and saved with the file.
// And layer creation from a hostile database row against the same stand-in: the row renames nothing.
#include <gtest/gtest.h>

#include <algorithm>

#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "builder/layer_changer.h"
#include "cadlink/drawing_access_posix.h"
#include "cadlink/posix_window_system.h"
#include "cadsim/core/drawing.h"
#include "cadsim/core/dxf_io.h"
#include "stddb/settings_store.h"
#include "tests/forms/support/fakes.h"
#include "tests/forms/support/sample_tables.h"

namespace {

using Texts = std::vector<std::u16string>;

class ChangerAgainstStandIn : public ::testing::Test {
protected:
    QTemporaryDir work;
    QProcess standIn;
    std::string dxfPath;
    std::unique_ptr<cadlink::PosixWindowSystem> windows;
    cadlink::PosixDrawingAccess drawing;
    testing_support::ScriptedWorkspace workspace;
    stddb::MemorySettingsStore settings;
    ui::RecordingDialogs dialogs;
    testing_support::SampleTables sample;
    std::unique_ptr<app::Tiermark> program;

    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        testing_support::usePrivateCadDirectory(work.path());

        cadsim::Drawing source;
        for (const char16_t* layer :
             {u"図枠D-TTL", u"外形線", u"D-BGD", u"現況D-BGD", u"副構造物D-BYP-STR 3", u"寸法D-STR-DIM"}) {
            source.addLayer(layer);
        }
        dxfPath = QDir(work.path()).filePath(QStringLiteral("changer.dxf")).toStdString();
        ASSERT_TRUE(cadsim::saveDxf(source, dxfPath).ok());

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        standIn.setProcessEnvironment(environment);
        standIn.start(QStringLiteral(ACADLT_PATH), {QStringLiteral("--headless"), QStringLiteral("--drawing"),
                                                    QString::fromStdString(dxfPath)});
        ASSERT_TRUE(standIn.waitForStarted(10000));

        windows = std::make_unique<cadlink::PosixWindowSystem>();
        program =
            std::make_unique<app::Tiermark>(core::Services{*windows, workspace, settings, dialogs, &drawing});
        testing_support::registerSample(settings, workspace, sample, u"sample.mdb");
        ASSERT_TRUE(selectStandIn());
        builder().UserForm_Activate();
        builder().ListBox8->setListIndex(1);  // D
        builder().ListBox9->setListIndex(0);
        builder().ListBox10->setListIndex(0);
        builder().ListBox11->setListIndex(0);  // 一般図: D-TTL, D-STR-DIM, D-BYP-STRn, D-BGD
    }

    void TearDown() override {
        program.reset();
        standIn.terminate();
        if (!standIn.waitForFinished(3000)) {
            standIn.kill();
            standIn.waitForFinished(3000);
        }
    }

    bool selectStandIn() {
        app::Form1& form1 = program->forms().form1();
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 15000) {
            form1.Form_Load();
            for (int i = 0; i < form1.cmbfilename->listCount(); ++i) {
                if (form1.cmbfilename->itemText(i) == u"[changer.dxf]") {
                    form1.cmbfilename->setListIndex(i);
                    return true;
                }
            }
            QThread::msleep(100);
        }
        return false;
    }

    builder::UserForm1& builder() { return program->forms().userForm1(); }
    cadlink::WindowHandle target() {
        cadlink::WindowHandle window = 0;
        program->forms().form1().targetWindow(window);
        return window;
    }
};

TEST_F(ChangerAgainstStandIn, ConvertsTheDrawingsLayersAndSavesThemWithTheFile) {
    EXPECT_EQ(builder().ListBox12->items(), (Texts{u"図枠D-TTL", u"外形線", u"D-BGD", u"現況D-BGD",
                                                   u"副構造物D-BYP-STR 3", u"寸法D-STR-DIM"}));

    builder().CommandButton2_Click();

    auto layers = drawing.layerNames(target());
    ASSERT_TRUE(layers.ok());
    EXPECT_EQ(*layers, (Texts{u"0", u"DEFPOINTS", u"D-TTL", u"外形線", u"D-BGD", u"現況D-BGD", u"D-BYP-STR3",
                              u"D-STR-DIM"}));
    // 現況D-BGD would become D-BGD, which exists: the stand-in refuses and says why; the pass goes on.
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text.substr(0, 12), u"画層名変更できません。\r");
    EXPECT_GT(dialogs.messages[0].text.size(), 12u);
    EXPECT_EQ(builder().ListBox12->items(), (Texts{u"外形線", u"現況D-BGD"}));
    EXPECT_FALSE(builder().Label26->isHidden());

    auto saved = cadsim::loadDxf(dxfPath);
    ASSERT_TRUE(saved.ok()) << saved.error().message;
    std::vector<std::u16string> names;
    for (const auto& layer : saved->layers()) {
        names.push_back(layer.name);
    }
    EXPECT_NE(std::find(names.begin(), names.end(), u"D-BYP-STR3"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), u"図枠D-TTL"), names.end());
}

TEST_F(ChangerAgainstStandIn, ALayerRenamedBehindTheListsBackEndsThePass) {
    ASSERT_TRUE(drawing.renameLayer(target(), u"副構造物D-BYP-STR 3", u"手書き").ok());
    builder().CommandButton2_Click();
    EXPECT_EQ(dialogs.texts(), Texts{u"この画層名は存在しません"});
    // Bottom-up: the item below it was converted, the ones above it were not reached.
    auto layers = drawing.layerNames(target());
    ASSERT_TRUE(layers.ok());
    EXPECT_NE(std::find(layers->begin(), layers->end(), u"D-STR-DIM"), layers->end());
    EXPECT_NE(std::find(layers->begin(), layers->end(), u"図枠D-TTL"), layers->end());
    EXPECT_FALSE(builder().Label26->isHidden());
}

// AutoCAD LT gives no read-back: the page takes the drawing's names from its DXF file ("参照..."), types
// the renames into the running drawing through the link, and leaves the file as it was.
TEST_F(ChangerAgainstStandIn, WithoutReadBackTheNamesComeFromTheDxfAndTheRenamesGoThroughTheLink) {
    cadlink::NullDrawingAccess none;
    program->setDrawingAccess(&none);
    builder().ListBox11->setListIndex(-1);
    builder().ListBox11->setListIndex(0);
    ASSERT_EQ(builder().ListBox12->listCount(), 0);

    QFile file(QString::fromStdString(dxfPath));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    dialogs.fileToOpen = QString::fromStdString(dxfPath);
    builder().CommandButton10_Click();
    EXPECT_EQ(builder().ListBox12->items(), (Texts{u"図枠D-TTL", u"外形線", u"D-BGD", u"現況D-BGD",
                                                   u"副構造物D-BYP-STR 3", u"寸法D-STR-DIM"}));

    builder().CommandButton2_Click();
    // 現況D-BGD would take the name D-BGD, which the drawing holds: said, and not typed. The name with a
    // blank cannot be typed at all (the blank would end it as Enter does): said, and left as it is.
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_NE(dialogs.messages[0].text.find(u"副構造物D-BYP-STR 3 → D-BYP-STR3"), std::u16string::npos);
    EXPECT_EQ(dialogs.messages[1].text, u"画層名変更できません。\r画層「D-BGD」が図面に既にあります。");
    EXPECT_EQ(builder().ListBox12->items(), (Texts{u"外形線", u"現況D-BGD", u"副構造物D-BYP-STR 3"}));
    auto layers = drawing.layerNames(target());
    ASSERT_TRUE(layers.ok());
    EXPECT_EQ(*layers, (Texts{u"0", u"DEFPOINTS", u"D-TTL", u"外形線", u"D-BGD", u"現況D-BGD",
                              u"副構造物D-BYP-STR 3", u"D-STR-DIM"}));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

// A database whose first layer row types CR, ESC and a -RENAME command in its 図面オブジェクト: as it was,
// レイヤー作成 renamed the drawing's own layer 外形線 to PWNED-BY-DB. Now the row is left out and named.
TEST_F(ChangerAgainstStandIn, AHostileDatabaseRowRenamesNothingThroughLayerCreation) {
    sample.table(u"レイヤーテーブル").rows.at(0).at(4) =
        testing_support::text(u"-TTL\r\x1b\x1b-RENAME\rLA\r外形線\rPWNED-BY-DB\r");
    builder().UserForm_Activate();  // the database opens afresh with the hostile row
    builder().ListBox1->setListIndex(1);
    builder().ListBox2->setListIndex(0);
    builder().ListBox3->setListIndex(0);
    builder().ListBox4->setListIndex(0);
    dialogs.onModal = [](QDialog& dialog) { dialog.hide(); };  // the numbered-layer form adds nothing
    builder().CommandButton1_Click();

    auto layers = drawing.layerNames(target());
    ASSERT_TRUE(layers.ok()) << layers.error().message;
    EXPECT_NE(std::find(layers->begin(), layers->end(), u"外形線"), layers->end());
    EXPECT_EQ(std::find(layers->begin(), layers->end(), u"PWNED-BY-DB"), layers->end());
    EXPECT_NE(std::find(layers->begin(), layers->end(), u"D-STR-DIM"), layers->end());  // the other rows
    EXPECT_TRUE(std::any_of(
        dialogs.messages.begin(), dialogs.messages.end(),
        [](const ui::MessageRequest& m) { return m.text.find(u"D-TTL␍␛␛-RENAME") != std::u16string::npos; }));
}

TEST_F(ChangerAgainstStandIn, AStandInThatHasGoneIsReportedAsNotReached) {
    standIn.kill();
    standIn.waitForFinished(3000);
    builder().CommandButton2_Click();
    ASSERT_EQ(dialogs.messages.size(), 1u);
    const std::u16string& text = dialogs.messages[0].text;
    EXPECT_EQ(text.substr(0, builder::kDrawingUnreachableMessage.size()),
              builder::kDrawingUnreachableMessage);
    EXPECT_EQ(text.find(builder::kLayerMissingMessage), std::u16string::npos);
    EXPECT_EQ(builder().ListBox12->listCount(), 6);
}

}  // namespace
