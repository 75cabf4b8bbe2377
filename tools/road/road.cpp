#include "tools/road/road.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <QProcess>
#include <QTabWidget>
#include <QThread>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <set>

#include "app/form_registry.h"
#include "app/main_window.h"
#include "app/platform.h"
#include "app/tiermark.h"
#include "builder/forms/builder_form.h"
#include "builder/layer_names.h"
#include "cadlink/drawing_access.h"
#include "common/utf.h"
#include "dxf/layer_set_dxf.h"
#include "dxf/layer_table.h"
#include "layercheck/forms/layer_check_window.h"
#include "numbered/forms/numbered_layer_form.h"
#include "settings/forms/about_window.h"
#include "settings/forms/settings_window.h"
#include "stddb/forms/registration_form.h"
#include "stddb/forms/versions_form.h"
#include "stddb/jet_workspace.h"
#include "stddb/qt_settings_store.h"
#include "tools/road/road_steps.h"
#include "tools/road/road_translation.h"
#include "tools/road/stand_in_control.h"
#include "ui/recording_dialogs.h"

namespace road {

int runRoad(const RoadOptions& options) {
    Check check;
    QDir work(options.workDirectory);
    work.mkpath(QStringLiteral("cad"));
    QFile::setPermissions(work.filePath(QStringLiteral("cad")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("TIERMARK_CAD_DIR", work.filePath(QStringLiteral("cad")).toLocal8Bit());
    if (!options.screenshots.isEmpty()) {
        QDir().mkpath(options.screenshots);
    }

    // The stand-in, with its sample drawing, offscreen so that it can still be photographed.
    const QString title = QStringLiteral("Tiermark-road-%1.dwg").arg(QCoreApplication::applicationPid());
    QProcess standIn;
    if (!startStandIn(standIn, options, title)) {
        say("Could not start the CAD stand-in %s\n", options.acadlt);
        return 2;
    }
    StandInControl control(static_cast<std::uint32_t>(standIn.processId()));

    app::PlatformBackend backend = app::makePlatformBackend();
    stddb::JetWorkspace workspace;
    std::unique_ptr<stddb::QtSettingsStore> settings =
        options.systemSettings
            ? std::make_unique<stddb::QtSettingsStore>()
            : std::make_unique<stddb::QtSettingsStore>(work.filePath(QStringLiteral("settings.ini")));
    // Every form shown modally is operated by the step registered for it below and photographed.
    ui::RecordingDialogs dialogs;
    dialogs.onMessage = printMessage;
    dialogs.settleEvents = true;
    const auto screenshot = [&options](QWidget& window, const QString& name) {
        photograph(options.screenshots, window, name);
    };
    app::Tiermark program(
        core::Services{*backend.windows, workspace, *settings, dialogs, backend.drawing.get()});
    app::Forms& forms = program.forms();
    app::Form1& form1 = forms.form1();
    form1.show();

    say("1. Tiermark starts beside the stand-in \"%s\" (main window \"Autodesk AutoCAD LT 2025 - [...]\").\n",
        title);
    const int line = waitForStandIn(form1, title);
    if (line < 0) {
        say("The stand-in's window did not appear.\n");
        standIn.kill();
        return 2;
    }
    form1.cmbfilename->setListIndex(line);
    screenshot(form1, QStringLiteral("01-main-window"));

    say("2. The database %s is registered through the settings and registration windows.\n",
        options.database);
    dialogs.onForm(QStringLiteral("UserForm3"), [&](QDialog& form) {
        auto& settingsWindow = static_cast<settings::UserForm3&>(form);
        screenshot(settingsWindow, QStringLiteral("02-settings"));
        settingsWindow.ListBox1->setListIndex(1);
        settingsWindow.CommandButton1_Click();
    });
    dialogs.onForm(QStringLiteral("UserForm5"), [&](QDialog& form) {
        auto& registration = static_cast<stddb::UserForm5&>(form);
        registration.TextBox1->setText(options.database);
        screenshot(registration, QStringLiteral("03-registration"));
        registration.CommandButton1_Click();
    });
    form1.Command1_Click();
    settle();
    builder::UserForm1* builder = forms.userForm1IfLoaded();
    check.expect(builder != nullptr && builder->ListBox2->listCount() > 0,
                 QStringLiteral("the builder lists the construction kinds of the registered database"));
    if (builder == nullptr || builder->ListBox2->listCount() == 0) {
        standIn.kill();
        return 1;
    }

    say("3. Stage, construction kind, work type and drawing kind are chosen.\n");
    builder->ListBox1->setListIndex(1);
    builder->ListBox2->setListIndex(0);
    builder->ListBox3->setListIndex(0);
    builder->ListBox4->setListIndex(0);
    std::printf("   %s / %s / %s / %s: %d layers, redraw origin %s, %s\n",
                tiermark::toUtf8(builder->ListBox1->text()).c_str(),
                tiermark::toUtf8(builder->ListBox2->text()).c_str(),
                tiermark::toUtf8(builder->ListBox3->text()).c_str(),
                tiermark::toUtf8(builder->ListBox4->text()).c_str(), builder->ListBox6->listCount(),
                qPrintable(builder->TextBox5->text()), qPrintable(builder->TextBox4->text()));
    screenshot(*builder, QStringLiteral("04-builder-making"));
    builder->MultiPage1->setCurrentIndex(1);
    builder->ListBox8->setListIndex(1);
    builder->ListBox9->setListIndex(0);
    builder->ListBox10->setListIndex(0);
    builder->ListBox11->setListIndex(0);
    screenshot(*builder, QStringLiteral("05-builder-changer"));
    builder->MultiPage1->setCurrentIndex(0);
    dialogs.onForm(QStringLiteral("UserForm4"),
                   [&](QDialog& form) { screenshot(form, QStringLiteral("06-versions")); });
    builder->CommandButton6_Click();
    dialogs.onForm(QStringLiteral("UserForm8"), [&](QDialog& form) {
        screenshot(form, QStringLiteral("07-about"));
        static_cast<settings::UserForm8&>(form).CommandButton1_Click();
    });
    builder->CommandButton4_Click();

    say("4. \"レイヤー作成\" creates the layers; the first numbered family gets a member.\n");
    std::vector<std::u16string> members;
    dialogs.onForm(QStringLiteral("UserForm2"), [&](QDialog& form) {
        auto& numberedForm = static_cast<numbered::UserForm2&>(form);
        numberedForm.TextBox1->setText(QStringLiteral("追加"));
        numberedForm.ListBox1->setListIndex(1);
        screenshot(numberedForm, QStringLiteral("08-numbered-layer"));
        numberedForm.CommandButton1_Click();
        members = numberedForm.ListBox2->items();
        numberedForm.CommandButton2_Click();
    });
    const double originX = builder->TextBox5->text().toDouble();
    const double originY = builder->TextBox4->text().toDouble();
    builder->CommandButton1_Click();
    settle();
    check.expect(members.size() == 1, QStringLiteral("the numbered-layer form lists the member it added"));
    const std::vector<cadlink::LayerRecord>& created = program.layers().created.records();

    say("5. \"レイヤー変更\": objects are picked in the stand-in and \"実行\" moves them onto a layer.\n");
    auto before = control.state();
    if (!before) {
        say("The stand-in's state cannot be read: %s\n", QString::fromStdString(before.error().message));
        standIn.kill();
        return 1;
    }
    form1.Combo1->setListIndex(1);
    const std::u16string chosen = form1.Combo1->text();
    const std::u16string targetLayer = builder::targetLayer(chosen);
    form1.Command2_Click(0);
    screenshot(form1, QStringLiteral("09-main-window-change-pending"));
    std::map<int, QJsonObject> objectsBefore;
    std::vector<std::int32_t> picked;
    for (const QJsonValue& object : before->object().value(QStringLiteral("objects")).toArray()) {
        objectsBefore[object[QStringLiteral("id")].toInt()] = object.toObject();
        if (picked.size() < 3) {
            picked.push_back(object[QStringLiteral("id")].toInt());
        }
    }
    check.expect(control.pick(picked).ok() && control.confirm().ok(),
                 QStringLiteral("the stand-in took the picks"));
    form1.Command2_Click(1);
    settle();
    if (!options.screenshots.isEmpty()) {
        const QString picture = QDir(options.screenshots).filePath(QStringLiteral("10-stand-in.png"));
        if (control.screenshot(picture)) {
            std::printf("  screenshot: %s\n", qPrintable(picture));
        }
    }
    screenshot(form1, QStringLiteral("11-main-window-done"));

    auto after = control.state();
    if (!after) {
        standIn.kill();
        return 1;
    }
    const QJsonObject state = after->object();
    std::printf("\nThe drawing now holds these layers:\n");
    std::map<std::u16string, QJsonObject> layers;
    for (const QJsonValue& layer : state.value(QStringLiteral("layers")).toArray()) {
        layers[layer[QStringLiteral("name")].toString().toStdU16String()] = layer.toObject();
        std::printf("  %-28s %-12s colour %d\n", qPrintable(layer[QStringLiteral("name")].toString()),
                    qPrintable(layer[QStringLiteral("lineType")].toString()),
                    layer[QStringLiteral("color")].toInt());
    }
    std::printf("\nThe picked objects were moved by (%g, %g) onto %s:\n", originX, originY,
                tiermark::toUtf8(targetLayer).c_str());
    for (const QJsonValue& object : state.value(QStringLiteral("objects")).toArray()) {
        const int id = object[QStringLiteral("id")].toInt();
        if (std::find(picked.begin(), picked.end(), id) == picked.end()) {
            continue;
        }
        const QJsonObject& was = objectsBefore[id];
        std::printf("  object %d (%s): (%g, %g) on %s -> (%g, %g) on %s\n", id,
                    qPrintable(object[QStringLiteral("kind")].toString()),
                    was[QStringLiteral("x")].toDouble(), was[QStringLiteral("y")].toDouble(),
                    qPrintable(was[QStringLiteral("layer")].toString()),
                    object[QStringLiteral("x")].toDouble(), object[QStringLiteral("y")].toDouble(),
                    qPrintable(object[QStringLiteral("layer")].toString()));
        const bool moved = std::fabs(object[QStringLiteral("x")].toDouble() -
                                     was[QStringLiteral("x")].toDouble() - originX) < 1e-6 &&
                           std::fabs(object[QStringLiteral("y")].toDouble() -
                                     was[QStringLiteral("y")].toDouble() - originY) < 1e-6;
        check.expect(moved, QStringLiteral("object %1 moved by the redraw origin").arg(id));
        check.expect(object[QStringLiteral("layer")].toString().toStdU16String() == targetLayer,
                     QStringLiteral("object %1 is on the chosen layer").arg(id));
    }

    std::printf("\nChecks:\n");
    for (const cadlink::LayerRecord& layer : created) {
        const std::u16string& name = layer.name;
        auto found = layers.find(name);
        const bool exists = found != layers.end();
        bool right = exists;
        if (exists && !layer.linetype.empty()) {
            right = found->second[QStringLiteral("lineType")].toString().toStdU16String() == layer.linetype &&
                    found->second[QStringLiteral("color")].toInt() == layer.colour;
        }
        check.expect(
            right,
            QStringLiteral("layer %1 with its line type and colour").arg(QString::fromStdU16String(name)));
    }
    check.expect(layers.count(targetLayer) == 1,
                 QStringLiteral("the layer chosen in the main window, %1, exists")
                     .arg(QString::fromStdU16String(targetLayer)));
    bool groupLeft = false;
    for (const QJsonValue& group : state.value(QStringLiteral("groups")).toArray()) {
        groupLeft = groupLeft || group[QStringLiteral("name")].toString().compare(QStringLiteral("KESTRA"),
                                                                                  Qt::CaseInsensitive) == 0;
    }
    check.expect(!groupLeft, QStringLiteral("no group KESTRA is left"));
    check.expect(state.value(QStringLiteral("prompt")).toString() == QStringLiteral("Command: ") &&
                     !state.value(QStringLiteral("waitingForObjects")).toBool(),
                 QStringLiteral("the stand-in's command line is idle at \"Command:\""));

    say("6. Without the link: the layer set saved as DXF and script, the drawing's layers checked, and the\n"
        "   changer's names taken from a DXF file as where AutoCAD LT gives none back.\n");
    const QString exported = work.filePath(QStringLiteral("layer-set.dxf"));
    QFile::remove(exported);
    QFile::remove(work.filePath(QStringLiteral("layer-set.scr")));
    dialogs.fileToSave = exported;
    builder->CommandButton9_Click();
    auto exportedTable = dxf::readLayerTableFile(std::filesystem::path(exported.toStdU16String()));
    check.expect(exportedTable.ok() && exportedTable->layers.size() > 1 &&
                     QFileInfo::exists(work.filePath(QStringLiteral("layer-set.scr"))),
                 QStringLiteral("the layer set is saved as a DXF file that reads back, and as a script"));

    dialogs.onForm(QStringLiteral("UserForm9"), [&](QDialog& form) {
        auto& window = static_cast<layercheck::UserForm9&>(form);
        window.CommandButton1_Click();
        settle();
        screenshot(window, QStringLiteral("12-layer-check"));
        check.expect(window.result().count(layercheck::Verdict::Standard) > 0,
                     QStringLiteral("the layer check finds the created layers standard"));
        window.CommandButton4_Click();
    });
    builder->CommandButton8_Click();

    // A drawing from elsewhere whose layers carry their content before the standard name, as its DXF file.
    std::vector<cadlink::DrawingLayer> contentNamed;
    for (const cadlink::LayerRecord& layer : created) {
        contentNamed.push_back(cadlink::DrawingLayer{layer.display, 7, {}});
    }
    const QString other = work.filePath(QStringLiteral("other-drawing.dxf"));
    if (auto file = dxf::layerSetDxf(contentNamed); file) {
        QFile out(other);
        if (out.open(QIODevice::WriteOnly)) {
            out.write(file->bytes.data(), static_cast<qint64>(file->bytes.size()));
        }
    }
    cadlink::NullDrawingAccess autoCadLt;
    program.setDrawingAccess(&autoCadLt);
    builder->show();
    settle();
    builder->MultiPage1->setCurrentIndex(1);
    builder->ListBox8->setListIndex(1);
    builder->ListBox9->setListIndex(0);
    builder->ListBox10->setListIndex(0);
    builder->ListBox11->setListIndex(0);
    dialogs.fileToOpen = other;
    builder->CommandButton10_Click();
    settle();
    screenshot(*builder, QStringLiteral("13-changer-from-dxf"));
    check.expect(builder->ListBox12->listCount() > 0,
                 QStringLiteral("the changer lists the layers of the DXF file"));
    builder->hide();
    program.setDrawingAccess(backend.drawing.get());

    TranslationRoad translation{program, *builder, dialogs, control, work, options.screenshots, check};
    runTranslationRoad(translation);

    form1.close();
    standIn.terminate();
    if (!standIn.waitForFinished(3000)) {
        standIn.kill();
        standIn.waitForFinished(3000);
    }
    std::printf("\n%d passed, %d failed\n", check.passes, check.failures);
    return check.failures == 0 ? 0 : 1;
}

}  // namespace road
