// A drawing kind's layers three ways, each into a real CAD stand-in: created through the live link by
// "レイヤー作成", played from the exported script, and opened from the exported DXF. The three drawings
// hold the same layers with the same line types and colours. The database is the bundled sample.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <memory>

#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "cadlink/drawing_access_posix.h"
#include "cadlink/posix_protocol.h"
#include "cadlink/posix_window_system.h"
#include "cadsim/core/drawing.h"
#include "cadsim/core/dxf_io.h"
#include "common/utf.h"
#include "stddb/jet_workspace.h"
#include "stddb/memory_settings_store.h"
#include "stddb/settings_store.h"
#include "tests/forms/support/fakes.h"
#include "ui/recording_dialogs.h"

namespace cadlink {
// How a failing comparison shows a layer.
void PrintTo(const DrawingLayer& layer, std::ostream* out) {
    *out << tiermark::toUtf8(layer.name) << " (" << layer.colour << ", " << tiermark::toUtf8(layer.linetype)
         << ")";
}
}  // namespace cadlink

namespace {

using Layers = std::vector<cadlink::DrawingLayer>;

class LayerSetAgainstStandIns : public ::testing::Test {
protected:
    QTemporaryDir work;
    std::vector<std::unique_ptr<QProcess>> standIns;
    std::unique_ptr<cadlink::PosixWindowSystem> windows;
    cadlink::PosixDrawingAccess drawing;
    stddb::JetWorkspace workspace;
    stddb::MemorySettingsStore settings;
    ui::RecordingDialogs dialogs;
    std::unique_ptr<app::Tiermark> program;

    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        testing_support::usePrivateCadDirectory(work.path());
        windows = std::make_unique<cadlink::PosixWindowSystem>();
        program =
            std::make_unique<app::Tiermark>(core::Services{*windows, workspace, settings, dialogs, &drawing});
        ASSERT_TRUE(settings
                        .SaveSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath,
                                     QStringLiteral(SAMPLE_MDB).toStdU16String())
                        .ok());
    }

    void TearDown() override {
        program.reset();
        for (auto& standIn : standIns) {
            standIn->terminate();
            if (!standIn->waitForFinished(3000)) {
                standIn->kill();
                standIn->waitForFinished(3000);
            }
        }
    }

    // Starts a headless stand-in and returns its main window once it answers.
    cadlink::WindowHandle startStandIn(const QStringList& arguments) {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process->setProcessEnvironment(environment);
        process->start(QStringLiteral(ACADLT_PATH), QStringList{QStringLiteral("--headless")} + arguments);
        if (!process->waitForStarted(10000)) {
            return 0;
        }
        const auto window = cadlink::posix::makeWindowHandle(static_cast<std::uint32_t>(process->processId()),
                                                             cadlink::posix::kMainWindowIndex);
        standIns.push_back(std::move(process));
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 15000) {
            if (drawing.layerTable(window).ok()) {
                return window;
            }
            QThread::msleep(50);
        }
        return 0;
    }

    Layers layersOf(cadlink::WindowHandle window) {
        auto layers = drawing.layerTable(window);
        EXPECT_TRUE(layers.ok()) << (layers.ok() ? "" : layers.error().message);
        return layers.ok() ? *layers : Layers{};
    }

    builder::UserForm1& builder() { return program->forms().userForm1(); }

    // Page 1 at stage 施工 (C): the first construction kind's third work type, its drawing kind 一般図.
    void choosePageOne() {
        builder().UserForm_Activate();
        builder().ListBox1->setListIndex(2);
        builder().ListBox2->setListIndex(0);
        builder().ListBox3->setListIndex(2);
        const auto kinds = builder().ListBox4->items();
        const auto found = std::find(kinds.begin(), kinds.end(), u"一般図");
        ASSERT_NE(found, kinds.end());
        builder().ListBox4->setListIndex(static_cast<int>(found - kinds.begin()));
        ASSERT_TRUE(builder().CommandButton1->isEnabled());
    }
};

TEST_F(LayerSetAgainstStandIns, TheLiveLinkTheScriptAndTheDxfGiveTheSameDrawing) {
    // The link and the script work on an empty drawing, as the DXF starts from nothing.
    const QString live = QDir(work.path()).filePath(QStringLiteral("live.dxf"));
    const QString scripted = QDir(work.path()).filePath(QStringLiteral("scripted.dxf"));
    for (const QString& path : {live, scripted}) {
        ASSERT_TRUE(cadsim::saveDxf(cadsim::Drawing(), path.toStdString()).ok());
    }
    // The drawings have loaded the standard's line types, as a user's template would have.
    const QString loaded = QStringLiteral("破線,一点鎖線,二点鎖線");
    const cadlink::WindowHandle linked =
        startStandIn({QStringLiteral("--drawing"), live, QStringLiteral("--linetypes"), loaded});
    ASSERT_NE(linked, 0u);
    app::Form1& form1 = program->forms().form1();
    form1.Form_Load();
    const auto drawings = form1.cmbfilename->items();
    const auto ours = std::find(drawings.begin(), drawings.end(), u"[live.dxf]");
    ASSERT_NE(ours, drawings.end());
    form1.cmbfilename->setListIndex(static_cast<int>(ours - drawings.begin()));
    choosePageOne();

    // The files first (they send nothing), then the layers through the link.
    const QString dxfPath = QDir(work.path()).filePath(QStringLiteral("一般図_C.dxf"));
    dialogs.fileToSave = dxfPath;
    builder().CommandButton9_Click();
    ASSERT_TRUE(QFile::exists(dxfPath));
    const QString scriptPath = QDir(work.path()).filePath(QStringLiteral("一般図_C.scr"));
    ASSERT_TRUE(QFile::exists(scriptPath));
    builder().CommandButton1_Click();

    const Layers created = layersOf(linked);
    ASSERT_GT(created.size(), 20u);  // "0", "DEFPOINTS" and the drawing kind's layers
    EXPECT_EQ(created[2].name, u"C-TTL");
    const auto dashed = std::find_if(created.begin(), created.end(), [](const cadlink::DrawingLayer& layer) {
        return layer.linetype == u"破線";
    });
    EXPECT_NE(dashed, created.end());

    const cadlink::WindowHandle played =
        startStandIn({QStringLiteral("--drawing"), scripted, QStringLiteral("--linetypes"), loaded,
                      QStringLiteral("--script"), scriptPath});
    ASSERT_NE(played, 0u);
    EXPECT_EQ(layersOf(played), created);

    const cadlink::WindowHandle opened = startStandIn({QStringLiteral("--drawing"), dxfPath});
    ASSERT_NE(opened, 0u);
    EXPECT_EQ(layersOf(opened), created);
    // Every line type was loaded: nothing to tell.
    for (const ui::MessageRequest& message : dialogs.messages) {
        EXPECT_EQ(message.text.find(u"Continuous（実線）のまま"), std::u16string::npos)
            << tiermark::toUtf8(message.text);
    }
}

// A drawing that has loaded none of the standard's line types: AutoCAD LT leaves those layers Continuous,
// and after the run the user is told once which line types to load.
TEST_F(LayerSetAgainstStandIns, LineTypesTheDrawingHasNotLoadedAreToldAfterTheRun) {
    const cadlink::WindowHandle linked =
        startStandIn({QStringLiteral("--title"), QStringLiteral("bare.dwg")});
    ASSERT_NE(linked, 0u);
    app::Form1& form1 = program->forms().form1();
    form1.Form_Load();
    const auto drawings = form1.cmbfilename->items();
    const auto ours = std::find(drawings.begin(), drawings.end(), u"[bare.dwg]");
    ASSERT_NE(ours, drawings.end());
    form1.cmbfilename->setListIndex(static_cast<int>(ours - drawings.begin()));
    choosePageOne();
    builder().CommandButton1_Click();

    const Layers created = layersOf(linked);
    ASSERT_GT(created.size(), 20u);
    for (const cadlink::DrawingLayer& layer : created) {
        if (layer.name != u"寸法") {  // the sample drawing's own layer of DASHED
            EXPECT_EQ(layer.linetype, u"Continuous") << tiermark::toUtf8(layer.name);
        }
    }
    std::vector<std::u16string> told;
    for (const ui::MessageRequest& message : dialogs.messages) {
        if (message.text.find(u"Continuous（実線）のまま") != std::u16string::npos) {
            told.push_back(message.text);
        }
    }
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find(u"読み込まれていないため"), std::u16string::npos);
    EXPECT_NE(told[0].find(u"破線"), std::u16string::npos);
    EXPECT_NE(told[0].find(u"一点鎖線"), std::u16string::npos);
}

}  // namespace
