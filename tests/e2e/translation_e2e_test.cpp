// The layer translation applied to a live drawing: a real stand-in that answers as AutoCAD LT's command
// reference says (cadsim/README.md), opened on a DXF drawing with an office's own layers, read back through
// the POSIX link, planned with a map and sent through the command channel. Each case asserts the layer
// table and the objects' layers the drawing is left with, the stand-in's complaints and its command line.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <map>
#include <memory>

#include "cadlink/channel.h"
#include "cadlink/drawing_access_posix.h"
#include "cadlink/posix_endpoint.h"
#include "cadlink/posix_protocol.h"
#include "cadlink/posix_window_system.h"
#include "cadsim/core/drawing.h"
#include "cadsim/core/dxf_io.h"
#include "tests/forms/support/fakes.h"
#include "translate/live_apply.h"
#include "translate/plan.h"

namespace {

using cadlink::posix::Request;

// The standard of one drawing kind: two of its layers the drawing lacks, one it has.
layercheck::Standard standard() {
    layercheck::Standard s;
    s.layers = {
        cadlink::LayerRecord{u"D-STR", u"構造物D-STR", u"", 3},
        cadlink::LayerRecord{u"D-DIM", u"寸法D-DIM", u"破線", 1},
        cadlink::LayerRecord{u"D-BGD", u"背景D-BGD", u"一点鎖線", 8},
    };
    return s;
}

// The office's drawing: its own layers, each with objects, the standard's D-BGD, the current layer 作図 and
// a layer whose name holds a blank.
cadsim::Drawing officeDrawing() {
    cadsim::Drawing d;
    for (const char16_t* layer : {u"外形線", u"寸法", u"寸法線", u"中心線", u"D-BGD", u"作図", u"仮 線"}) {
        d.addLayer(layer);
    }
    int x = 0;
    for (const char16_t* layer :
         {u"外形線", u"外形線", u"寸法", u"寸法線", u"中心線", u"D-BGD", u"作図", u"仮 線", u"0"}) {
        cadsim::DrawingObject line;
        line.layer = layer;
        line.position = {static_cast<double>(x), 0};
        line.end = {static_cast<double>(x) + 5, 5};
        d.addObject(line);
        x += 10;
    }
    return d;
}

translate::LayerMap officeMap() {
    translate::LayerMap map;
    map.set(u"外形線", u"D-STR");  // renamed: the one source of a layer the drawing lacks
    map.set(u"寸法", u"D-DIM");    // two sources of a layer the drawing lacks: created, then merged
    map.set(u"寸法線", u"D-DIM");
    map.set(u"中心線", u"D-BGD");  // merged into the layer the drawing has
    map.set(u"作図", u"D-BGD");    // the current layer: never merged away
    map.set(u"0", u"D-BGD");       // never merged away
    map.set(u"仮 線", u"D-BGD");   // cannot be typed
    map.set(u"破線層", u"D-STR");  // the drawing lacks it: kept in the map, nothing done
    return map;
}

// Passes the first texts to the channel, then takes none: AutoCAD LT stopping in the middle.
class StoppingSender final : public cadlink::CommandSender {
public:
    StoppingSender(cadlink::CommandSender& inner, std::size_t taken) : m_inner(inner), m_left(taken) {}
    cadlink::Delivery SendCommand(std::u16string_view text) override {
        if (m_left == 0) {
            return cadlink::Delivery::NotTaken;
        }
        --m_left;
        return m_inner.SendCommand(text);
    }

private:
    cadlink::CommandSender& m_inner;
    std::size_t m_left;
};

class LiveTranslation : public ::testing::Test {
protected:
    QTemporaryDir work;
    QProcess standIn;
    std::uint32_t pid = 0;
    std::unique_ptr<cadlink::PosixWindowSystem> windows;
    cadlink::PosixDrawingAccess drawing;
    std::unique_ptr<cadlink::CommandChannel> channel;

    void SetUp() override {
        ASSERT_TRUE(work.isValid());
        testing_support::usePrivateCadDirectory(work.path());
        const std::string dxf = QDir(work.path()).filePath(QStringLiteral("office.dxf")).toStdString();
        ASSERT_TRUE(cadsim::saveDxf(officeDrawing(), dxf).ok());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        standIn.setProcessEnvironment(environment);
        standIn.start(QStringLiteral(ACADLT_PATH),
                      {QStringLiteral("--headless"), QStringLiteral("--drawing"), QString::fromStdString(dxf),
                       QStringLiteral("--linetypes"), QStringLiteral("破線,一点鎖線")});
        ASSERT_TRUE(standIn.waitForStarted(10000));
        pid = static_cast<std::uint32_t>(standIn.processId());
        windows = std::make_unique<cadlink::PosixWindowSystem>();
        QElapsedTimer timer;
        timer.start();
        while (!ask(Request::State).ok() && timer.elapsed() < 15000) {
            QThread::msleep(50);
        }
        channel = std::make_unique<cadlink::CommandChannel>(
            *windows,
            [this](cadlink::WindowHandle& window) {
                window = mainWindow();
                return true;
            },
            [](const std::u16string&) {});
        // The draughtsman draws on 作図.
        ASSERT_EQ(
            cadlink::sendAll(*channel, std::vector<std::u16string>{u"\x1b\x1b", u"-LAYER\rS\r作図\r\r"}),
            cadlink::Delivery::Taken);
    }

    void TearDown() override {
        standIn.terminate();
        if (!standIn.waitForFinished(3000)) {
            standIn.kill();
            standIn.waitForFinished(3000);
        }
    }

    cadlink::WindowHandle mainWindow() const {
        return cadlink::posix::makeWindowHandle(pid, cadlink::posix::kMainWindowIndex);
    }

    tiermark::Result<std::vector<std::uint8_t>> ask(Request request) {
        cadlink::posix::Frame frame;
        frame.type = static_cast<std::uint8_t>(request);
        return cadlink::posix::replyBody(cadlink::posix::exchange(pid, frame, std::chrono::seconds(5)));
    }

    QJsonObject state() {
        auto reply = ask(Request::State);
        EXPECT_TRUE(reply.ok());
        if (!reply.ok()) {
            return {};
        }
        cadlink::posix::ByteReader reader(*reply);
        return QJsonDocument::fromJson(QByteArray::fromStdString(reader.text().value_or(""))).object();
    }

    // The plan for the drawing as it is read back now.
    translate::Plan plan() {
        auto layers = drawing.layerTable(mainWindow());
        auto current = drawing.currentLayer(mainWindow());
        if (!layers.ok() || !current.ok()) {
            ADD_FAILURE() << "the drawing could not be read back";
            return {};
        }
        EXPECT_EQ(*current, u"作図");
        return translate::planTranslation(*layers, officeMap(), standard(), *current);
    }

    // The layer of each object, by the object's place from the left.
    std::vector<QString> objectLayers() {
        std::vector<QString> out;
        for (const QJsonValue& object : state().value(QStringLiteral("objects")).toArray()) {
            out.push_back(object[QStringLiteral("layer")].toString());
        }
        return out;
    }

    std::map<QString, QJsonObject> layers() {
        std::map<QString, QJsonObject> out;
        for (const QJsonValue& layer : state().value(QStringLiteral("layers")).toArray()) {
            out[layer[QStringLiteral("name")].toString()] = layer.toObject();
        }
        return out;
    }
};

TEST_F(LiveTranslation, RenamesMergesAndCreatesAsPlannedAndLeavesTheRestAlone) {
    const translate::Plan planned = plan();
    // 0, the current layer and the name with a blank are refused; 破線層 is absent and kept in the map.
    EXPECT_EQ(planned.count(translate::Outcome::Refused), 3);
    EXPECT_EQ(planned.absentSources, std::vector<std::u16string>{u"破線層"});
    const translate::LiveCommands commands = translate::liveCommands(planned, standard());
    EXPECT_TRUE(commands.unsendable.empty());
    const translate::LiveOutcome outcome = translate::applyLive(*channel, commands);
    EXPECT_TRUE(outcome.complete());
    EXPECT_EQ(outcome.delivery, cadlink::Delivery::Taken);
    EXPECT_EQ(outcome.done,
              (std::vector<std::u16string>{u"D-DIM を作成", u"外形線 → D-STR（名前を変更）",
                                           u"寸法, 寸法線 → D-DIM（統合）", u"中心線 → D-BGD（統合）"}));
    EXPECT_NE(translate::liveOutcomeMessage(outcome).find(u"変換しました"), std::u16string::npos);

    std::map<QString, QJsonObject> after = layers();
    for (const char* gone : {"外形線", "寸法", "寸法線", "中心線"}) {
        EXPECT_EQ(after.count(QString::fromUtf8(gone)), 0u) << gone;
    }
    for (const char* kept : {"0", "DEFPOINTS", "作図", "仮 線", "D-BGD"}) {
        EXPECT_EQ(after.count(QString::fromUtf8(kept)), 1u) << kept;
    }
    // The renamed and the created layer carry the standard's line type and colour.
    EXPECT_EQ(after[QStringLiteral("D-STR")][QStringLiteral("color")].toInt(), 3);
    EXPECT_EQ(after[QStringLiteral("D-STR")][QStringLiteral("lineType")].toString(),
              QStringLiteral("Continuous"));
    EXPECT_EQ(after[QStringLiteral("D-DIM")][QStringLiteral("color")].toInt(), 1);
    EXPECT_EQ(after[QStringLiteral("D-DIM")][QStringLiteral("lineType")].toString(), QStringLiteral("破線"));
    EXPECT_EQ(after.size(), 7u);  // 0, DEFPOINTS, 作図, 仮 線, D-BGD, D-STR, D-DIM

    EXPECT_EQ(objectLayers(), (std::vector<QString>{"D-STR", "D-STR", "D-DIM", "D-DIM", "D-BGD", "D-BGD",
                                                    "作図", "仮 線", "0"}));
    const QJsonObject end = state();
    EXPECT_TRUE(end.value(QStringLiteral("complaints")).toArray().isEmpty());
    EXPECT_EQ(end.value(QStringLiteral("prompt")).toString(), QStringLiteral("Command: "));
    EXPECT_EQ(end.value(QStringLiteral("currentLayer")).toString(), QStringLiteral("作図"));
}

TEST_F(LiveTranslation, StopsAtTheFirstTextNotTakenAndSaysWhatWasAndWasNotDone) {
    const translate::LiveCommands commands = translate::liveCommands(plan(), standard());
    ASSERT_EQ(commands.actions.size(), 4u);
    // The creation of D-DIM (three sequences) and the rename's first sequence, then nothing more.
    std::size_t taken = 0;
    for (const auto& texts : commands.actions[0].sequences) {
        taken += texts.size();
    }
    taken += commands.actions[1].sequences[0].size();
    StoppingSender stopping(*channel, taken);
    const translate::LiveOutcome outcome = translate::applyLive(stopping, commands);
    EXPECT_EQ(outcome.delivery, cadlink::Delivery::NotTaken);
    EXPECT_EQ(outcome.done, std::vector<std::u16string>{u"D-DIM を作成"});
    EXPECT_EQ(outcome.stoppedIn, u"外形線 → D-STR（名前を変更）");
    EXPECT_EQ(outcome.notSent,
              (std::vector<std::u16string>{u"寸法, 寸法線 → D-DIM（統合）", u"中心線 → D-BGD（統合）"}));
    const std::u16string message = translate::liveOutcomeMessage(outcome);
    EXPECT_NE(message.find(u"途中まで"), std::u16string::npos);
    EXPECT_NE(message.find(cadlink::notDeliveredMessage(cadlink::Delivery::NotTaken)), std::u16string::npos);

    // What was said done is done, what was not is not: the rename went through without its properties.
    std::map<QString, QJsonObject> after = layers();
    EXPECT_EQ(after[QStringLiteral("D-DIM")][QStringLiteral("lineType")].toString(), QStringLiteral("破線"));
    EXPECT_EQ(after.count(QStringLiteral("D-STR")), 1u);
    EXPECT_EQ(after[QStringLiteral("D-STR")][QStringLiteral("color")].toInt(), 7);
    for (const char* kept : {"寸法", "寸法線", "中心線"}) {
        EXPECT_EQ(after.count(QString::fromUtf8(kept)), 1u) << kept;
    }
    EXPECT_EQ(objectLayers()[2], QStringLiteral("寸法"));
}

TEST_F(LiveTranslation, WithoutADrawingNothingIsSentAndTheChannelHasSaidSo) {
    cadlink::CommandChannel none(
        *windows, [](cadlink::WindowHandle&) { return false; }, [](const std::u16string&) {});
    const translate::LiveOutcome outcome =
        translate::applyLive(none, translate::liveCommands(plan(), standard()));
    EXPECT_EQ(outcome.delivery, cadlink::Delivery::NoTarget);
    EXPECT_TRUE(outcome.done.empty());
    EXPECT_TRUE(translate::liveOutcomeMessage(outcome).empty());
    EXPECT_EQ(layers().count(QStringLiteral("外形線")), 1u);
}

}  // namespace
