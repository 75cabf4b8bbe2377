// The road's layer translation, from the builder's first page: live, as a DXF copy and over a folder.
#include "tools/road/road_translation.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTableWidget>

#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "cadsim/core/dxf_io.h"
#include "cadsim/core/sample_drawing.h"
#include "common/ascii.h"
#include "common/utf.h"
#include "dxf/layer_table.h"
#include "translate/forms/translation_window.h"

namespace road {

namespace {

// The drawing's objects per layer, and its layers, as the stand-in reports them.
struct DrawingCounts {
    std::map<std::u16string, int> objects;
    std::set<std::u16string> layers;
};

DrawingCounts countsOf(StandInControl& control) {
    DrawingCounts counts;
    auto state = control.state();
    if (!state) {
        return counts;
    }
    const QJsonObject drawing = state->object();
    for (const QJsonValue& layer : drawing.value(QStringLiteral("layers")).toArray()) {
        counts.layers.insert(layer[QStringLiteral("name")].toString().toStdU16String());
    }
    for (const QJsonValue& object : drawing.value(QStringLiteral("objects")).toArray()) {
        counts.objects[object[QStringLiteral("layer")].toString().toStdU16String()] += 1;
    }
    return counts;
}

int rowStarting(const ui::ListBox& list, std::u16string_view start) {
    for (int row = 0; row < list.listCount(); ++row) {
        if (list.itemText(row).rfind(start, 0) == 0) {
            return row;
        }
    }
    return -1;
}

// Maps a drawing layer of the window's left list to the standard layer of its right list's row.
void mapLayer(translate::UserForm10& window, std::u16string_view drawingLayer, int standardRow) {
    window.ListBox1->clearSelection();
    const int row = rowStarting(*window.ListBox1, drawingLayer);
    if (row < 0 || standardRow >= window.ListBox2->listCount()) {
        return;
    }
    window.ListBox1->item(row)->setSelected(true);
    window.ListBox2->setListIndex(standardRow);
    window.CommandButton3_Click();
}

// The pairs that move a layer: the proposals also pair each standard layer the drawing holds with itself.
std::vector<translate::MapPair> movesOf(const translate::LayerMap& map) {
    std::vector<translate::MapPair> moves;
    for (const translate::MapPair& pair : map.pairs()) {
        if (!tiermark::equalsIgnoringAsciiCase(pair.drawing, pair.standard)) {
            moves.push_back(pair);
        }
    }
    return moves;
}

QString q(const std::u16string& text) {
    return QString::fromStdU16String(text);
}

// The office's drawings as DXF files: the stand-in's sample drawing three times and one damaged file.
bool writeOfficeFolder(const QDir& folder) {
    const cadsim::Drawing office = cadsim::sampleDrawing();
    // The stand-in's writer takes a path in the system's code page: it writes under an ASCII name, which
    // Qt then gives the drawing's Japanese name on every platform.
    const QString written = folder.filePath(QStringLiteral("office.dxf"));
    for (const char* name : {"図面1.dxf", "図面2.dxf", "図面3.dxf"}) {
        if (!cadsim::saveDxf(office, written.toStdString()) ||
            !QFile::rename(written, folder.filePath(QString::fromUtf8(name)))) {
            return false;
        }
    }
    QFile damaged(folder.filePath(QStringLiteral("壊れた図面.dxf")));
    return damaged.open(QIODevice::WriteOnly) && damaged.write("  0\nSECTION\n  2\nHEADER\n") > 0;
}

// Step 7: the live drawing.
translate::LayerMap translateLive(TranslationRoad& road) {
    const DrawingCounts before = countsOf(road.control);
    translate::LayerMap map;
    road.dialogs.onForm(QStringLiteral("UserForm10"), [&](QDialog& form) {
        auto& window = static_cast<translate::UserForm10&>(form);
        window.CommandButton1_Click();
        settle();
        if (window.CommandButton5->isEnabled()) {
            window.CommandButton5_Click();
        }
        mapLayer(window, u"外形線", 0);
        mapLayer(window, u"寸法", 1);
        photograph(road.screenshots, window, QStringLiteral("14-translation"));
        map = window.map();
        for (const std::u16string& line : translate::summaryLines(window.summary())) {
            std::printf("   %s\n", tiermark::toUtf8(line).c_str());
        }
        road.dialogs.fileToSave = road.work.filePath(QStringLiteral("office-map.txt"));
        window.CommandButton7_Click();
        window.CommandButton8_Click();
        settle();
        window.CommandButton10_Click();
    });
    road.builder.CommandButton11_Click();
    settle();

    const DrawingCounts after = countsOf(road.control);
    std::map<std::u16string, int> expected = before.objects;
    for (const translate::MapPair& pair : movesOf(map)) {
        expected[pair.standard] += expected[pair.drawing];
        expected.erase(pair.drawing);
        road.check.expect(after.layers.count(pair.drawing) == 0 && after.layers.count(pair.standard) == 1,
                          QStringLiteral("the drawing's layer %1 became the standard layer %2")
                              .arg(q(pair.drawing), q(pair.standard)));
    }
    road.check.expect(movesOf(map).size() == 2,
                      QStringLiteral("the office layers 外形線 and 寸法 are mapped"));
    for (const auto& [layer, objects] : expected) {
        const auto found = after.objects.find(layer);
        road.check.expect(found != after.objects.end() && found->second == objects,
                          QStringLiteral("layer %1 holds %2 objects").arg(q(layer)).arg(objects));
    }
    return map;
}

// Step 8: the saved map serves a DXF drawing of the same office, and a folder of them.
void translateFiles(TranslationRoad& road, const translate::LayerMap& map) {
    QDir drawings(road.work.filePath(QStringLiteral("office-drawings")));
    drawings.removeRecursively();
    road.work.mkpath(QStringLiteral("office-drawings"));
    road.work.mkpath(QStringLiteral("standard-drawings"));
    if (!writeOfficeFolder(drawings)) {
        road.check.expect(false, QStringLiteral("the office's drawings are written as DXF files"));
        return;
    }
    const QString copy = road.work.filePath(QStringLiteral("図面1-standard.dxf"));
    QFile::remove(copy);
    translate::FolderRun folderRun;
    road.dialogs.onForm(QStringLiteral("UserForm10"), [&](QDialog& form) {
        auto& window = static_cast<translate::UserForm10&>(form);
        road.dialogs.fileToOpen = drawings.filePath(QStringLiteral("図面1.dxf"));
        window.CommandButton2_Click();
        road.dialogs.fileToOpen = road.work.filePath(QStringLiteral("office-map.txt"));
        window.CommandButton6_Click();
        road.check.expect(window.map().pairs() == map.pairs(),
                          QStringLiteral("the saved map is loaded for the next drawing"));
        road.dialogs.fileToSave = copy;
        window.CommandButton9_Click();
        road.dialogs.foldersToChoose = {road.work.filePath(QStringLiteral("standard-drawings")),
                                        drawings.path()};
        road.dialogs.fileToSave = road.work.filePath(QStringLiteral("folder-report.csv"));
        window.CommandButton12_Click();
        settle();
        photograph(road.screenshots, window, QStringLiteral("15-translation-folder"));
        folderRun = window.folderRun();
        window.CommandButton10_Click();
    });
    road.builder.CommandButton11_Click();
    settle();

    auto table = dxf::readLayerTableFile(std::filesystem::path(copy.toStdU16String()));
    bool standardOnly = table.ok();
    for (const translate::MapPair& pair : movesOf(map)) {
        for (const cadlink::DrawingLayer& layer :
             table.ok() ? table->layers : std::vector<cadlink::DrawingLayer>{}) {
            standardOnly = standardOnly && layer.name != pair.drawing;
        }
    }
    road.check.expect(standardOnly,
                      QStringLiteral("the DXF copy holds the standard layers, not the office's"));
    int written = 0;
    int failed = 0;
    for (const translate::FileOutcome& file : folderRun.files) {
        written += file.written.empty() ? 0 : 1;
        failed += file.error.empty() ? 0 : 1;
    }
    road.check.expect(folderRun.files.size() == 4 && written == 3 && failed == 1 && !folderRun.cancelled,
                      QStringLiteral("the folder's three drawings are translated and the damaged one named"));
    road.check.expect(QFile::exists(road.work.filePath(QStringLiteral("folder-report.html"))),
                      QStringLiteral("the folder's report is saved as CSV and HTML"));
}

}  // namespace

void runTranslationRoad(TranslationRoad& road) {
    say("7. \"画層の変換...\": the drawing's office layers (外形線, 寸法) mapped to standard layers and the map\n"
        "   applied to the live drawing with -RENAME and -LAYMRG; the map saved.\n");
    road.builder.show();
    settle();
    road.builder.MultiPage1->setCurrentIndex(0);
    const translate::LayerMap map = translateLive(road);

    say("8. The saved map serves the office's next drawings: a DXF copy, then a folder of DXF files.\n");
    translateFiles(road, map);
    road.builder.hide();
}

}  // namespace road
