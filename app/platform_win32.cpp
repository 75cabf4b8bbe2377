#include <windows.h>

#include "app/platform.h"
#include "cadlink/drawing_access_posix.h"
#include "cadlink/win32_endpoint.h"
#include "cadlink/win32_window_system.h"

namespace app {
namespace {

// AutoCAD LT gives nothing back; a CAD stand-in running on this desktop answers on its endpoint window
// (cadlink/win32_endpoint.h). The layers can be read while a stand-in is running.
class Win32DrawingAccess final : public cadlink::DrawingAccess {
public:
    bool available() const override {
        return FindWindowExW(HWND_MESSAGE, nullptr, cadlink::win32::kEndpointWindowClass, nullptr) != nullptr;
    }
    tiermark::Result<std::vector<std::u16string>> layerNames(cadlink::WindowHandle window) override {
        return m_standIns.layerNames(window);
    }
    tiermark::Result<void> renameLayer(cadlink::WindowHandle window, std::u16string_view oldName,
                                       std::u16string_view newName) override {
        return m_standIns.renameLayer(window, oldName, newName);
    }
    tiermark::Result<std::vector<cadlink::DrawingLayer>> layerTable(cadlink::WindowHandle window) override {
        return m_standIns.layerTable(window);
    }

private:
    cadlink::PosixDrawingAccess m_standIns;
};

}  // namespace

// On Windows the program meets AutoCAD LT (or the CAD stand-in) through the Win32 window system.
PlatformBackend makePlatformBackend() {
    return PlatformBackend{std::make_unique<cadlink::Win32WindowSystem>(),
                           std::make_unique<Win32DrawingAccess>()};
}

}  // namespace app
