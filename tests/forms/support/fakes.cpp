#include "tests/forms/support/fakes.h"

#include <algorithm>

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "builder/layer_names.h"
#include "cadlink/channel.h"
#include "core/program.h"
#include "tests/forms/support/sample_tables.h"

namespace testing_support {

tiermark::Result<std::unique_ptr<stddb::Database>> ScriptedWorkspace::OpenDatabase(const std::u16string& path,
                                                                                   bool, bool,
                                                                                   std::u16string_view) {
    openedPaths.push_back(path);
    if (!open) {
        return tiermark::makeError("no database");
    }
    return open(path);
}

tiermark::Result<std::vector<std::u16string>> MemoryDrawing::layerNames(cadlink::WindowHandle) {
    return layers;
}

tiermark::Result<void> MemoryDrawing::renameLayer(cadlink::WindowHandle, std::u16string_view from,
                                                  std::u16string_view to) {
    auto it = std::find(layers.begin(), layers.end(), from);
    if (it == layers.end()) {
        return tiermark::makeError("layer not found");
    }
    if (std::find(layers.begin(), layers.end(), to) != layers.end()) {
        return tiermark::makeError("既に存在します");
    }
    *it = std::u16string(to);
    renamedTo.push_back(*it);
    return {};
}

void offerCreatedLayer(core::Program& program, const std::u16string& display) {
    program.layers().created.add(
        cadlink::LayerRecord{builder::standardPart(display).value_or(display), display, u"Continuous", 7});
}

void registerSample(stddb::MemorySettingsStore& settings, ScriptedWorkspace& workspace,
                    const SampleTables& sample, std::u16string_view path) {
    EXPECT_TRUE(
        settings.SaveSetting(stddb::kSectionDatabase, stddb::kKeyDatabasePath, std::u16string(path)).ok());
    workspace.open = [&sample](const std::u16string&) -> tiermark::Result<std::unique_ptr<stddb::Database>> {
        return sample.open();
    };
}

FakeProgram::FakeProgram()
    : program(
          std::make_unique<app::Tiermark>(core::Services{windows, workspace, settings, dialogs, nullptr})) {}

FakeProgram::~FakeProgram() = default;

cadlink::WindowHandle FakeProgram::startCad(const std::string& drawing, const std::string& exe) {
    const auto pid = windows.addProcess(exe);
    const cadlink::WindowHandle main = windows.addWindow(pid, "AutoCAD LT - [" + drawing + "]");
    windows.addWindow(pid, "AutoCAD LT \xC3\xB7\xBD\xC4 \xB3\xA8\xDD\xC4\xDE\xB3 - " + drawing);
    return main;
}

std::vector<std::u16string> FakeProgram::textsSentTo(cadlink::WindowHandle window) const {
    std::vector<std::u16string> texts;
    for (const auto& sent : windows.sent) {
        if (sent.window != window) {
            continue;
        }
        // The exact text: the payload without the channel's own terminator (a text may hold NULs of its
        // own), read as UTF-16LE; a payload that is not UTF-16 with its terminator reads as empty.
        std::u16string text;
        if (cadlink::DecodeCommand(sent.bytes).ok()) {
            for (std::size_t i = 0; i + 3 < sent.bytes.size(); i += 2) {
                text.push_back(static_cast<char16_t>(sent.bytes[i] | (sent.bytes[i + 1] << 8)));
            }
        }
        texts.push_back(text);
    }
    return texts;
}

void usePrivateCadDirectory(const QString& workDirectory) {
    const QString cadDir = QDir(workDirectory).filePath(QStringLiteral("cad"));
    QDir().mkpath(cadDir);
    QFile::setPermissions(cadDir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("TIERMARK_CAD_DIR", cadDir.toLocal8Bit());
}

}  // namespace testing_support
