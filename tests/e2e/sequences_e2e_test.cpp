// Every sequence Tiermark types into AutoCAD LT, sent by the program's own windows through the POSIX link
// to a real stand-in that answers as AutoCAD LT's command reference says (cadsim/README.md) and shows the
// main-window title of a current release. Each row asserts the drawing the sequence leaves, the commands
// it started (a text that meets the wrong prompt starts a stray command or none), and that the command line
// ends idle at "Command:". The database is the bundled sample.
#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <functional>
#include <map>
#include <memory>
#include <set>

#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "cadlink/channel.h"
#include "cadlink/command_texts.h"
#include "cadlink/drawing_access_posix.h"
#include "cadlink/posix_endpoint.h"
#include "cadlink/posix_protocol.h"
#include "cadlink/posix_window_system.h"
#include "common/utf.h"
#include "numbered/forms/numbered_layer_form.h"
#include "stddb/jet_workspace.h"
#include "stddb/memory_settings_store.h"
#include "stddb/settings_store.h"
#include "tests/forms/support/fakes.h"
#include "ui/recording_dialogs.h"

namespace {

using cadlink::posix::Request;

constexpr double kOriginX = 420;
constexpr double kOriginY = 297.5;
const QString kReleaseTitle = QStringLiteral("Autodesk AutoCAD LT 2025 - [Drawing1.dwg]");
const QString kStandardLinetypes = QStringLiteral("破線,一点鎖線,二点鎖線");

// One object of the stand-in's state: where it starts and on which layer it lies.
struct Placed {
    double x = 0;
    double y = 0;
    QString layer;
};

struct Step;

// The rows' steps drive the fixture, so its helpers are public.
class Sequences : public ::testing::Test {
public:
    QTemporaryDir work;
    std::unique_ptr<QProcess> standIn;
    std::uint32_t pid = 0;
    std::unique_ptr<cadlink::PosixWindowSystem> windows;
    cadlink::PosixDrawingAccess drawing;
    stddb::JetWorkspace workspace;
    // A fresh program and stand-in for every row (begin).
    std::unique_ptr<stddb::MemorySettingsStore> settings;
    std::unique_ptr<ui::RecordingDialogs> dialogs;
    std::unique_ptr<app::Tiermark> program;

    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        testing_support::usePrivateCadDirectory(work.path());
        windows = std::make_unique<cadlink::PosixWindowSystem>();
    }

    void TearDown() override { end(); }

    void end() {
        program.reset();
        dialogs.reset();
        settings.reset();
        if (standIn) {
            standIn->terminate();
            if (!standIn->waitForFinished(3000)) {
                standIn->kill();
                standIn->waitForFinished(3000);
            }
            standIn.reset();
        }
    }

    // The program with the sample database registered, beside a stand-in started with the row's options.
    bool begin(const QStringList& options) {
        end();
        settings = std::make_unique<stddb::MemorySettingsStore>();
        dialogs = std::make_unique<ui::RecordingDialogs>();
        program = std::make_unique<app::Tiermark>(
            core::Services{*windows, workspace, *settings, *dialogs, &drawing});
        return settings
                   ->SaveSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath,
                                 QStringLiteral(SAMPLE_MDB).toStdU16String())
                   .ok() &&
               start(options);
    }

    tiermark::Result<std::vector<std::uint8_t>> ask(Request request, std::vector<std::uint8_t> body = {}) {
        cadlink::posix::Frame frame;
        frame.type = static_cast<std::uint8_t>(request);
        frame.body = std::move(body);
        return cadlink::posix::replyBody(cadlink::posix::exchange(pid, frame, std::chrono::seconds(5)));
    }

    // A headless stand-in under today's release title, with the row's start options; true once it answers.
    bool start(const QStringList& options) {
        standIn = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        standIn->setProcessEnvironment(environment);
        standIn->start(
            QStringLiteral(ACADLT_PATH),
            QStringList{QStringLiteral("--headless"), QStringLiteral("--window-title"), kReleaseTitle} +
                options);
        if (!standIn->waitForStarted(10000)) {
            return false;
        }
        pid = static_cast<std::uint32_t>(standIn->processId());
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 15000) {
            if (ask(Request::State).ok()) {
                return true;
            }
            QThread::msleep(50);
        }
        return false;
    }

    QJsonObject state() {
        auto reply = ask(Request::State);
        EXPECT_TRUE(reply.ok()) << (reply.ok() ? "" : reply.error().message);
        if (!reply.ok()) {
            return {};
        }
        cadlink::posix::ByteReader reader(*reply);
        return QJsonDocument::fromJson(QByteArray::fromStdString(reader.text().value_or(""))).object();
    }

    // What the mouse does in the drawing: picks (at "Select objects:", or at "Command:" where they wait for
    // the next command that selects) and the right click that ends a selection.
    void pick(const std::vector<std::int32_t>& ids) {
        cadlink::posix::ByteWriter writer;
        writer.u32(static_cast<std::uint32_t>(ids.size()));
        for (std::int32_t id : ids) {
            writer.i32(id);
        }
        const auto reply = ask(Request::Pick, writer.take());
        EXPECT_TRUE(reply.ok()) << (reply.ok() ? "" : reply.error().message);
    }
    void confirm() { EXPECT_TRUE(ask(Request::Confirm).ok()); }

    // A text as the user would type it into the stand-in's command line.
    void type(const std::u16string& text) {
        const auto payload = cadlink::EncodeCommand(text);
        ASSERT_TRUE(payload.ok());
        ASSERT_TRUE(windows->sendCopyData(
            cadlink::posix::makeWindowHandle(pid, cadlink::posix::kMainWindowIndex), 1, 1, payload->bytes));
    }

    app::Form1& form1() { return program->forms().form1(); }

    void play(const std::vector<Step>& steps);
    builder::UserForm1& builder() { return program->forms().userForm1(); }

    // Discovery finds the stand-in by its release title; its line is the target drawing.
    void load() {
        form1().Form_Load();
        const auto lines = form1().cmbfilename->items();
        const auto ours = std::find(lines.begin(), lines.end(), u"[Drawing1.dwg]");
        ASSERT_NE(ours, lines.end());
        form1().cmbfilename->setListIndex(static_cast<int>(ours - lines.begin()));
    }

    // The main window as after "レイヤー作成": its buttons enabled, the layer chosen, the origin stored.
    void readyMainWindow() {
        type(u"\x1b\x1b-Layer\rn\rD-STR\r\x1b");
        program->layers().created.add(cadlink::LayerRecord{u"D-STR", u"構造物D-STR", u"Continuous", 7});
        form1().Combo1->setListIndex(0);
        form1().Command2[0]->setEnabled(true);
        form1().Command3[0]->setEnabled(true);
        program->layers().redrawOriginX = kOriginX;
        program->layers().redrawOriginY = kOriginY;
    }

    // Page 1 at stage 設計 (D) with the first construction kind, work type and drawing kind, whose layers
    // hold a numbered family; the numbered-layer form adds one member.
    void createLayers() {
        dialogs->onForm(QStringLiteral("UserForm2"), [](QDialog& form) {
            auto& numberedForm = static_cast<numbered::UserForm2&>(form);
            numberedForm.TextBox1->setText(QStringLiteral("追加"));
            numberedForm.ListBox1->setListIndex(1);
            numberedForm.CommandButton1_Click();
            numberedForm.CommandButton2_Click();
        });
        builder().UserForm_Activate();
        builder().ListBox1->setListIndex(1);
        builder().ListBox2->setListIndex(0);
        builder().ListBox3->setListIndex(0);
        builder().ListBox4->setListIndex(0);
        ASSERT_TRUE(builder().CommandButton1->isEnabled());
        builder().CommandButton1_Click();
    }

    // The changer's rename through the main window's channel, as "→" types it without read-back.
    void rename(std::u16string_view oldName, std::u16string_view newName) {
        cadlink::CommandChannel channel(
            *windows, [this](cadlink::WindowHandle& window) { return form1().targetWindow(window); },
            [](const std::u16string&) {});
        EXPECT_EQ(cadlink::sendAll(channel, cadlink::renameLayerTexts(oldName, newName)),
                  cadlink::Delivery::Taken);
    }
};

std::map<int, Placed> objectsOf(const QJsonObject& state) {
    std::map<int, Placed> out;
    for (const QJsonValue& object : state.value(QStringLiteral("objects")).toArray()) {
        out[object[QStringLiteral("id")].toInt()] =
            Placed{object[QStringLiteral("x")].toDouble(), object[QStringLiteral("y")].toDouble(),
                   object[QStringLiteral("layer")].toString()};
    }
    return out;
}

std::map<QString, QJsonObject> layersOf(const QJsonObject& state) {
    std::map<QString, QJsonObject> out;
    for (const QJsonValue& layer : state.value(QStringLiteral("layers")).toArray()) {
        out[layer[QStringLiteral("name")].toString().toUpper()] = layer.toObject();  // names fold case
    }
    return out;
}

QStringList listOf(const QJsonObject& state, const char* key) {
    QStringList out;
    for (const QJsonValue& value : state.value(QLatin1String(key)).toArray()) {
        out << value.toString();
    }
    return out;
}

// What the user does: a button of the main window (Command2 or Command3 and its index), picks in the
// drawing, the right click that ends them, or a text typed into AutoCAD LT's command line.
struct Step {
    enum class Kind { Press, Pick, RightClick, Type } kind;
    int array = 0;
    int index = 0;
    std::vector<int> ids = {};
    std::u16string text = {};
};
Step press(int array, int index) {
    return Step{Step::Kind::Press, array, index};
}
Step picks(std::vector<int> ids) {
    return Step{Step::Kind::Pick, 0, 0, std::move(ids)};
}
const Step kRightClick{Step::Kind::RightClick};
Step typed(std::u16string text) {
    return Step{Step::Kind::Type, 0, 0, {}, std::move(text)};
}
// A start whose picks were confirmed, and then Tiermark was closed: the group KESTRA stays behind.
std::vector<Step> groupLeftBehind(std::vector<int> ids) {
    std::vector<Step> steps;
    for (const std::u16string& text : cadlink::startTexts()) {
        steps.push_back(typed(text));
    }
    steps.push_back(picks(std::move(ids)));
    steps.push_back(kRightClick);
    return steps;
}

void Sequences::play(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
        switch (step.kind) {
            case Step::Kind::Press:
                if (step.array == 2) {
                    form1().Command2_Click(step.index);
                } else {
                    form1().Command3_Click(step.index);
                }
                break;
            case Step::Kind::Pick:
                pick(step.ids);
                break;
            case Step::Kind::RightClick:
                confirm();
                break;
            case Step::Kind::Type:
                type(step.text);
                break;
        }
    }
}

// The main window's actions: what each leaves of the objects. Objects not named keep place and layer.
struct MainWindowRow {
    const char* name;
    std::vector<Step> before;  // what happened before the action, not counted below
    std::vector<Step> action;
    std::vector<int> moved;       // moved by the redraw origin
    std::vector<int> onNewLayer;  // put on D-STR
    QStringList commands;         // started by the action, in order
};

TEST_F(Sequences, TheMainWindowsActionsMoveAndChangeOnlyWhatWasPickedAndEndIdle) {
    const QStringList change{QStringLiteral("-GROUP"), QStringLiteral("-GROUP"), QStringLiteral("REDRAW"),
                             QStringLiteral("REDRAW"), QStringLiteral("MOVE"),   QStringLiteral("CHANGE"),
                             QStringLiteral("-GROUP")};
    const QStringList move{QStringLiteral("-GROUP"), QStringLiteral("-GROUP"), QStringLiteral("REDRAW"),
                           QStringLiteral("REDRAW"), QStringLiteral("MOVE"),   QStringLiteral("-GROUP")};
    const QStringList threeGroups{QStringLiteral("-GROUP"), QStringLiteral("-GROUP"),
                                  QStringLiteral("-GROUP")};
    std::vector<Step> leftThenU = groupLeftBehind({7});
    leftThenU.push_back(typed(u"-group\rU\rKESTRA\r"));
    const MainWindowRow rows[] = {
        {"レイヤー変更, picks, right click, 実行",
         {},
         {press(2, 0), picks({1, 5}), kRightClick, press(2, 1)},
         {1, 5},
         {1, 5},
         change},
        {"移動のみ, picks, right click, 実行",
         {},
         {press(3, 0), picks({2}), kRightClick, press(3, 1)},
         {2},
         {},
         move},
        {"実行 before the right click: the picks are confirmed, then moved and changed",
         {},
         {press(2, 0), picks({1, 6}), press(2, 1)},
         {1, 6},
         {1, 6},
         QStringList{QStringLiteral("-GROUP"), QStringLiteral("-GROUP"), QStringLiteral("MOVE"),
                     QStringLiteral("CHANGE"), QStringLiteral("-GROUP")}},
        {"キャンセル after the right click",
         {},
         {press(2, 0), picks({1}), kRightClick, press(2, 2)},
         {},
         {},
         threeGroups},
        {"キャンセル while the picks are open: no group is made",
         {},
         {press(3, 0), picks({1}), press(3, 2)},
         {},
         {},
         threeGroups},
        // Nothing to move: MOVE and CHANGE end at once, so the texts after them meet "Command:"; "P" starts
        // PAN, which the next Enter ends. Nothing changes.
        {"実行 with nothing picked",
         {},
         {press(2, 0), press(2, 1)},
         {},
         {},
         QStringList{QStringLiteral("-GROUP"), QStringLiteral("-GROUP"), QStringLiteral("MOVE"),
                     QStringLiteral("CHANGE"), QStringLiteral("PAN"), QStringLiteral("-GROUP")}},
        {"a group KESTRA left behind (Tiermark closed while a change was pending) lends no objects",
         groupLeftBehind({3, 4}),
         {press(2, 0), picks({1}), kRightClick, press(2, 1)},
         {1},
         {1},
         change},
        {"a removal that once typed U left KESTRA and the prompt open",
         leftThenU,
         {press(3, 0), picks({2}), kRightClick, press(3, 1)},
         {2},
         {},
         move},
        {"objects picked at Command: after the right click are let go before the move",
         {},
         {press(2, 0), picks({1}), kRightClick, picks({2, 3}), press(2, 1)},
         {1},
         {1},
         change},
        {"a change, then a move: each acts on its own picks only",
         {},
         {press(2, 0), picks({1}), kRightClick, press(2, 1), press(3, 0), picks({2}), kRightClick,
          press(3, 1)},
         {1, 2},
         {1},
         change + move},
    };
    for (const MainWindowRow& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(begin({}));
        load();
        readyMainWindow();
        play(row.before);
        const QJsonObject before = state();
        const qsizetype commandsBefore = listOf(before, "commands").size();
        play(row.action);
        const QJsonObject after = state();

        const std::map<int, Placed> was = objectsOf(before);
        const std::map<int, Placed> is = objectsOf(after);
        ASSERT_EQ(is.size(), was.size());
        for (const auto& [id, old] : was) {
            SCOPED_TRACE(id);
            const bool moved = std::count(row.moved.begin(), row.moved.end(), id) > 0;
            const bool changed = std::count(row.onNewLayer.begin(), row.onNewLayer.end(), id) > 0;
            EXPECT_DOUBLE_EQ(is.at(id).x, old.x + (moved ? kOriginX : 0));
            EXPECT_DOUBLE_EQ(is.at(id).y, old.y + (moved ? kOriginY : 0));
            EXPECT_EQ(is.at(id).layer, changed ? QStringLiteral("D-STR") : old.layer);
        }
        EXPECT_TRUE(after.value(QStringLiteral("groups")).toArray().isEmpty());
        EXPECT_EQ(listOf(after, "commands").mid(commandsBefore), row.commands);
        EXPECT_EQ(after.value(QStringLiteral("prompt")).toString(), QStringLiteral("Command: "));
        EXPECT_FALSE(after.value(QStringLiteral("waitingForObjects")).toBool());
        EXPECT_TRUE(after.value(QStringLiteral("gripped")).toArray().isEmpty());
        EXPECT_TRUE(dialogs->messages.empty());
        EXPECT_FALSE(form1().Command2[0]->isHidden());
        EXPECT_FALSE(form1().Command3[0]->isHidden());
    }
}

// "レイヤー作成" with a numbered member, on drawings that have or have not loaded the standard's line types
// and one that takes Release 14 names only: every layer is there with its colour, and with its line type
// where the drawing has loaded it; "-Layer" is the only command started.
struct CreationRow {
    const char* name;
    QStringList options;
    bool lineTypesLoaded;
    std::size_t linetypeNotices;  // messages that name line types to load
};

TEST_F(Sequences, LayerCreationAndTheNumberedLayerFormLeaveEveryLayerAndAnIdleCommandLine) {
    const CreationRow rows[] = {
        {"the drawing has loaded the standard's line types",
         {QStringLiteral("--linetypes"), kStandardLinetypes},
         true,
         0},
        {"the drawing has loaded none of them: the layers stay Continuous, the user is told once",
         {},
         false,
         1},
        // Release 14 names are ASCII: the standard's layer names are taken, its Japanese line types cannot be
        // loaded at all.
        {"a drawing of EXTNAMES 0 takes the standard's ASCII layer names",
         {QStringLiteral("--extnames"), QStringLiteral("0")},
         false,
         1},
    };
    for (const CreationRow& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(begin(row.options));
        load();
        createLayers();
        const QJsonObject after = state();
        const std::map<QString, QJsonObject> layers = layersOf(after);
        const std::vector<cadlink::LayerRecord>& created = program->layers().created.records();
        ASSERT_GT(created.size(), 3u);
        bool numbered = false;
        for (const cadlink::LayerRecord& layer : created) {
            const QString name = QString::fromStdU16String(layer.name).toUpper();
            SCOPED_TRACE(name.toStdString());
            ASSERT_EQ(layers.count(name), 1u);
            numbered = numbered || layer.display.starts_with(u"追加");
            if (layer.linetype.empty()) {
                continue;  // a family's template gets no line type and no colour
            }
            const QString lineType = QString::fromStdU16String(layer.linetype);
            EXPECT_EQ(layers.at(name)[QStringLiteral("lineType")].toString(),
                      row.lineTypesLoaded ? lineType : QStringLiteral("Continuous"));
            EXPECT_EQ(layers.at(name)[QStringLiteral("color")].toInt(), static_cast<int>(layer.colour));
        }
        EXPECT_TRUE(numbered);
        const QStringList commands = listOf(after, "commands");
        EXPECT_FALSE(commands.isEmpty());
        EXPECT_EQ(commands.filter(QStringLiteral("-LAYER")).size(), commands.size())
            << commands.join(u' ').toStdString();
        for (const QString& complaint : listOf(after, "complaints")) {
            EXPECT_TRUE(complaint.contains(QStringLiteral("not found.  Use LINETYPE command")) ||
                        complaint == QStringLiteral("Invalid option keyword."))
                << complaint.toStdString();
        }
        EXPECT_EQ(after.value(QStringLiteral("prompt")).toString(), QStringLiteral("Command: "));
        std::size_t notices = 0;
        for (const ui::MessageRequest& message : dialogs->messages) {
            notices += message.text.find(u"Continuous（実線）のまま") != std::u16string::npos ? 1 : 0;
        }
        EXPECT_EQ(notices, row.linetypeNotices);
    }
}

// The changer's "-RENAME" through the link: a layer the drawing has is renamed; an old name it lacks or a
// new name it has already is refused and asked again, and the closing ESC leaves the command line idle.
struct RenameRow {
    const char* name;
    std::u16string oldName;
    std::u16string newName;
    bool renamed;
};

TEST_F(Sequences, TheChangersRenameLeavesTheDrawingRightAndTheCommandLineIdle) {
    const RenameRow rows[] = {
        {"a layer the drawing has", u"寸法", u"D-DIM", true},
        {"an old name the drawing lacks", u"構造物D-STR", u"D-STR", false},
        {"a new name the drawing has already", u"寸法", u"外形線", false},
    };
    for (const RenameRow& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(begin({}));
        load();
        const std::map<QString, QJsonObject> before = layersOf(state());
        rename(row.oldName, row.newName);
        const QJsonObject after = state();
        const std::map<QString, QJsonObject> layers = layersOf(after);
        const QString oldName = QString::fromStdU16String(row.oldName).toUpper();
        const QString newName = QString::fromStdU16String(row.newName).toUpper();
        EXPECT_EQ(layers.count(oldName), row.renamed ? 0u : before.count(oldName));
        EXPECT_EQ(layers.count(newName), row.renamed ? 1u : before.count(newName));
        EXPECT_EQ(layers.size(), before.size());
        EXPECT_EQ(listOf(after, "commands"), QStringList{QStringLiteral("-RENAME")});
        EXPECT_EQ(after.value(QStringLiteral("prompt")).toString(), QStringLiteral("Command: "));
    }
}

}  // namespace
