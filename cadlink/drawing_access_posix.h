#pragma once

#include <chrono>

#include "cadlink/drawing_access.h"

namespace cadlink {

// Drawing access to a CAD stand-in over its endpoint: the window handle leads to the stand-in's process.
class PosixDrawingAccess final : public DrawingAccess {
public:
    explicit PosixDrawingAccess(std::chrono::milliseconds timeout = std::chrono::milliseconds(3000))
        : m_timeout(timeout) {}

    bool available() const override { return true; }
    tiermark::Result<std::vector<std::u16string>> layerNames(WindowHandle window) override;
    tiermark::Result<void> renameLayer(WindowHandle window, std::u16string_view oldName,
                                       std::u16string_view newName) override;
    tiermark::Result<std::vector<DrawingLayer>> layerTable(WindowHandle window) override;
    tiermark::Result<std::u16string> currentLayer(WindowHandle window) override;

private:
    std::chrono::milliseconds m_timeout;
};

}  // namespace cadlink
